#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "charts/ChartModel.h"

class QPaintEvent;

namespace kelvane {

// Shows the chart of the newest measurement, drawn by ChartPainter over the whole widget, or,
// for a measurement without a chart (channel power, total power, one that logged no value), its
// text: the first line large ("CH Power: -10.22 dBm"), any further lines (a failure or warning
// line) below it in ordinary size. Before the first measurement it says that the chart comes.
class ChartView : public QWidget {
public:
    explicit ChartView(QWidget* parent);

    void ShowChart(const ChartModel& model);
    void ShowValue(const QString& text);

    // The chart shown, none while a value (or nothing yet) is shown.
    const std::optional<ChartModel>& Model() const { return model_; }
    const QString& ValueText() const { return valueText_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintText(QPainter& painter) const;

    std::optional<ChartModel> model_;
    QString valueText_;
};

}  // namespace kelvane
