#include "window/DisplayFailureGuard.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

#include "app/ExitStatus.h"

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
    // Qt says first that the display did not answer; any other failure to bring the platform
    // up (a plugin or library missing) keeps Qt's own words, in one line.
    const bool displayUnreachable =
        HeldMessages().filter(QStringLiteral("could not connect to display")).size() > 0;
    const QString reason =
        displayUnreachable
            ? QStringLiteral("cannot open the display \"%1\"").arg(DisplayName())
            : QStringLiteral("cannot start the window (%1)").arg(message.simplified().left(300));
    const QString text =
        QStringLiteral("kelvane: %1; use --measure NAME to run without a window\n").arg(reason);
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
