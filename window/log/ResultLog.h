#pragma once

#include <QList>
#include <QPlainTextEdit>
#include <QString>
#include <QTextCursor>

class QAction;
class QContextMenuEvent;

namespace kelvane {

// The result log: an ordinary editable text in a fixed-pitch face (the result tables line up in
// columns only so), into which the measurements write, and which never loses the operator's
// text.
//
// A measurement's texts go in one behind the other at the end of the caret's selection as it was
// when the measurement began; the selected text stays. What the operator types meanwhile never
// comes between them: typed at that point, it goes behind them. While the operator's caret
// stands where the measurement writes (for its first text: also a selection ending there), the
// caret moves right behind the text with nothing selected and the log scrolls until the caret's
// line is fully in view. Otherwise the caret and the selection stay on the text they were on (a
// selection that ends where the measurement writes takes the text in) and the view stays on the
// text it showed.
class ResultLog : public QPlainTextEdit {
public:
    explicit ResultLog(QWidget* parent);

    // Offered in the log's context menu below the editing actions (the window's own commands).
    void AddContextAction(QAction* action) { contextActions_.append(action); }

    // The measurement's texts go in at the end of the caret's selection as it is now.
    void BeginMeasurement();
    void EndMeasurement();
    // Writes a text of the running measurement; without one, the text goes in as the first text
    // of one. CR LF is one line break.
    void AppendResult(const QString& text);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ScrollCaretIntoView();

    QList<QAction*> contextActions_;

    // Where the running measurement's next text goes; null when none runs. It stays in front of
    // text inserted at its position by anyone else.
    QTextCursor insertion_;
    bool insertedYet_ = false;  // the running measurement has written a text
};

}  // namespace kelvane
