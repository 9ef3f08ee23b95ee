#include "window/log/ResultLog.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QPoint>
#include <QScrollBar>
#include <memory>

namespace kelvane {

namespace {

// Fixed pitch, 9 pt, in the classic face where it is installed.
QFont ResultLogFont() {
    QFont font = QFontDatabase::hasFamily(QStringLiteral("MS Gothic"))
                     ? QFont(QStringLiteral("MS Gothic"))
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    font.setWeight(QFont::Normal);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

ResultLog::ResultLog(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("resultLog"));
    setFont(ResultLogFont());
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
}

void ResultLog::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (!contextActions_.isEmpty()) {
        menu->addSeparator();
        menu->addActions(contextActions_);
    }
    menu->exec(event->globalPos());
}

void ResultLog::BeginMeasurement() {
    insertion_ = QTextCursor(document());
    insertion_.setPosition(textCursor().selectionEnd());
    // The operator's typing at this point goes behind the measurement's texts, not between them.
    insertion_.setKeepPositionOnInsert(true);
    insertedYet_ = false;
}

void ResultLog::EndMeasurement() { insertion_ = QTextCursor(); }

void ResultLog::AppendResult(const QString& text) {
    const bool oneOff = insertion_.isNull();
    if (oneOff) BeginMeasurement();
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    const QTextCursor caret = textCursor();
    const int at = insertion_.position();
    const bool follows = caret.selectionEnd() == at && (!insertedYet_ || !caret.hasSelection());
    // The text at the view's top left, followed through the insertion.
    const QTextCursor shown = cursorForPosition(QPoint(0, 0));
    const int shownTop = cursorRect(shown).top();

    QTextCursor writer(document());
    writer.setPosition(at);
    writer.insertText(lines);
    insertion_.setPosition(writer.position());
    insertedYet_ = true;
    if (oneOff) EndMeasurement();

    if (follows) {
        QTextCursor behind = textCursor();
        behind.setPosition(writer.position());
        setTextCursor(behind);
        ScrollCaretIntoView();
    } else {
        // The operator looks elsewhere. The log keeps its top line number, so text that went in
        // above the view would push what the operator reads down: scroll on until it is back.
        QScrollBar* scrollBar = verticalScrollBar();
        while (cursorRect(shown).top() > shownTop && scrollBar->value() < scrollBar->maximum()) {
            scrollBar->setValue(scrollBar->value() + 1);
        }
    }
}

void ResultLog::ScrollCaretIntoView() {
    ensureCursorVisible();
    // ensureCursorVisible may leave the caret's line cut by the viewport's lower edge, depending
    // on the font's line height; scroll on line by line until it is whole.
    QScrollBar* scrollBar = verticalScrollBar();
    const int viewportBottom = viewport()->rect().bottom();
    while (cursorRect().bottom() > viewportBottom && scrollBar->value() < scrollBar->maximum()) {
        scrollBar->setValue(scrollBar->value() + 1);
    }
}

}  // namespace kelvane
