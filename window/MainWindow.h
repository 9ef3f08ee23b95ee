#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "measurements/MeasurementSetup.h"
#include "results/MeasurementRecord.h"
#include "results/RecordOrigin.h"
#include "window/MeasurementPanel.h"

class QAction;
class QCloseEvent;
class QResizeEvent;
class QShowEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kelvane {

class BusMeasurements;
class ChartWindow;
class FileCommands;
class MainMenu;
class StatusLine;
class VerdictMark;
struct RunEnd;

// What the main window starts with.
struct MainWindowOptions {
    // How the set-up dialog treats the board index: an adapter has none to choose.
    enum class BoardChoice { Selectable, Fixed };

    MeasurementSetup setup;  // until the set-up dialog changes it
    BoardChoice boardChoice = BoardChoice::Selectable;
    RecordOrigin origin = {};  // DUT and operator until the dialog changes them; the station
};

// The program's only window: a menu bar, and below it the measurement panel as the window has
// always been: seven measurement buttons with the marks of their last verdicts, two row labels,
// the result log and the status line below it. A click (or its menu entry, Ctrl+1 to Ctrl+7)
// starts its measurement on the bus thread and returns at once; the window stays responsive
// while the measurement runs. From the click to the measurement's end the seven buttons and
// their menu entries are disabled, and the focus waits in the window, not in the log, so that
// typing cannot reach the log unless the operator clicks into it. The window opens at its
// layout's size, which is also its smallest; room beyond it goes to the log.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Called with the exit status when the program must end (registration failure).
    using ExitAction = std::function<void(int status)>;
    // Shows the registration failure message modally, on the window thread.
    using MessagePresenter = std::function<void(QWidget* parent, const QString& message)>;

    // The buttons in tab order (also the order of the catalog).
    using ButtonId = MeasurementPanel::ButtonId;
    using enum MeasurementPanel::ButtonId;

    // The title bar text for a set-up (WindowCaption).
    using CaptionFor = std::function<QString(const MeasurementSetup& setup)>;

    using BoardChoice = MainWindowOptions::BoardChoice;

    // `bus` must outlive the window.
    MainWindow(CaptionFor caption, BusMeasurements& bus, MainWindowOptions options = {},
               QWidget* parent = nullptr);
    // A window whose caption stays as given.
    MainWindow(const QString& caption, BusMeasurements& bus, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Replaces the default, QCoreApplication::exit.
    void SetExitAction(ExitAction exitAction);
    // Replaces the default, a critical QMessageBox.
    void SetMessagePresenter(MessagePresenter presenter);

    // Writes a text of the running measurement into the log (see ResultLog).
    void AppendResult(const QString& text);

    // The set-up of the next measurement.
    const MeasurementSetup& Setup() const { return setup_; }
    void SetSetup(const MeasurementSetup& setup);
    // Whose the next measurement is: DUT, operator and station.
    const RecordOrigin& Origin() const { return origin_; }
    // Opens the set-up dialog (also Ctrl+E and the log's context menu); OK sets its values, the
    // set-up's and the origin's, for the next measurement. The dialog is modal to the window while
    // it is open.
    void EditSetup();
    // The window's own commands, in the menu bar, the log's context menu and by their shortcuts.
    QAction* SetupAction() const { return setupAction_; }
    QAction* MeasureAction(ButtonId id) const { return measureActions_.at(id); }
    MainMenu* Menu() const { return menu_; }
    FileCommands& Files() const { return *files_; }
    // The chart of the newest measurement, in a window of its own ("Show chart", Ctrl+G).
    ChartWindow& Chart() const { return *chart_; }
    // The records of the window's measurements, in the order they ended.
    std::vector<MeasurementRecord> Records() const;

    // The client area below the menu bar, and its parts.
    MeasurementPanel* Panel() const { return panel_; }
    QPushButton* Button(ButtonId id) const;
    VerdictMark* Mark(ButtonId id) const;
    QPlainTextEdit* Log() const;
    StatusLine* StatusText() const;
    QLabel* RowLabel3gpp() const;
    QLabel* RowLabelWlan() const;

signals:
    // A measurement has ended and the buttons are enabled again.
    void MeasurementEnded();

protected:
    void showEvent(QShowEvent* event) override;
    // The menu bar on top, the panel below it takes the rest.
    void resizeEvent(QResizeEvent* event) override;
    // While the window holds the focus for a running measurement, Tab keeps it there: the
    // buttons are disabled, so it would land in the log, and the keys after it in the results.
    bool focusNextPrevChild(bool next) override;
    // Closing during a measurement is carried out when the measurement has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void ConnectBus();
    void StartMeasurement(ButtonId id);
    void EndMeasurement();
    // The status line, the verdict mark and the messages for a measurement that has ended.
    void ShowEnd(ButtonId id, const RunEnd& end);
    void ShowRegistrationMessage(const QString& message);
    void SetMeasurementsEnabled(bool enabled);

    BusMeasurements& bus_;
    ExitAction exitAction_;
    MessagePresenter presentMessage_;
    std::optional<ButtonId> running_;  // the measurement while it runs
    bool closePending_ = false;
    CaptionFor caption_;
    MeasurementSetup setup_;
    RecordOrigin origin_;
    BoardChoice boardChoice_;
    MeasurementPanel* panel_ = nullptr;
    MainMenu* menu_ = nullptr;
    QAction* setupAction_ = nullptr;
    QAction* quitAction_ = nullptr;
    std::array<QAction*, MeasurementPanel::kButtonCount> measureActions_{};
    FileCommands* files_ = nullptr;
    ChartWindow* chart_ = nullptr;
};

}  // namespace kelvane
