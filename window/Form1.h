#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "bus/AnalyzerSession.h"
#include "bus/Clock.h"
#include "measurements/MeasurementContext.h"
#include "window/QtEventPump.h"
#include "window/WindowLogSink.h"

class QCloseEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kelvane {

// The program's only window: seven measurement buttons, two row labels and the result log.
// A click runs its whole measurement on this thread; while it runs, the seven buttons are
// disabled, so the event handling inside the measurement-end wait cannot start a second one.
class Form1 : public QWidget {
    Q_OBJECT

public:
    // Called with the exit status when the program must end (registration failure).
    using ExitAction = std::function<void(int status)>;

    // `session` and `clock` must outlive the window. `simulated` marks the caption.
    Form1(AnalyzerSession& session, Clock& clock, bool simulated, QWidget* parent = nullptr);
    ~Form1() override;

    // Replaces the default, QCoreApplication::exit.
    void SetExitAction(ExitAction exitAction);

    // Writes text into the log at the caret, in place of any selection; leaves the caret right
    // behind it with nothing selected and scrolls it into view. CR LF is one line break.
    void AppendResult(const QString& text);

    // The W-CDMA measurements; measF: center frequency in Hz, measRef: reference level in dB.
    void MeasSEM(double& measF, double& measRef);
    void MeasObw(double& measF, double& measRef);
    void MeasAcp(double& measF, double& measRef);
    void MeasChPow(double& measF, double& measRef);

    // The controls. Command1's index selects the measurement: 0 OBW, 1 ACP, 2 S.E.M.,
    // 3 CH Power.
    QPushButton* Command1(int index) const { return command1_.at(static_cast<std::size_t>(index)); }
    QPushButton* Command2() const { return command2_; }
    QPushButton* Command3() const { return command3_; }
    QPushButton* Command4() const { return command4_; }
    QPlainTextEdit* txtRslt() const { return txtRslt_; }
    QLabel* Label1() const { return label1_; }
    QLabel* Label2() const { return label2_; }

    static QString Caption(bool simulated);

protected:
    // Closing during a measurement is carried out when the measurement has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void Command1Click(std::int16_t index);
    void Command2Click();
    void Command3Click();
    void Command4Click();
    // The WLAN measurements take no parameters.
    void RunWlan(MeasurementOutcome (*measurement)(MeasurementContext&));
    // Runs one measurement unless one is running; handles a registration failure.
    void RunExclusive(const std::function<void()>& measurement);
    void SetButtonsEnabled(bool enabled);
    MeasurementContext Context();

    AnalyzerSession& session_;
    Clock& clock_;
    WindowLogSink log_;
    QtEventPump events_;
    ExitAction exitAction_;
    bool measuring_ = false;
    bool closePending_ = false;

    std::array<QPushButton*, 4> command1_{};
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPlainTextEdit* txtRslt_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
};

}  // namespace kelvane
