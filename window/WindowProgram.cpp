#include "window/WindowProgram.h"

#include <QApplication>
#include <QMessageBox>
#include <optional>
#include <string>

#include "bus/AnalyzerSession.h"
#include "bus/GpibBinding.h"
#include "bus/SteadyClock.h"
#include "window/DriverChoice.h"
#include "window/Form1.h"

namespace kelvane {

int WindowProgram::Run(int& argc, char** argv, DriverSetup setup, const std::string& caption) {
    QApplication application(argc, argv);
    SteadyClock clock;
    Form1* window = nullptr;
    GpibBinding binding(MakeDriverFactory(setup, clock), [&window](const std::string& message) {
        QMessageBox::critical(window, QStringLiteral("Kelvane"), QString::fromLocal8Bit(message),
                              QMessageBox::Ok);
    });
    AnalyzerSession session(binding);
    Form1 form(session, clock, setup.simulate);
    form.setWindowTitle(QString::fromStdString(caption));
    window = &form;

    // Closing the window would otherwise let the event loop report 0.
    std::optional<int> exitStatus;
    form.SetExitAction([&exitStatus](int status) {
        exitStatus = status;
        QCoreApplication::exit(status);
    });
    form.show();
    const int loopStatus = QApplication::exec();
    return exitStatus.value_or(loopStatus);
}

}  // namespace kelvane
