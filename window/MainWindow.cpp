#include "window/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>
#include <utility>

#include "app/ExitStatus.h"
#include "app/MeasurementRunner.h"
#include "measurements/MeasurementCatalog.h"
#include "results/VerdictText.h"
#include "window/BusMeasurements.h"
#include "window/FileCommands.h"
#include "window/MainMenu.h"
#include "window/SetupDialog.h"
#include "window/VerdictMark.h"
#include "window/chart/ChartWindow.h"
#include "window/kelvane.xpm"
#include "window/log/ResultLog.h"
#include "window/log/StatusLine.h"

namespace kelvane {

namespace {

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

QString Caption(const CatalogEntry& entry) {
    return QString::fromLatin1(entry.caption.data(), static_cast<qsizetype>(entry.caption.size()));
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
    panel_ = new MeasurementPanel(this);
    connect(panel_, &MeasurementPanel::Clicked, this,
            [this](int index) { StartMeasurement(static_cast<ButtonId>(index)); });
    CreateActions();
    const QSize size = MeasurementPanel::LayoutSize() + QSize(0, menu_->sizeHint().height());
    resize(size);
    setMinimumSize(size);
    ConnectBus();
    panel_->Log()->setPlainText(QString());
    panel_->Button(kChPowerButton)->setFocus();
}

MainWindow::MainWindow(const QString& caption, BusMeasurements& bus, QWidget* parent)
    : MainWindow([caption](const MeasurementSetup&) { return caption; }, bus, {}, parent) {}

MainWindow::~MainWindow() = default;

std::vector<MeasurementRecord> MainWindow::Records() const { return bus_.Records(); }
QPushButton* MainWindow::Button(ButtonId id) const { return panel_->Button(id); }
VerdictMark* MainWindow::Mark(ButtonId id) const { return panel_->Mark(id); }
QPlainTextEdit* MainWindow::Log() const { return panel_->Log(); }
StatusLine* MainWindow::StatusText() const { return panel_->Status(); }
QLabel* MainWindow::RowLabel3gpp() const { return panel_->RowLabel3gpp(); }
QLabel* MainWindow::RowLabelWlan() const { return panel_->RowLabelWlan(); }

void MainWindow::CreateActions() {
    const auto windowAction = [this](const QString& text, const char* name, QKeySequence keys) {
        auto* action = new QAction(text, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        return action;
    };
    setupAction_ = windowAction(QStringLiteral("Set-&up..."), "setupAction", Qt::CTRL | Qt::Key_E);
    connect(setupAction_, &QAction::triggered, this, &MainWindow::EditSetup);
    quitAction_ = windowAction(QStringLiteral("&Quit"), "quitAction", Qt::CTRL | Qt::Key_Q);
    connect(quitAction_, &QAction::triggered, this, &QWidget::close);
    for (std::size_t i = 0; i < measureActions_.size(); ++i) {
        const auto id = static_cast<ButtonId>(i);
        const QKeySequence keys(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + static_cast<int>(i)));
        measureActions_[i] = windowAction(Caption(panel_->Measurement(id)), "measureAction", keys);
        connect(measureActions_[i], &QAction::triggered, this,
                [this, id] { StartMeasurement(id); });
    }
    files_ = new FileCommands(this, panel_->Log(), [this] { return bus_.Records(); });
    chart_ = new ChartWindow(this);
    for (QAction* action : {setupAction_, files_->SaveLogAction(), files_->SaveResultsAction(),
                            files_->SaveReportAction(), chart_->ShowAction()})
        panel_->Log()->AddContextAction(action);
    MainMenu::Commands commands;
    commands.files = {files_->SaveLogAction(), files_->SaveResultsAction(),
                      files_->SaveReportAction(), files_->SaveSessionReportAction()};
    commands.quit = quitAction_;
    commands.measurements.assign(measureActions_.begin(), measureActions_.end());
    commands.setup = setupAction_;
    commands.showChart = chart_->ShowAction();
    menu_ = new MainMenu(commands, this);
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
    connect(&bus_, &BusMeasurements::StepStarted, panel_->Status(), &StatusLine::Step,
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

void MainWindow::AppendResult(const QString& text) { panel_->Log()->AppendResult(text); }

void MainWindow::StartMeasurement(ButtonId id) {
    if (running_) return;
    if (!bus_.Start(panel_->Measurement(id), setup_, origin_)) return;
    // The measurement's texts reach the window through its event loop, so none comes before this.
    panel_->Log()->BeginMeasurement();
    running_ = id;
    // Disabling the focused button would pass the focus on to the log; the window holds it
    // meanwhile instead.
    QWidget* focus = focusWidget();
    if (focus == nullptr || panel_->IdOf(qobject_cast<QPushButton*>(focus))) {
        setFocus(Qt::OtherFocusReason);
    }
    SetMeasurementsEnabled(false);
    panel_->Mark(id)->Clear();
    panel_->Status()->Begin(panel_->Button(id)->text());
}

void MainWindow::EndMeasurement() {
    const std::optional<RunEnd> end = bus_.TakeEnd();
    if (!end || !running_) return;
    const ButtonId id = *std::exchange(running_, std::nullopt);
    panel_->Log()->EndMeasurement();

    if (end->registrationFailed) {
        // The message has been shown; the program ends without another driver call.
        closePending_ = false;
        close();
        exitAction_(kExitRegistrationFailure);
        return;
    }
    ShowEnd(id, *end);
    QPushButton* clicked = panel_->Button(id);
    chart_->Follow(end->record, clicked->text());
    SetMeasurementsEnabled(true);
    // Give the focus back to the button unless the operator has moved it since.
    if (focusWidget() == this || focusWidget() == nullptr) clicked->setFocus(Qt::OtherFocusReason);
    emit MeasurementEnded();
    if (closePending_) {
        closePending_ = false;
        close();
    }
}

void MainWindow::ShowEnd(ButtonId id, const RunEnd& end) {
    const MeasurementRecord& record = end.record;
    const Verdict verdict = record.judgement.verdict;
    const QString verdictText = QString::fromStdString(VerdictText(record.judgement));
    // "failed" says that it is incomplete; a failed run with a value outside its limit says so.
    const bool incompleteFailure =
        record.result.outcome == MeasurementOutcome::Failed && verdict == Verdict::Incomplete;
    StatusLine* status = panel_->Status();
    status->Finish(StatusEnd(record.result.outcome), incompleteFailure ? QString() : verdictText,
                   verdict);
    QString more;
    if (!record.setup.pathLoss.IsNone()) more += QStringLiteral(", levels at the DUT");
    if (!end.fileFailures.empty()) more += QStringLiteral(", record not written");
    for (const std::string& notice : end.notices)
        more += QStringLiteral("; ") + QString::fromStdString(notice);
    if (!more.isEmpty()) status->Append(more);
    panel_->Mark(id)->ShowVerdict(verdict, verdictText);
    for (const std::string& failure : end.fileFailures) {
        QString message = QString::fromStdString(failure) + QLatin1Char('.');
        message[0] = message[0].toUpper();
        files_->Present(message);
    }
}

void MainWindow::ShowRegistrationMessage(const QString& message) {
    presentMessage_(this, message);
    bus_.MessageShown();
}

void MainWindow::SetMeasurementsEnabled(bool enabled) {
    panel_->SetButtonsEnabled(enabled);
    for (QAction* action : measureActions_) action->setEnabled(enabled);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The focus frame shows from the start, not only after the first Tab (showing the window
    // resets this).
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int menuHeight = menu_->sizeHint().height();
    menu_->setGeometry(0, 0, width(), menuHeight);
    panel_->setGeometry(0, menuHeight, width(), height() - menuHeight);
}

bool MainWindow::focusNextPrevChild(bool next) {
    if (running_ && focusWidget() == this) return true;
    return QWidget::focusNextPrevChild(next);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (running_) {
        closePending_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace kelvane
