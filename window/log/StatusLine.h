#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QString>
#include <QTimer>

#include "results/Verdict.h"

namespace kelvane {

// The line below the result log that tells what the running measurement is doing and for how
// long, e.g. `ACP: waiting for the end of the measurement (3.2 s of 10 s)`, and afterwards how
// it ended with its verdict: `ACP: done in 4.1 s, PASS, worst margin 9.77 dB`, `ACP: failed`.
// The times count on the window's own clock and advance while the bus is busy.
class StatusLine : public QLabel {
    Q_OBJECT

public:
    enum class End { Done, DoneWithWarning, Failed };

    explicit StatusLine(QWidget* parent = nullptr);

    // A measurement started; name: its button's caption.
    void Begin(const QString& name);
    // It moved on to a new step; limitSeconds 0: the step has no time limit.
    void Step(const QString& description, int limitSeconds);
    // It ended; verdictText: what the status line adds after how it ended (VerdictText), if
    // any. The line then shows the verdict in colour and weight as well as in words, until the
    // next measurement begins: PASS green, FAIL bold red, INCOMPLETE bold brown.
    void Finish(End end, const QString& verdictText = {}, Verdict verdict = Verdict::None);
    // Adds to the ending shown, e.g. "; 2 records wait for postgresql://...".
    void Append(const QString& more);
    // The whole line; what is shown is cut to the label's width with "…" where it is longer,
    // and the whole line is its tooltip.
    const QString& Text() const { return text_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Refresh();
    void Show(const QString& text);

    QString text_;
    QString name_;
    QString step_;
    int limitSeconds_ = 0;
    QElapsedTimer sinceBegin_;
    QElapsedTimer sinceStep_;
    QTimer ticker_;
};

}  // namespace kelvane
