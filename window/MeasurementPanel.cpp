#include "window/MeasurementPanel.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QResizeEvent>
#include <algorithm>
#include <string_view>

#include "measurements/MeasurementCatalog.h"
#include "window/MainWindowLayout.h"
#include "window/MeasurementButton.h"
#include "window/VerdictMark.h"
#include "window/log/ResultLog.h"
#include "window/log/StatusLine.h"

namespace kelvane {

namespace {

using namespace main_window_layout;

// One measurement button: where it stands and which measurement it starts (its caption is the
// catalog's).
struct ButtonDefinition {
    const char* objectName;
    TwipsRect place;
    const char* measurement;  // batch name in the catalog
};

// In tab order, indexed by MeasurementPanel::ButtonId.
constexpr std::array<ButtonDefinition, MeasurementPanel::kButtonCount> kButtons{{
    {"chPowerButton", kChPower, "ch-power"},
    {"obwButton", kObw, "obw"},
    {"acpButton", kAcp, "acp"},
    {"semButton", kSem, "sem"},
    {"sem11aButton", kSem11a, "sem-11a"},
    {"sem11bButton", kSem11b, "sem-11b"},
    {"totalPower11bButton", kTotalPower11b, "total-power-11b"},
}};

// A verdict mark fills the strip under its button: a pixel below it, this high.
constexpr int kMarkHeight = 14;

QRect Pixels(const TwipsRect& r) {
    return QRect(r.left / kTwipsPerPixel, r.top / kTwipsPerPixel, r.width / kTwipsPerPixel,
                 r.height / kTwipsPerPixel);
}

void Place(QWidget* widget, const TwipsRect& r) { widget->setGeometry(Pixels(r)); }

// Bold 8.25 pt in the highlight colour, in the classic dialog face where it is installed.
QLabel* MakeRowLabel(const QString& caption, const char* objectName, const TwipsRect& place,
                     QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    Place(label, place);
    QFont font = label->font();
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"))) {
        font.setFamily(QStringLiteral("MS Sans Serif"));
    }
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
    label->setPalette(palette);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

MeasurementPanel::MeasurementPanel(QWidget* parent) : QWidget(parent) {
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const ButtonDefinition& definition = kButtons[i];
        measurements_[i] = FindMeasurement(definition.measurement);
        const std::string_view caption = measurements_[i]->caption;
        auto* button = new MeasurementButton(
            QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size())), this);
        button->setObjectName(QString::fromLatin1(definition.objectName));
        Place(button, definition.place);
        buttons_[i] = button;
        marks_[i] = new VerdictMark(this);
        const QRect under = Pixels(definition.place);
        marks_[i]->setGeometry(under.left(), under.bottom() + 2, under.width(), kMarkHeight);
        const auto id = static_cast<ButtonId>(i);
        connect(button, &QPushButton::clicked, this,
                [this, id] { emit Clicked(static_cast<int>(id)); });
    }

    resultLog_ = new ResultLog(this);
    Place(resultLog_, kResultLog);

    rowLabel3gpp_ = MakeRowLabel(QStringLiteral("3GPP:"), "rowLabel3gpp", kLabel3gpp, this);
    rowLabelWlan_ = MakeRowLabel(QStringLiteral("WLAN:"), "rowLabelWlan", kLabelWlan, this);

    statusLine_ = new StatusLine(this);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    Place(statusLine_, kStatusLine);

    // Tab order: the seven buttons as on screen, row by row, then the log.
    QWidget* previous = buttons_[0];
    for (std::size_t i = 1; i < buttons_.size(); ++i) {
        setTabOrder(previous, buttons_[i]);
        previous = buttons_[i];
    }
    setTabOrder(previous, resultLog_);
    setMinimumSize(LayoutSize());
}

QSize MeasurementPanel::LayoutSize() {
    return QSize(kClientWidth / kTwipsPerPixel, kClientHeight / kTwipsPerPixel);
}

std::optional<MeasurementPanel::ButtonId> MeasurementPanel::IdOf(const QPushButton* button) const {
    const auto found = std::find(buttons_.begin(), buttons_.end(), button);
    if (found == buttons_.end()) return std::nullopt;
    return static_cast<ButtonId>(found - buttons_.begin());
}

void MeasurementPanel::SetButtonsEnabled(bool enabled) {
    for (QPushButton* button : buttons_) button->setEnabled(enabled);
}

void MeasurementPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceGrowingControls();
}

void MeasurementPanel::PlaceGrowingControls() {
    const QSize extra = (size() - LayoutSize()).expandedTo(QSize(0, 0));
    resultLog_->setGeometry(Pixels(kResultLog).adjusted(0, 0, extra.width(), extra.height()));
    statusLine_->setGeometry(
        Pixels(kStatusLine).adjusted(0, extra.height(), extra.width(), extra.height()));
}

}  // namespace kelvane
