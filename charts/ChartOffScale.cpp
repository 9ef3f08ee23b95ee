#include "charts/ChartOffScale.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <utility>

#include "charts/ChartBox.h"

namespace kelvane {

namespace {

constexpr double kFarthest = 1e300;

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// The axes' ends.
ChartBox BoxOf(const ChartModel& model) {
    return {std::min(model.x.min, model.x.max), std::max(model.x.min, model.x.max),
            std::min(model.y.min, model.y.max), std::max(model.y.min, model.y.max)};
}

// The part of the straight line from a to b inside the box, none where it misses it.
std::optional<std::pair<ChartPoint, ChartPoint>> Clip(const ChartPoint& a, const ChartPoint& b,
                                                      const ChartBox& box) {
    // A line along an axis is cut exactly, whatever the size of its ends.
    if (a.y == b.y || a.x == b.x) {
        const bool horizontal = a.y == b.y;
        const double across = horizontal ? a.y : a.x;
        const double low = horizontal ? box.yMin : box.xMin;
        const double high = horizontal ? box.yMax : box.xMax;
        const double from = horizontal ? a.x : a.y;
        const double to = horizontal ? b.x : b.y;
        const double first = horizontal ? box.xMin : box.yMin;
        const double last = horizontal ? box.xMax : box.yMax;
        if (across < low || across > high || std::max(from, to) < first ||
            std::min(from, to) > last)
            return std::nullopt;
        const auto at = [&](double along, const ChartPoint& end) {
            if (first <= along && along <= last) return end;
            const double cut = std::clamp(along, first, last);
            return horizontal ? ChartPoint{cut, across} : ChartPoint{across, cut};
        };
        return std::pair{at(from, a), at(to, b)};
    }
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    if (!AllFinite({dx, dy})) return std::nullopt;  // AddCutLine keeps the ends apart
    const auto inside = box.Inside(a, {dx, dy});
    if (!inside) return std::nullopt;
    // The ends that lie inside stay exactly as they were; cut ends are held on the box against
    // rounding.
    const auto at = [&](double t, const ChartPoint& end) {
        if (t == 0) return a;
        if (t == 1) return end;
        return ChartPoint{box.ClampX(a.x + t * dx), box.ClampY(a.y + t * dy)};
    };
    return std::pair{at(inside->first, a), at(inside->second, b)};
}

// A line cut into the parts of it inside the box.
void AddCutLine(const ChartPolyline& line, const ChartBox& box, std::vector<ChartPolyline>& lines) {
    std::vector<ChartPoint> points = line.points;
    std::erase_if(points, [](const ChartPoint& p) { return !AllFinite({p.x, p.y}); });
    // Beyond +-1e300 a point is taken at +-1e300, so that the difference of two stays a number.
    for (ChartPoint& point : points) {
        point.x = std::clamp(point.x, -kFarthest, kFarthest);
        point.y = std::clamp(point.y, -kFarthest, kFarthest);
    }
    ChartPolyline part = line;
    part.points.clear();
    const auto finishPart = [&] {
        if (part.points.size() >= 2) {
            lines.push_back(part);
            part.label.clear();  // only the first part carries it
        }
        part.points.clear();
    };
    for (std::size_t i = 1; i < points.size(); ++i) {
        const auto inside = Clip(points[i - 1], points[i], box);
        if (!inside) {
            finishPart();
            continue;
        }
        if (!part.points.empty() && part.points.back() != inside->first) finishPart();
        if (part.points.empty()) part.points.push_back(inside->first);
        part.points.push_back(inside->second);
    }
    finishPart();
}

// Cuts x1 to x2 at the box's sides, marking the ends cut; a stretch wholly beyond a side
// shrinks to that side.
void CutStretch(double& x1, double& x2, bool& openLeft, bool& openRight, const ChartBox& box) {
    if (x1 > x2) std::swap(x1, x2);
    openLeft = openLeft || (x1 < box.xMin && x2 >= box.xMin);
    openRight = openRight || (x2 > box.xMax && x1 <= box.xMax);
    if (x2 < box.xMin) openLeft = true;
    if (x1 > box.xMax) openRight = true;
    x1 = box.ClampX(x1);
    x2 = box.ClampX(x2);
}

// Keeps the elements that `fit` fitted into the axes (it returns true), in their order, and
// leaves out those it returns false for.
template <typename Element, typename Fit>
void KeepFitted(std::vector<Element>& elements, const Fit& fit) {
    std::vector<Element> kept;
    for (Element element : elements)
        if (fit(element)) kept.push_back(std::move(element));
    elements = std::move(kept);
}

}  // namespace

int OffScaleSide(const ChartAxis& axis, double value) {
    if (value < std::min(axis.min, axis.max)) return -1;
    if (value > std::max(axis.min, axis.max)) return 1;
    return 0;
}

ChartOffScale OffScaleOf(const ChartAxis& x, const ChartAxis& y, const ChartPoint& point) {
    return {OffScaleSide(x, point.x), OffScaleSide(y, point.y)};
}

void FitIntoAxes(ChartModel& model) {
    const ChartBox box = BoxOf(model);
    if (!AllFinite({box.xMin, box.xMax, box.yMin, box.yMax})) return;

    KeepFitted(model.bands, [&](ChartBand& band) {
        if (!AllFinite({band.x1, band.x2, band.y1, band.y2})) return false;
        CutStretch(band.x1, band.x2, band.openLeft, band.openRight, box);
        if (band.y1 > band.y2) std::swap(band.y1, band.y2);
        band.y1 = box.ClampY(band.y1);
        band.y2 = box.ClampY(band.y2);
        return true;
    });
    KeepFitted(model.bars, [&](ChartBar& bar) {
        if (!AllFinite({bar.x, bar.width, bar.top})) return false;
        const double half = std::abs(bar.width) / 2;
        if (bar.x + half < box.xMin || bar.x - half > box.xMax) return false;
        const double left = box.ClampX(bar.x - half);
        const double right = box.ClampX(bar.x + half);
        bar.x = (left + right) / 2;
        bar.width = right - left;
        if (const int side = OffScaleSide(model.y, bar.top); side != 0) bar.offScale = side;
        bar.top = box.ClampY(bar.top);
        return true;
    });
    KeepFitted(model.spans, [&](ChartSpan& span) {
        if (!AllFinite({span.x1, span.x2, span.y})) return false;
        CutStretch(span.x1, span.x2, span.openLeft, span.openRight, box);
        span.y = box.ClampY(span.y);
        return true;
    });

    std::vector<ChartPolyline> lines;
    for (const ChartPolyline& line : model.lines) AddCutLine(line, box, lines);
    model.lines = std::move(lines);

    KeepFitted(model.markers, [&](ChartMarker& marker) {
        if (!AllFinite({marker.at.x, marker.at.y})) return false;
        const ChartOffScale side = OffScaleOf(model.x, model.y, marker.at);
        if (side.x != 0) marker.offScale.x = side.x;
        if (side.y != 0) marker.offScale.y = side.y;
        marker.at = {box.ClampX(marker.at.x), box.ClampY(marker.at.y)};
        return true;
    });
}

}  // namespace kelvane
