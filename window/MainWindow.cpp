#include "window/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QResizeEvent>
#include <algorithm>
#include <utility>

#include "app/ExitStatus.h"
#include "measurements/MeasurementCatalog.h"
#include "results/VerdictText.h"
#include "window/BusMeasurements.h"
#include "window/FileCommands.h"
#include "window/MainWindowLayout.h"
#include "window/MeasurementButton.h"
#include "window/SetupDialog.h"
#include "window/chart/ChartWindow.h"
#include "window/kelvane.xpm"
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

// In tab order, indexed by MainWindow::ButtonId.
constexpr std::array<ButtonDefinition, MainWindow::kButtonCount> kButtons{{
    {"chPowerButton", kChPower, "ch-power"},
    {"obwButton", kObw, "obw"},
    {"acpButton", kAcp, "acp"},
    {"semButton", kSem, "sem"},
    {"sem11aButton", kSem11a, "sem-11a"},
    {"sem11bButton", kSem11b, "sem-11b"},
    {"totalPower11bButton", kTotalPower11b, "total-power-11b"},
}};

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

StatusLine::End StatusEnd(MeasurementOutcome outcome) {
    switch (outcome) {
    case MeasurementOutcome::Completed:
        return StatusLine::End::Done;
    case MeasurementOutcome::Warning:
        return StatusLine::End::DoneWithWarning;
    case MeasurementOutcome::Failed:
    case MeasurementOutcome::Interrupted:
        break;
    }
    return StatusLine::End::Failed;
}

}  // namespace

MainWindow::MainWindow(CaptionFor caption, BusMeasurements& bus, MainWindowOptions options,
                       QWidget* parent)
    : QWidget(parent),
      bus_(bus),
      exitAction_([](int status) { QCoreApplication::exit(status); }),
      presentMessage_([](QWidget* window, const QString& message) {
          QMessageBox::critical(window, QStringLiteral("Kelvane"), message, QMessageBox::Ok);
      }),
      caption_(std::move(caption)),
      setup_(options.setup),
      origin_(std::move(options.origin)),
      boardChoice_(options.boardChoice) {
    setWindowTitle(caption_(setup_));
    setWindowIcon(QIcon(QPixmap(kelvane_xpm)));
    const QSize layoutSize(kClientWidth / kTwipsPerPixel, kClientHeight / kTwipsPerPixel);
    resize(layoutSize);
    setMinimumSize(layoutSize);
    CreateControls();
    CreateActions();
    ConnectBus();
    resultLog_->setPlainText(QString());
    buttons_[kChPowerButton]->setFocus();
}

MainWindow::MainWindow(const QString& caption, BusMeasurements& bus, QWidget* parent)
    : MainWindow([caption](const MeasurementSetup&) { return caption; }, bus, {}, parent) {}

MainWindow::~MainWindow() = default;

QLabel* MainWindow::StatusText() const { return statusLine_; }

std::vector<MeasurementRecord> MainWindow::Records() const { return bus_.Records(); }

QPlainTextEdit* MainWindow::Log() const { return resultLog_; }

void MainWindow::CreateControls() {
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const ButtonDefinition& definition = kButtons[i];
        measurements_[i] = FindMeasurement(definition.measurement);
        const std::string_view caption = measurements_[i]->caption;
        auto* button = new kelvane::MeasurementButton(
            QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size())), this);
        button->setObjectName(QString::fromLatin1(definition.objectName));
        Place(button, definition.place);
        buttons_[i] = button;
        const auto id = static_cast<ButtonId>(i);
        connect(button, &QPushButton::clicked, this, [this, id] { StartMeasurement(id); });
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
}

void MainWindow::CreateActions() {
    setupAction_ = new QAction(QStringLiteral("Set-&up..."), this);
    setupAction_->setObjectName(QStringLiteral("setupAction"));
    setupAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    setupAction_->setShortcutContext(Qt::WindowShortcut);
    connect(setupAction_, &QAction::triggered, this, &MainWindow::EditSetup);
    addAction(setupAction_);
    files_ = new FileCommands(this, resultLog_,
                              [this](RecordFormat format) { return bus_.AllRecords(format); });
    chart_ = new ChartWindow(this);
    for (QAction* action :
         {setupAction_, files_->SaveLogAction(), files_->SaveResultsAction(), chart_->ShowAction()})
        resultLog_->AddContextAction(action);
}

void MainWindow::SetSetup(const MeasurementSetup& setup) {
    setup_ = setup;
    setWindowTitle(caption_(setup_));
}

void MainWindow::EditSetup() {
    SetupDialog dialog(setup_, origin_, boardChoice_ == BoardChoice::Selectable, this);
    if (dialog.exec() != QDialog::Accepted) return;
    origin_ = dialog.Origin();
    SetSetup(dialog.Setup());
}

void MainWindow::ConnectBus() {
    connect(&bus_, &BusMeasurements::ResultText, this, &MainWindow::AppendResult,
            Qt::QueuedConnection);
    connect(&bus_, &BusMeasurements::StepStarted, statusLine_, &StatusLine::Step,
            Qt::QueuedConnection);
    connect(&bus_, &BusMeasurements::RegistrationMessage, this,
            &MainWindow::ShowRegistrationMessage, Qt::QueuedConnection);
    connect(&bus_, &BusMeasurements::Finished, this, &MainWindow::EndMeasurement,
            Qt::QueuedConnection);
}

void MainWindow::SetExitAction(ExitAction exitAction) { exitAction_ = std::move(exitAction); }

void MainWindow::SetMessagePresenter(MessagePresenter presenter) {
    presentMessage_ = std::move(presenter);
}

void MainWindow::PlaceGrowingControls() {
    if (resultLog_ == nullptr) return;  // not created yet
    const int extraWidth = std::max(0, width() - kClientWidth / kTwipsPerPixel);
    const int extraHeight = std::max(0, height() - kClientHeight / kTwipsPerPixel);
    resultLog_->setGeometry(Pixels(kResultLog).adjusted(0, 0, extraWidth, extraHeight));
    statusLine_->setGeometry(Pixels(kStatusLine).adjusted(0, extraHeight, extraWidth, extraHeight));
}

void MainWindow::AppendResult(const QString& text) { resultLog_->AppendResult(text); }

void MainWindow::StartMeasurement(ButtonId id) {
    if (running_ != nullptr || measurements_[id] == nullptr) return;
    if (!bus_.Start(*measurements_[id], setup_, origin_)) return;
    // The measurement's texts reach the window through its event loop, so none comes before this.
    resultLog_->BeginMeasurement();
    running_ = buttons_[id];
    // Disabling the focused button would pass the focus on to the log; the window holds it
    // meanwhile instead.
    QWidget* focus = focusWidget();
    if (focus == nullptr || std::find(buttons_.begin(), buttons_.end(), focus) != buttons_.end()) {
        setFocus(Qt::OtherFocusReason);
    }
    SetButtonsEnabled(false);
    statusLine_->Begin(running_->text());
}

void MainWindow::EndMeasurement() {
    const std::optional<RunEnd> end = bus_.TakeEnd();
    if (!end || running_ == nullptr) return;
    QPushButton* clicked = std::exchange(running_, nullptr);
    resultLog_->EndMeasurement();

    if (end->registrationFailed) {
        // The message has been shown; the program ends without another driver call.
        closePending_ = false;
        close();
        exitAction_(kExitRegistrationFailure);
        return;
    }
    const MeasurementOutcome outcome = end->record.result.outcome;
    // "failed" says that it is incomplete; a failed run with a value outside its limit says so.
    const bool incompleteFailure = outcome == MeasurementOutcome::Failed &&
                                   end->record.judgement.verdict == Verdict::Incomplete;
    statusLine_->Finish(
        StatusEnd(outcome),
        incompleteFailure ? QString() : QString::fromStdString(VerdictText(end->record.judgement)));
    if (!end->fileFailures.empty())
        statusLine_->setText(statusLine_->text() + QStringLiteral(", record not written"));
    for (const std::string& failure : end->fileFailures) {
        QString message = QString::fromStdString(failure) + QLatin1Char('.');
        message[0] = message[0].toUpper();
        files_->Present(message);
    }
    chart_->Follow(end->record, clicked->text());
    SetButtonsEnabled(true);
    // Give the focus back to the button unless the operator has moved it since.
    if (focusWidget() == this || focusWidget() == nullptr) clicked->setFocus(Qt::OtherFocusReason);
    emit MeasurementEnded();
    if (closePending_) {
        closePending_ = false;
        close();
    }
}

void MainWindow::ShowRegistrationMessage(const QString& message) {
    presentMessage_(this, message);
    bus_.MessageShown();
}

void MainWindow::SetButtonsEnabled(bool enabled) {
    for (QPushButton* button : buttons_) button->setEnabled(enabled);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The focus frame shows from the start, not only after the first Tab (showing the window
    // resets this).
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceGrowingControls();
}

bool MainWindow::focusNextPrevChild(bool next) {
    if (running_ != nullptr && focusWidget() == this) return true;
    return QWidget::focusNextPrevChild(next);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (running_ != nullptr) {
        closePending_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace kelvane
