#pragma once

#include <string>

#include "charts/ChartModel.h"
#include "charts/drawing/output/OffscreenApplication.h"

namespace kelvane {

// A chart as SVG text to stand inside an HTML page (the report): drawn by ChartPainter at the
// chart's own size, 960 x 600, through QSvgGenerator; without the XML prolog; with the fixed
// viewBox "0 0 960 600" and no width or height of its own, so that the page gives it its width
// and the height follows; its title and facts as <title> and <desc>. Every text in it is escaped
// and holds no control character, so nothing of a record's text can become markup of the page.
// Empty when the chart could not be drawn.
//
// Drawing text needs a QGuiApplication for its fonts. Text() uses the program's; a ChartSvg
// object makes one on Qt's offscreen platform at its first use where the program has none (the
// batch program), so that no display is needed, and keeps it for its life. Use it on the
// program's main thread, and keep no other QCoreApplication beside it.
class ChartSvg {
public:
    // Text(), once there is an application.
    std::string operator()(const ChartModel& model);

    // The SVG text, in a program that has its QGuiApplication (the window).
    static std::string Text(const ChartModel& model);

private:
    OffscreenApplication application_;
};

}  // namespace kelvane
