// The result log: where a measurement's texts go, and that the operator's own text is never lost
// to them, whatever the operator selects, types or clicks while a measurement runs.
#include <QtTest>
#include <QtWidgets>
#include <memory>
#include <tuple>
#include <vector>

#include "tests/window/WindowFixture.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

// What one CH Power run writes with the analyzer answering "-10.2", and its title alone.
const QString kChPowerText = QStringLiteral("\nCH Power Measurement...\nChPower = -10.20dBm\n");
const QString kChPowerTitle = QStringLiteral("\nCH Power Measurement...\n");

void SetCaret(QPlainTextEdit* log, int anchor, int position) {
    QTextCursor cursor = log->textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    log->setTextCursor(cursor);
}

// Whether the log shows the caret's line whole.
bool CaretInView(const QPlainTextEdit* log) {
    return log->viewport()->rect().contains(log->cursorRect());
}

// The text at the log's top left: the line there and the offset in it.
QString TopLine(const QPlainTextEdit* log) {
    const QTextCursor top = log->cursorForPosition(QPoint(0, 0));
    return top.block().text() + " @" + QString::number(top.positionInBlock());
}

// Plays the operator's steps on the log: keys in angle brackets ("<Return>", "<^A>" for Ctrl+A,
// "<click top left>": scroll to the top and click there), text between them typed.
void Play(QPlainTextEdit* log, const QString& steps) {
    const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> keys{
        {"^A", {Qt::Key_A, Qt::ControlModifier}},
        {"^End", {Qt::Key_End, Qt::ControlModifier}},
        {"^Home", {Qt::Key_Home, Qt::ControlModifier}},
        {"Delete", {Qt::Key_Delete, Qt::NoModifier}},
        {"Return", {Qt::Key_Return, Qt::NoModifier}}};
    static const QRegularExpression step("<([^>]+)>|[^<]+");
    for (const QRegularExpressionMatch& match : step.globalMatch(steps)) {
        const QString key = match.captured(1);
        if (key.isEmpty()) {
            QTest::keyClicks(log, match.captured(0));
        } else if (key == "click top left") {
            log->verticalScrollBar()->setValue(0);
            QTest::mouseClick(log->viewport(), Qt::LeftButton, {}, QPoint(1, 1));
        } else {
            QVERIFY2(keys.count(key) == 1, qPrintable(key));
            QTest::keyClick(log, keys.at(key).first, keys.at(key).second);
        }
    }
}

// The log's text with the caret marked "|" and the other end of a selection "{".
QString Marked(const QPlainTextEdit* log) {
    const QTextCursor caret = log->textCursor();
    QString text = log->toPlainText();
    const bool anchorFirst = caret.anchor() > caret.position();
    if (anchorFirst && caret.hasSelection()) text.insert(caret.anchor(), '{');
    text.insert(caret.position(), '|');
    if (!anchorFirst && caret.hasSelection()) text.insert(caret.anchor(), '{');
    return text;
}

}  // namespace

class ResultLogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> rig_;

private slots:
    void init() { rig_ = std::make_unique<WindowFixture>(false); }
    void cleanup() { rig_.reset(); }

    void appendResult() {
        // The log's text and selection (anchor, position), the appends, the text and caret after.
        const std::vector<std::tuple<QString, int, int, QStringList, QString, int>> cases{
            {"", 0, 0, {"\r\nOBW...\r\n", "OBW = 4\r\n"}, "\nOBW...\nOBW = 4\n", 16},
            {"first\nlast", 6, 6, {"one\r\n", "two\r\n"}, "first\none\ntwo\nlast", 14},
            {"keep OLD keep", 5, 8, {"new"}, "keep OLDnew keep", 11},
            {"keep OLD keep", 8, 5, {"a\r\nb"}, "keep OLDa\nb keep", 11}};
        QPlainTextEdit* log = rig_->window.Log();
        for (const auto& [before, anchor, position, appends, after, caret] : cases) {
            log->setPlainText(before);
            SetCaret(log, anchor, position);
            for (const QString& text : appends) rig_->window.AppendResult(text);
            QCOMPARE(log->toPlainText(), after);
            QCOMPARE(log->textCursor().position(), caret);
            QVERIFY(!log->textCursor().hasSelection());
        }
        // A long log shows the newest text: the caret's line and the last result line are whole
        // inside the viewport, whatever the font's line height.
        log->clear();
        for (int i = 0; i < 100; ++i) {
            rig_->window.AppendResult(QStringLiteral("line %1\r\n").arg(i));
            const QRect viewport = log->viewport()->rect();
            QTextCursor lastLine(log->document()->findBlockByNumber(i));
            QVERIFY2(viewport.contains(log->cursorRect()), qPrintable(QString::number(i)));
            QVERIFY2(viewport.contains(log->cursorRect(lastLine)), qPrintable(QString::number(i)));
        }
        QVERIFY(log->verticalScrollBar()->value() > 0);
    }

    // A selection in the log at the click (Ctrl+A before a copy, a part of a line) stays: the
    // measurement's text goes in directly behind it. The caret follows the text, nothing is
    // selected afterwards, and the log scrolls until the caret's line is whole in view.
    void measurementBehindTheSelection() {
        QString earlier;
        for (int i = 0; i < 30; ++i) earlier += QStringLiteral("earlier line %1\n").arg(i);
        const int end = earlier.size();
        const int line10 = earlier.indexOf("earlier line 10");
        const int line10End = earlier.indexOf('\n', line10);
        // Selection (anchor, position) at the click, -1 for Ctrl+A; where the text goes.
        const std::vector<std::tuple<int, int, int>> cases{{end, end, end},
                                                           {-1, -1, end},
                                                           {line10, line10End, line10End},
                                                           {line10End, line10 + 8, line10End},
                                                           {0, 0, 0}};
        for (const auto& [anchor, position, at] : cases) {
            init();
            rig_->driver.Reply("*STB?", {"128"});
            rig_->driver.Reply("PWCH?", {"-10.2"});
            QPlainTextEdit* log = rig_->window.Log();
            log->setPlainText(earlier);
            if (anchor < 0) {
                log->setFocus();
                Play(log, "<^A>");
                QCOMPARE(Marked(log), "{" + earlier + "|");
            } else {
                SetCaret(log, anchor, position);
            }
            QVERIFY(rig_->RunToEnd(rig_->Button(MainWindow::kChPowerButton)));
            QCOMPARE(Marked(log), earlier.left(at) + kChPowerText + "|" + earlier.mid(at));
            QVERIFY(CaretInView(log));
        }
    }

    // What the operator does in the log while a read is held. The measurement's lines stay
    // together where the caret stood at the click (typed there, text goes behind them), typed
    // text stays whole and in order, and a caret moved away stays where the operator left it,
    // the view on the text it showed. The next measurement goes in at the caret as it then is.
    void operatorDuringAMeasurement() {
        QString earlier;
        for (int i = 0; i < 30; ++i) earlier += QStringLiteral("earlier line %1\n").arg(i);
        const int line10 = earlier.indexOf("earlier line 10");
        const QString m = kChPowerText;
        const QString result = m.mid(kChPowerTitle.size());
        const QString typed = earlier + m + "typed while\nblocked";
        const QString below = earlier.left(line10) + m + earlier.mid(line10) + "tail";
        enum class View { CaretShown, TopKept };
        struct Case {
            const char* name;
            int click;       // the caret at the click, -1: the end of the log
            QString steps;   // after a click into the log, see Play
            QString after;   // the log at the end of the run, with the caret marked (Marked)
            View view;       // at the end of the run
            QString second;  // the log after a second run
        };
        const std::vector<Case> cases{
            {"caret at the insertion point", -1, "<^End>", earlier + m + "|", View::CaretShown,
             earlier + m + m},
            {"typing there", -1, "<^End>typed while<Return>blocked", typed + "|", View::TopKept,
             typed + m},
            {"typing elsewhere", -1, "<^Home>top ", "top |" + earlier + m, View::TopKept,
             "top " + m + earlier + m},
            {"clicking elsewhere", -1, "", "|" + earlier + m, View::TopKept, m + earlier + m},
            {"typing below it", line10, "<^End>tail", below + "|", View::TopKept, below + m},
            {"selecting all", -1, "<^A>", "{" + earlier + m + "|", View::TopKept, earlier + m + m},
            {"deleting all", -1, "<^A><Delete>", result + "|", View::CaretShown, result + m},
            // The whole log fits into the view.
            {"replacing all", -1, "<^A>x", result + "x|", View::CaretShown, result + "x" + m}};
        for (const Case& c : cases) {
            rig_ = std::make_unique<WindowFixture>(false, true);
            WindowFixture& rig = *rig_;
            rig.driver.ReplyAlways("*STB?", "128");
            rig.driver.ReplyAlways("PWCH?", "-10.2");
            QPlainTextEdit* log = rig.window.Log();
            log->setPlainText(earlier);
            const int click = c.click < 0 ? earlier.size() : c.click;
            SetCaret(log, click, click);
            QTest::mouseClick(rig.Button(MainWindow::kChPowerButton), Qt::LeftButton);
            QVERIFY(rig.WaitUntilHeld());
            QTRY_COMPARE(rig.Log(), earlier.left(click) + kChPowerTitle + earlier.mid(click));
            Play(log, "<click top left>");
            QCOMPARE(rig.window.focusWidget(), log);
            Play(log, c.steps);
            const QString top = TopLine(log);
            rig.latch.Open();
            QVERIFY(rig.WaitForEnd());
            QVERIFY2(Marked(log) == c.after, c.name);
            QVERIFY2(c.view == View::CaretShown ? CaretInView(log) : TopLine(log) == top, c.name);
            QCOMPARE(rig.window.focusWidget(), log);
            QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kChPowerButton)));
            QVERIFY2(rig.Log() == c.second, c.name);
        }
    }
};

QTEST_MAIN(ResultLogTest)
#include "ResultLogTest.moc"
