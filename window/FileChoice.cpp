#include "window/FileChoice.h"

#include <QFileDialog>
#include <QMessageBox>

namespace kelvane {

FileChoice FileChoice::Dialogs(QWidget* window) {
    return {[window](const QString& title, const QString& suggestion, const QString& filter) {
                return QFileDialog::getSaveFileName(window, title, suggestion, filter);
            },
            [window](const QString& message) {
                QMessageBox::warning(window, QStringLiteral("Kelvane"), message, QMessageBox::Ok);
            }};
}

}  // namespace kelvane
