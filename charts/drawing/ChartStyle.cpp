#include "charts/drawing/ChartStyle.h"

#include <algorithm>
#include <cmath>

namespace kelvane {

namespace {

constexpr double kUnitAtOwnSize = 13;
constexpr double kSmallestUnit = 12;
constexpr double kLargestUnit = 17;

// The generic family by its CSS name: fontconfig finds the system's sans-serif face for it, and
// an SVG viewer elsewhere its own.
QFont SansSerif(double pixels, QFont::Weight weight) {
    QFont font(QStringLiteral("sans-serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setWeight(weight);
    return font;
}

}  // namespace

ChartStyle::ChartStyle(const QRectF& area)
    : unit_(std::clamp(kUnitAtOwnSize * std::min(area.width() / kOwnSize.width(),
                                                 area.height() / kOwnSize.height()),
                       kSmallestUnit, kLargestUnit)),
      title_(SansSerif(unit_ * 1.3, QFont::Bold)),
      text_(SansSerif(unit_, QFont::Normal)),
      label_(SansSerif(unit_ * 0.92, QFont::Normal)),
      failLabel_(SansSerif(unit_ * 0.92, QFont::Bold)) {}

QColor ChartStyle::Ink(ChartTone tone) {
    switch (tone) {
    case ChartTone::Neutral:
        return QColor(0x15, 0x65, 0xc0);  // blue, mid grey
    case ChartTone::Limit:
        return QColor(0x21, 0x21, 0x21);  // near black
    case ChartTone::Pass:
        return QColor(0x2e, 0x7d, 0x32);  // green
    case ChartTone::Fail:
        return QColor(0xb7, 0x1c, 0x1c);  // dark red
    }
    return Text();
}

QColor ChartStyle::Fill(ChartTone tone) {
    switch (tone) {
    case ChartTone::Neutral:
        return QColor(0xbb, 0xde, 0xfb);  // light blue
    case ChartTone::Limit:
        return QColor(0xee, 0xee, 0xee);  // light grey
    case ChartTone::Pass:
        return QColor(0xc8, 0xe6, 0xc9);  // light green
    case ChartTone::Fail:
        return QColor(0xef, 0x9a, 0x9a);  // red, darker than the others in grey; also hatched
    }
    return Background();
}

}  // namespace kelvane
