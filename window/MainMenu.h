#pragma once

#include <QMenuBar>
#include <vector>

class QAction;

namespace kelvane {

// The main window's menu bar, which reaches every command with its shortcut: File (Save log,
// Save results, Save report, Quit), Measure (the seven measurements, Ctrl+1 to Ctrl+7, and
// Set-up) and View (Show chart).
class MainMenu : public QMenuBar {
    Q_OBJECT

public:
    struct Commands {
        std::vector<QAction*> files;  // the file commands, in order
        QAction* quit = nullptr;
        std::vector<QAction*> measurements;  // the seven, in the buttons' order
        QAction* setup = nullptr;
        QAction* showChart = nullptr;
    };

    MainMenu(const Commands& commands, QWidget* parent);
};

}  // namespace kelvane
