#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kelvane {

// How a window asks the operator for a file to write and tells a problem with it: by default a
// save dialog and a warning box on the window; the tests put their own in.
struct FileChoice {
    // Title, suggested name, filter; empty when cancelled.
    using Chooser = std::function<QString(const QString& title, const QString& suggestion,
                                          const QString& filter)>;
    using Presenter = std::function<void(const QString& message)>;

    Chooser choose;
    Presenter present;

    // QFileDialog::getSaveFileName and QMessageBox::warning on `window`.
    static FileChoice Dialogs(QWidget* window);
};

}  // namespace kelvane
