#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>
#include <memory>
#include <set>

#include "tests/window/ScriptedForm.h"

using kelvane::Form1;
using kelvane::testing::ScriptedForm;

// The window as laid out in twips / 15, and the result log's append operation.
class Form1LayoutTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedForm> rig_;
    Form1& form() { return rig_->form; }

private slots:
    void init() {
        rig_ = std::make_unique<ScriptedForm>();
        form().show();
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
    }
    void cleanup() { rig_.reset(); }

    void window() {
        QCOMPARE(form().windowTitle(), QStringLiteral("Kelvane (V1.2)"));
        QCOMPARE(Form1::Caption(true), QStringLiteral("Kelvane (V1.2) [simulated analyzer]"));
        QCOMPARE(form().size(), QSize(560, 308));
        QCOMPARE(form().minimumSize(), QSize(560, 308));
        QCOMPARE(form().maximumSize(), QSize(560, 308));

        const QList<QSize> sizes = form().windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(32, 32)));
        const QImage icon = form().windowIcon().pixmap(32, 32).toImage();
        std::set<QRgb> colours;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x) colours.insert(icon.pixel(x, y));
        QVERIFY(colours.size() <= 16);
    }

private:
    QWidget* Control(const QString& name) {
        const QMap<QString, QWidget*> controls{
            {"Command1(0)", form().Command1(0)}, {"Command1(1)", form().Command1(1)},
            {"Command1(2)", form().Command1(2)}, {"Command1(3)", form().Command1(3)},
            {"Command2", form().Command2()},     {"Command3", form().Command3()},
            {"Command4", form().Command4()},     {"txtRslt", form().txtRslt()},
            {"Label1", form().Label1()},         {"Label2", form().Label2()}};
        return controls.value(name);
    }

private slots:
    // In tab order; positions are the twips of the layout divided by 15.
    void controls_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Command1(3)") << "CH Power" << QRect(72, 16, 101, 33);
        QTest::newRow("Command1(0)") << "OBW" << QRect(192, 16, 101, 33);
        QTest::newRow("Command1(1)") << "ACP" << QRect(312, 16, 101, 33);
        QTest::newRow("Command1(2)") << "S.E.M." << QRect(432, 16, 101, 33);
        QTest::newRow("Command2") << "SEM (11a)" << QRect(120, 64, 121, 33);
        QTest::newRow("Command3") << "SEM (11b)" << QRect(256, 64, 113, 33);
        QTest::newRow("Command4") << "Total Power (11b)" << QRect(384, 64, 113, 33);
        QTest::newRow("txtRslt") << "" << QRect(24, 120, 509, 149);
        QTest::newRow("Label1") << "3GPP:" << QRect(24, 24, 41, 17);
        QTest::newRow("Label2") << "WLAN:" << QRect(64, 72, 41, 17);
    }
    void controls() {
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        QWidget* control = Control(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(control != nullptr);
        QCOMPARE(control->geometry(), geometry);
        QVERIFY(control->isVisible());
        if (auto* button = qobject_cast<QPushButton*>(control)) QCOMPARE(button->text(), caption);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(label->text(), caption);
            QCOMPARE(label->font().weight(), QFont::Bold);
            QCOMPARE(label->font().pointSizeF(), 8.25);
            QCOMPARE(label->palette().color(QPalette::WindowText),
                     label->palette().color(QPalette::Highlight));
        }
    }

    void resultLog() {
        QPlainTextEdit* log = form().txtRslt();
        QVERIFY(!log->isReadOnly());
        QCOMPARE(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(log->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(log->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(log->font().pointSize(), 9);
        QCOMPARE(log->font().weight(), QFont::Normal);
        // Result tables line up in columns: every character the log shows is equally wide.
        const QFontMetrics metrics(log->font());
        for (const char c : {'i', 'W', '0', ' ', '-', '.'}) {
            QCOMPARE(metrics.horizontalAdvance(QLatin1Char(c)), metrics.horizontalAdvance('M'));
        }
        // A fresh window: empty log, caret at its start.
        QCOMPARE(log->toPlainText(), QString());
        QCOMPARE(log->textCursor().position(), 0);
    }

    void tabOrderStartsAtChPower() {
        const QList<QWidget*> expected{form().Command1(3), form().Command1(0), form().Command1(1),
                                       form().Command1(2), form().Command2(),  form().Command3(),
                                       form().Command4(),  form().txtRslt(),   form().Command1(3)};
        QCOMPARE(form().focusWidget(), expected.front());
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(form().focusWidget(), Qt::Key_Tab);
            QCOMPARE(form().focusWidget(), expected[i]);
        }
    }

    // Each row: the log's text and caret (a selection from anchor to position) before the
    // appends, the texts appended, and the log and caret after.
    void appendResult_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("appends");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caret");
        QTest::newRow("fresh log, consecutive calls join")
            << "" << 0 << 0 << QStringList{"\r\nOBW Measurement...\r\n", "OBW = 4.151MHz\r\n"}
            << "\nOBW Measurement...\nOBW = 4.151MHz\n"
            << 35;
        QTest::newRow("caret in the middle")
            << "first\nlast" << 6 << 6 << QStringList{"one\r\n", "two\r\n"}
            << "first\none\ntwo\nlast" << 14;
        QTest::newRow("selection replaced")
            << "keep OLD keep" << 5 << 8 << QStringList{"new"} << "keep new keep" << 8;
        QTest::newRow("backward selection replaced")
            << "keep OLD keep" << 8 << 5 << QStringList{"a\r\nb"} << "keep a\nb keep" << 8;
    }
    void appendResult() {
        QFETCH(QString, before);
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(QStringList, appends);
        QFETCH(QString, after);
        QFETCH(int, caret);
        QPlainTextEdit* log = form().txtRslt();
        log->setPlainText(before);
        QTextCursor cursor = log->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        log->setTextCursor(cursor);
        for (const QString& text : appends) form().AppendResult(text);
        QCOMPARE(log->toPlainText(), after);
        QCOMPARE(log->textCursor().position(), caret);
        QVERIFY(!log->textCursor().hasSelection());
    }

    void appendResultScrollsToTheCaret() {
        QPlainTextEdit* log = form().txtRslt();
        for (int i = 0; i < 100; ++i) form().AppendResult(QStringLiteral("line %1\r\n").arg(i));
        QCOMPARE(log->document()->blockCount(), 101);  // CR LF is one line break
        QScrollBar* bar = log->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());

        // Back at the top, a caret near the start: the next append scrolls there, not down.
        QTextCursor cursor = log->textCursor();
        cursor.setPosition(log->document()->findBlockByNumber(2).position());
        log->setTextCursor(cursor);
        bar->setValue(bar->maximum());
        form().AppendResult(QStringLiteral("inserted\r\n"));
        QVERIFY(bar->value() < bar->maximum() / 2);
    }
};

QTEST_MAIN(Form1LayoutTest)
#include "Form1LayoutTest.moc"
