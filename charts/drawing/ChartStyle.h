#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSize>

#include "charts/ChartModel.h"

namespace kelvane {

// The look of a chart: its fonts, sized to the area it is drawn into, and the colours of its
// tones. The colours differ in lightness as well as in hue (pass light green, fail dark red,
// limits near black), so that a chart printed in grey still tells them apart; the painter adds
// shapes and text on top of that.
class ChartStyle {
public:
    // The chart's own size in pixels: its files are drawn at it (the SVG says so, the PNG is
    // scaled up from it).
    static constexpr QSize kOwnSize{960, 600};

    // Text of 13 px in an area of the chart's own size, growing and shrinking with it, but never
    // below 12 px (640 x 400 stays legible) nor above 17 px (a maximised window).
    explicit ChartStyle(const QRectF& area);

    // The size of ordinary text in pixels: the unit of the chart's spacing.
    double Unit() const { return unit_; }
    const QFont& TitleFont() const { return title_; }
    const QFont& TextFont() const { return text_; }
    const QFont& LabelFont() const { return label_; }
    // A label of a failing element: bold, so that it stands out in grey too.
    const QFont& FailLabelFont() const { return failLabel_; }

    // Lines, outlines and the text of an element of this tone.
    static QColor Ink(ChartTone tone);
    // The inside of a bar or band of this tone.
    static QColor Fill(ChartTone tone);
    static QColor Background() { return QColor(0xff, 0xff, 0xff); }
    static QColor Text() { return QColor(0x21, 0x21, 0x21); }
    static QColor Facts() { return QColor(0x4a, 0x4a, 0x4a); }
    static QColor Grid() { return QColor(0xe3, 0xe3, 0xe3); }
    static QColor Frame() { return QColor(0x75, 0x75, 0x75); }

private:
    double unit_;
    QFont title_;
    QFont text_;
    QFont label_;
    QFont failLabel_;
};

}  // namespace kelvane
