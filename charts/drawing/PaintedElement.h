#pragma once

#include <QRectF>
#include <QString>

namespace kelvane {

// What the chart's painter drew inside the plot, one entry per shape or text, with the box it
// covers (device coordinates, without the pen's width): so that the drawing can be checked for
// staying inside the plot and for labels clear of each other and of what they describe.
struct PaintedElement {
    enum class Kind {
        Band,      // the occupied band's box
        Bar,       // a channel's bar
        Span,      // a bracket
        Line,      // a limit line (the part inside the plot)
        Marker,    // a dot or a cross
        OffScale,  // the chevron of a value beyond the axes
        Label,     // a label's backing with its text
        Leader,    // the thin line from a label that had to move to its point
    };
    Kind kind = Kind::Label;
    QRectF box;
    QString text;  // a label's
};

}  // namespace kelvane
