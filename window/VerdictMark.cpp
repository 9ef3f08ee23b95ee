#include "window/VerdictMark.h"

namespace kelvane {

namespace {

// Colour, background and weight per verdict; the border keeps a light mark visible on a light
// window.
QString StyleOf(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return QStringLiteral(
            "color: #1b5e20; background: #e3f2e4; border: 1px solid #2e7d32;"
            " font-weight: 600;");
    case Verdict::Fail:
        return QStringLiteral(
            "color: #ffffff; background: #b71c1c; border: 1px solid #7f0000;"
            " font-weight: 800;");
    case Verdict::Incomplete:
        return QStringLiteral(
            "color: #000000; background: #f9a825; border: 1px solid #8d6e00;"
            " font-weight: 700; font-style: italic;");
    case Verdict::None:
        break;
    }
    return QStringLiteral("color: #505050; border: 1px solid #9e9e9e; font-weight: 400;");
}

}  // namespace

VerdictMark::VerdictMark(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setTextFormat(Qt::PlainText);
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);
    Clear();
}

QString VerdictMark::Words(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return QStringLiteral("PASS");
    case Verdict::Fail:
        return QStringLiteral("FAIL");
    case Verdict::Incomplete:
        return QStringLiteral("INCOMPLETE");
    case Verdict::None:
        break;
    }
    return QStringLiteral("no limit");
}

void VerdictMark::ShowVerdict(Verdict verdict, const QString& detail) {
    setText(Words(verdict));
    setStyleSheet(QStringLiteral("QLabel { border-radius: 3px; %1 }").arg(StyleOf(verdict)));
    setToolTip(detail.isEmpty() ? Words(verdict) : detail);
    show();
}

void VerdictMark::Clear() {
    setText(QString());
    setToolTip(QString());
    hide();
}

}  // namespace kelvane
