#include "window/log/VerdictLook.h"

namespace kelvane {

namespace {

struct Look {
    const char* words;
    const char* ink;     // the words on the window's background; none: the widget's own
    const char* mark;    // a mark's colours: its words, its background, its border
    const char* weight;  // the words' weight and slant
};

Look LookOf(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return {"PASS", "#1b5e20",
                "color: #1b5e20; background: #e3f2e4; border: 1px solid #2e7d32;",
                "font-weight: 600;"};
    case Verdict::Fail:
        return {"FAIL", "#b71c1c",
                "color: #ffffff; background: #b71c1c; border: 1px solid #7f0000;",
                "font-weight: 800;"};
    case Verdict::Incomplete:
        return {"INCOMPLETE", "#7a4f00",
                "color: #000000; background: #f9a825; border: 1px solid #8d6e00;",
                "font-weight: 700; font-style: italic;"};
    case Verdict::None:
        break;
    }
    return {"no limit", nullptr, "color: #505050; border: 1px solid #9e9e9e;", "font-weight: 400;"};
}

}  // namespace

QString VerdictLook::Words(Verdict verdict) { return QString::fromLatin1(LookOf(verdict).words); }

QString VerdictLook::MarkStyle(Verdict verdict) {
    const Look look = LookOf(verdict);
    return QStringLiteral("%1 %2").arg(QLatin1String(look.mark), QLatin1String(look.weight));
}

QString VerdictLook::TextStyle(Verdict verdict) {
    const Look look = LookOf(verdict);
    if (look.ink == nullptr) return QString();
    return QStringLiteral("color: %1; %2").arg(QLatin1String(look.ink), QLatin1String(look.weight));
}

}  // namespace kelvane
