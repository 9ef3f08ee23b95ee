#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <functional>
#include <vector>

#include "measurements/MeasurementSetup.h"
#include "results/MeasurementRecord.h"
#include "results/RecordOrigin.h"

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
class ResultLog;
class StatusLine;
struct CatalogEntry;

// What the main window starts with.
struct MainWindowOptions {
    // How the set-up dialog treats the board index: an adapter has none to choose.
    enum class BoardChoice { Selectable, Fixed };

    MeasurementSetup setup;  // until the set-up dialog changes it
    BoardChoice boardChoice = BoardChoice::Selectable;
    RecordOrigin origin = {};  // DUT and operator until the dialog changes them; the station
};

// The program's only window: seven measurement buttons, two row labels, the result log and the
// status line below it. A click starts its measurement on the bus thread and returns at once;
// the window stays responsive while the measurement runs. From the click to the measurement's
// end the seven buttons are disabled, and the focus waits in the window, not in the log, so
// that typing cannot reach the log unless the operator clicks into it. The window opens at its
// layout's size, which is also its smallest; room beyond it goes to the log.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Called with the exit status when the program must end (registration failure).
    using ExitAction = std::function<void(int status)>;
    // Shows the registration failure message modally, on the window thread.
    using MessagePresenter = std::function<void(QWidget* parent, const QString& message)>;

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
    // The window's own commands, in the log's context menu and by their shortcuts.
    QAction* SetupAction() const { return setupAction_; }
    FileCommands& Files() const { return *files_; }
    // The chart of the newest measurement, in a window of its own ("Show chart", Ctrl+G).
    ChartWindow& Chart() const { return *chart_; }
    // The records of the window's measurements, in the order they ended.
    std::vector<MeasurementRecord> Records() const;

    QPushButton* Button(ButtonId id) const { return buttons_.at(id); }
    QPlainTextEdit* Log() const;
    QLabel* StatusText() const;
    QLabel* RowLabel3gpp() const { return rowLabel3gpp_; }
    QLabel* RowLabelWlan() const { return rowLabelWlan_; }

signals:
    // A measurement has ended and the buttons are enabled again.
    void MeasurementEnded();

protected:
    void showEvent(QShowEvent* event) override;
    // The log takes the room beyond the layout's size; the status line stays below it.
    void resizeEvent(QResizeEvent* event) override;
    // While the window holds the focus for a running measurement, Tab keeps it there: the
    // buttons are disabled, so it would land in the log, and the keys after it in the results.
    bool focusNextPrevChild(bool next) override;
    // Closing during a measurement is carried out when the measurement has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateActions();
    void PlaceGrowingControls();
    void ConnectBus();
    void StartMeasurement(ButtonId id);
    void EndMeasurement();
    void ShowRegistrationMessage(const QString& message);
    void SetButtonsEnabled(bool enabled);

    BusMeasurements& bus_;
    ExitAction exitAction_;
    MessagePresenter presentMessage_;
    QPushButton* running_ = nullptr;  // the clicked button while its measurement runs
    bool closePending_ = false;
    CaptionFor caption_;
    MeasurementSetup setup_;
    RecordOrigin origin_;
    BoardChoice boardChoice_;
    QAction* setupAction_ = nullptr;
    FileCommands* files_ = nullptr;
    ChartWindow* chart_ = nullptr;

    std::array<QPushButton*, kButtonCount> buttons_{};
    std::array<const CatalogEntry*, kButtonCount> measurements_{};
    ResultLog* resultLog_ = nullptr;
    StatusLine* statusLine_ = nullptr;
    QLabel* rowLabel3gpp_ = nullptr;
    QLabel* rowLabelWlan_ = nullptr;
};

}  // namespace kelvane
