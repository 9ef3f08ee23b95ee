#include "window/log/StatusLine.h"

#include <QResizeEvent>

#include "window/log/VerdictLook.h"

namespace kelvane {

namespace {

constexpr int kTickMilliseconds = 100;

QString Seconds(qint64 milliseconds) {
    return QString::number(static_cast<double>(milliseconds) / 1000.0, 'f', 1);
}

}  // namespace

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
    ticker_.setInterval(kTickMilliseconds);
    connect(&ticker_, &QTimer::timeout, this, &StatusLine::Refresh);
}

void StatusLine::Begin(const QString& name) {
    setStyleSheet(QString());
    name_ = name;
    step_ = QStringLiteral("starting");
    limitSeconds_ = 0;
    sinceBegin_.start();
    sinceStep_.start();
    ticker_.start();
    Refresh();
}

void StatusLine::Step(const QString& description, int limitSeconds) {
    if (!ticker_.isActive()) return;  // late news of a measurement that has ended
    step_ = description;
    limitSeconds_ = limitSeconds;
    sinceStep_.start();
    Refresh();
}

void StatusLine::Finish(End end, const QString& verdictText, Verdict verdict) {
    ticker_.stop();
    const QString took = Seconds(sinceBegin_.elapsed());
    QString text;
    switch (end) {
    case End::Done:
        text = QStringLiteral("%1: done in %2 s").arg(name_, took);
        break;
    case End::DoneWithWarning:
        text = QStringLiteral("%1: done in %2 s, with a warning").arg(name_, took);
        break;
    case End::Failed:
        text = QStringLiteral("%1: failed").arg(name_);
        break;
    }
    Show(verdictText.isEmpty() ? text : text + QStringLiteral(", ") + verdictText);
    const QString look = VerdictLook::TextStyle(verdict);
    setStyleSheet(look.isEmpty() ? QString() : QStringLiteral("QLabel { %1 }").arg(look));
}

void StatusLine::Refresh() {
    const QString elapsed = Seconds(sinceStep_.elapsed());
    const QString time = limitSeconds_ > 0
                             ? QStringLiteral("%1 s of %2 s").arg(elapsed).arg(limitSeconds_)
                             : QStringLiteral("%1 s").arg(elapsed);
    Show(QStringLiteral("%1: %2 (%3)").arg(name_, step_, time));
}

void StatusLine::Append(const QString& more) { Show(text_ + more); }

void StatusLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Show(text_);
}

void StatusLine::Show(const QString& text) {
    text_ = text;
    const QString shown = fontMetrics().elidedText(text, Qt::ElideRight, contentsRect().width());
    setText(shown);
    setToolTip(shown == text ? QString() : text);
}

}  // namespace kelvane
