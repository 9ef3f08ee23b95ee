#include "window/DisplayFailureGuard.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

#include "window/ExitStatus.h"

namespace kelvane {

namespace {

// Qt's message handler is a plain function, so what it holds back has to live here; only the
// guard, on the thread that creates the QApplication, uses it.
QStringList& HeldMessages() {
    static QStringList messages;
    return messages;
}

QString DisplayName() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) return value;
    }
    return QString();
}

void HoldOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        HeldMessages().append(qFormatLogMessage(type, context, message));
        return;
    }
    const QString text = QStringLiteral(
                             "kelvane: cannot open the display \"%1\"; use --measure NAME to run "
                             "without a window\n")
                             .arg(DisplayName());
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    std::_Exit(kExitUsage);
}

}  // namespace

DisplayFailureGuard::DisplayFailureGuard() { qInstallMessageHandler(HoldOrEnd); }

DisplayFailureGuard::~DisplayFailureGuard() {
    qInstallMessageHandler(nullptr);
    for (const QString& message : HeldMessages()) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
    HeldMessages().clear();
}

}  // namespace kelvane
