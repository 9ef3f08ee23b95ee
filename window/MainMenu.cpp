#include "window/MainMenu.h"

#include <QAction>
#include <QMenu>

namespace kelvane {

MainMenu::MainMenu(const Commands& commands, QWidget* parent) : QMenuBar(parent) {
    setObjectName(QStringLiteral("mainMenu"));
    QMenu* file = addMenu(QStringLiteral("&File"));
    for (QAction* action : commands.files) file->addAction(action);
    file->addSeparator();
    file->addAction(commands.quit);
    QMenu* measure = addMenu(QStringLiteral("&Measure"));
    for (QAction* action : commands.measurements) measure->addAction(action);
    measure->addSeparator();
    measure->addAction(commands.setup);
    QMenu* view = addMenu(QStringLiteral("&View"));
    view->addAction(commands.showChart);
}

}  // namespace kelvane
