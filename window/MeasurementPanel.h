#pragma once

#include <QWidget>
#include <array>
#include <cstddef>
#include <optional>

class QLabel;
class QPushButton;
class QResizeEvent;

namespace kelvane {

class ResultLog;
class StatusLine;
class VerdictMark;
struct CatalogEntry;

// The main window's client area, laid out as it has always been: the seven measurement buttons
// in two rows with their row labels, the result log and the status line below it; under each
// button the mark of its measurement's last verdict. It opens at its layout's size, which is
// also its smallest; room beyond it goes to the log, and the status line stays below the log.
class MeasurementPanel : public QWidget {
    Q_OBJECT

public:
    // The buttons in tab order (also the order of the catalog).
    enum ButtonId : std::size_t {
        kChPowerButton,
        kObwButton,
        kAcpButton,
        kSemButton,
        kSem11aButton,
        kSem11bButton,
        kTotalPower11bButton,
        kButtonCount
    };

    explicit MeasurementPanel(QWidget* parent = nullptr);

    // The layout's size: 560 x 308 pixels.
    static QSize LayoutSize();

    QPushButton* Button(ButtonId id) const { return buttons_.at(id); }
    VerdictMark* Mark(ButtonId id) const { return marks_.at(id); }
    // The catalog entry the button starts.
    const CatalogEntry& Measurement(ButtonId id) const { return *measurements_.at(id); }
    ResultLog* Log() const { return resultLog_; }
    StatusLine* Status() const { return statusLine_; }
    QLabel* RowLabel3gpp() const { return rowLabel3gpp_; }
    QLabel* RowLabelWlan() const { return rowLabelWlan_; }
    // The button of a measurement that is running, or none.
    std::optional<ButtonId> IdOf(const QPushButton* button) const;

    void SetButtonsEnabled(bool enabled);

signals:
    // A button was clicked; index: its ButtonId.
    void Clicked(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceGrowingControls();

    std::array<QPushButton*, kButtonCount> buttons_{};
    std::array<VerdictMark*, kButtonCount> marks_{};
    std::array<const CatalogEntry*, kButtonCount> measurements_{};
    ResultLog* resultLog_ = nullptr;
    StatusLine* statusLine_ = nullptr;
    QLabel* rowLabel3gpp_ = nullptr;
    QLabel* rowLabelWlan_ = nullptr;
};

}  // namespace kelvane
