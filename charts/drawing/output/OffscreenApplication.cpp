#include "charts/drawing/output/OffscreenApplication.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <cstdio>

namespace kelvane {

namespace {

// Qt's notes about a desktop session that a batch run does not have (no runtime folder of the
// user's, as under a service account) are no concern of the batch: its standard error says only
// what the operator must know.
void WithoutSessionNotes(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths: "))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

OffscreenApplication::OffscreenApplication() {
    for (std::size_t i = 0; i < arguments_.size(); ++i) argv_[i] = arguments_[i].data();
}

OffscreenApplication::~OffscreenApplication() = default;

void OffscreenApplication::MakeSure() {
    if (QCoreApplication::instance() != nullptr) return;
    qInstallMessageHandler(WithoutSessionNotes);
    application_ = std::make_unique<QGuiApplication>(argc_, argv_.data());
}

}  // namespace kelvane
