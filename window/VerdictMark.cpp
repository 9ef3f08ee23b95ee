#include "window/VerdictMark.h"

#include "window/log/VerdictLook.h"

namespace kelvane {

VerdictMark::VerdictMark(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setTextFormat(Qt::PlainText);
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);
    Clear();
}

void VerdictMark::ShowVerdict(Verdict verdict, const QString& detail) {
    // The border keeps a light mark visible on a light window.
    setText(VerdictLook::Words(verdict));
    setStyleSheet(
        QStringLiteral("QLabel { border-radius: 3px; %1 }").arg(VerdictLook::MarkStyle(verdict)));
    setToolTip(detail.isEmpty() ? VerdictLook::Words(verdict) : detail);
    show();
}

void VerdictMark::Clear() {
    setText(QString());
    setToolTip(QString());
    hide();
}

}  // namespace kelvane
