#include <QtTest>
#include <QtWidgets>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <tuple>

#include "tests/window/WindowFixture.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// The controls in tab order with their captions and places, the log and the status line grown by
// `extra`: the room beyond the layout's size.
std::vector<std::tuple<QWidget*, QString, QRect>> Controls(const WindowFixture& rig,
                                                           QSize extra = QSize(0, 0)) {
    const int w = extra.width();
    const int h = extra.height();
    return {{rig.Button(MainWindow::kChPowerButton), "CH Power", {72, 16, 101, 33}},
            {rig.Button(MainWindow::kObwButton), "OBW", {192, 16, 101, 33}},
            {rig.Button(MainWindow::kAcpButton), "ACP", {312, 16, 101, 33}},
            {rig.Button(MainWindow::kSemButton), "S.E.M.", {432, 16, 101, 33}},
            {rig.Button(MainWindow::kSem11aButton), "SEM (11a)", {120, 64, 121, 33}},
            {rig.Button(MainWindow::kSem11bButton), "SEM (11b)", {256, 64, 113, 33}},
            {rig.Button(MainWindow::kTotalPower11bButton), "Total Power (11b)", {384, 64, 113, 33}},
            {rig.window.Log(), "", {24, 120, 509 + w, 149 + h}},
            {rig.window.RowLabel3gpp(), "3GPP:", {24, 24, 41, 17}},
            {rig.window.RowLabelWlan(), "WLAN:", {64, 72, 41, 17}},
            {rig.window.StatusText(), "", {24, 272 + h, 509 + w, 32}}};
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> rig_;

private slots:
    void init() { rig_ = std::make_unique<WindowFixture>(false); }
    void cleanup() { rig_.reset(); }

    void layout() {
        MainWindow& window = rig_->window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Kelvane (V1.2)"));
        // The menu bar on top; below it the window as it has always been.
        const QSize menu(0, window.Menu()->height());
        QCOMPARE(window.Menu()->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(window.Panel()->geometry(), QRect(QPoint(0, menu.height()), QSize(560, 308)));
        QCOMPARE(window.size(), QSize(560, 308) + menu);
        QCOMPARE(window.minimumSize(), QSize(560, 308) + menu);

        // In tab order, at the layout's twips divided by 15; the status line fills the strip
        // below the log.
        const std::vector<std::tuple<QWidget*, QString, QRect>> controls = Controls(*rig_);
        for (const auto& [control, caption, geometry] : controls) {
            QCOMPARE(control->geometry(), geometry);
            QCOMPARE(control->property("text").toString(), caption);
            QVERIFY(control->isVisible());
        }
        // Focus starts on "CH Power", its frame drawn from the start; Tab walks the buttons and
        // the log, then wraps around.
        QPushButton* chPower = rig_->Button(MainWindow::kChPowerButton);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QImage focused = chPower->grab().toImage();
        for (int i = 0; i <= 8; ++i) {
            if (i > 0) QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
            QCOMPARE(window.focusWidget(), std::get<0>(controls[i % 8]));
            if (i == 1) QVERIFY(chPower->grab().toImage() != focused);
        }

        // The log: fixed pitch, so that result tables line up; empty with the caret at its start.
        QPlainTextEdit* log = window.Log();
        QCOMPARE(QFontMetrics(log->font()).horizontalAdvance("iiii"),
                 QFontMetrics(log->font()).horizontalAdvance("WWWW"));
        QCOMPARE(log->toPlainText(), QString());
        QCOMPARE(log->textCursor().position(), 0);
        QVERIFY(window.close());  // at once when idle
    }

    // Per button in tab order: the title, then the first set-up commands. The analyzer never
    // answers; the session is still closed and the button is enabled again, with the focus.
    void dispatch() {
        const QString cf = "CF 2000000000HZ";
        const QList<QStringList> cases{
            {"CH Power", "SI", "SP 10e6HZ", cf, "RL 0DB", "RB 300e3HZ VB 300e3HZ"},
            {"OBW", "SI", "SP 10e6HZ", cf, "RL 0DB", "RB 30e3HZ; VB 30e3HZ"},
            {"ACP", "SI", "SP 25e6HZ", cf, "RL 0DB", "RB 30e3HZ; VB 30e3HZ"},
            {"SEM", "SI", cf, "RL 0DB", "AL", "DETAA ON"},
            {"SEM", "SI", "CF 5005000000HZ", "SP 80MZ", "RL 0DB"},
            {"SEM", "SI", "CF 2412000000HZ", "SP 80MZ", "RL 0DB"},
            {"CH Power", "SI", "SP 40MZ", "CF 2412000000HZ", "RL 0DB"}};
        for (int i = 0; i < cases.size(); ++i) {
            init();
            QVERIFY(rig_->RunToEnd(rig_->Buttons()[i]));
            QCOMPARE(rig_->Log().section('\n', 1, 1), cases[i][0] + " Measurement...");
            QCOMPARE(ToQt(rig_->driver.Writes()).mid(0, cases[i].size() - 1), cases[i].mid(1));
            QCOMPARE(rig_->Transcript().last(), QStringLiteral("ibonl(0, 0)"));
            QCOMPARE(rig_->window.focusWidget(), rig_->Buttons()[i]);
            for (QPushButton* button : rig_->Buttons()) QVERIFY(button->isEnabled());
        }
    }

    // Enter, keypad Enter and Space start the focused button's measurement; other keys do not.
    void keyboard() {
        const std::vector<std::tuple<Qt::Key, Qt::KeyboardModifiers, bool>> cases{
            {Qt::Key_Return, Qt::NoModifier, true},
            {Qt::Key_Enter, Qt::KeypadModifier, true},
            {Qt::Key_Space, Qt::NoModifier, true},
            {Qt::Key_A, Qt::NoModifier, false},
            {Qt::Key_Return, Qt::ControlModifier, false}};
        for (const auto& [key, modifiers, starts] : cases) {
            init();
            QPushButton* acp = rig_->Button(MainWindow::kAcpButton);
            acp->setFocus();
            QSignalSpy ended(&rig_->window, &MainWindow::MeasurementEnded);
            QTest::keyClick(acp, key, modifiers);
            QCOMPARE(ended.wait(starts ? kEndTimeoutMs : 200), starts);
            QCOMPARE(rig_->Log().section('\n', 1, 1),
                     starts ? QStringLiteral("ACP Measurement...") : QString());
        }
    }

    // A measurement whose read blocks: the window stays alive, nothing else starts, typing does
    // not reach the log; once the read goes on, the log holds exactly the measurement's lines.
    void blockedRead() {
        rig_ = std::make_unique<WindowFixture>(false, true);
        WindowFixture& rig = *rig_;
        rig.driver.Reply("*STB?", {"128"});
        rig.driver.Reply("PWCH?", {"-10.2"});
        QPushButton* chPower = rig.Button(MainWindow::kChPowerButton);
        QTest::mouseClick(chPower, Qt::LeftButton);
        QVERIFY(rig.WaitUntilHeld());

        PaintCounter paints(rig.window.StatusText());
        QTRY_VERIFY(rig.Status().startsWith(R"(CH Power: reading the answer to "PWCH?" ()"));
        QVERIFY(rig.Status().endsWith(" of 10 s)"));
        const QString before = rig.Status();
        QTest::qWait(300);
        QVERIFY(rig.Status() != before);
        QVERIFY(paints.paints > 0);

        for (QPushButton* button : rig.Buttons()) QVERIFY(!button->isEnabled());
        QWidget* focus = rig.window.focusWidget();
        QVERIFY(focus != rig.window.Log());
        QTest::keyClicks(focus, "ZZTYPED");
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Space);
        // Tab does not carry the focus into the log either (a scanner ends its codes with it).
        QTest::keyClick(focus, Qt::Key_Tab);
        QCOMPARE(rig.window.focusWidget(), focus);
        QTest::keyClicks(rig.window.focusWidget(), "TABBED");
        for (QPushButton* button : rig.Buttons()) QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(rig.Log(), QStringLiteral("\nCH Power Measurement...\n"));

        rig.latch.Open();
        QVERIFY(rig.WaitForEnd());
        QTest::qWait(100);  // nothing was queued behind the buttons
        QCOMPARE(rig.Log(), QStringLiteral("\nCH Power Measurement...\nChPower = -10.20dBm\n"));
        QCOMPARE(rig.Transcript().filter("ibdev(").size(), 1);
        QCOMPARE(rig.Transcript().last(), QStringLiteral("ibonl(0, 0)"));
        QCOMPARE(rig.window.focusWidget(), chPower);
        QVERIFY(
            QRegularExpression(R"(^CH Power: done in \d+\.\d s$)").match(rig.Status()).hasMatch());
        for (QPushButton* button : rig.Buttons()) QVERIFY(button->isEnabled());
    }

    // A larger window gives the room to the log, the status line stays below it, the buttons
    // and labels keep their places; the window cannot be made smaller than its layout.
    void resizing() {
        MainWindow& window = rig_->window;
        QVERIFY(window.maximumWidth() > 2000 && window.maximumHeight() > 2000);
        // Size asked for, the room beyond the layout it gets.
        const std::vector<std::tuple<QSize, QSize>> cases{
            {{800, 600}, {240, 292}}, {{1000, 308}, {440, 0}}, {{560, 500}, {0, 192}},
            {{400, 200}, {0, 0}},     {{700, 250}, {140, 0}},  {{560, 308}, {0, 0}}};
        const QSize menu(0, window.Menu()->height());
        for (const auto& [asked, extra] : cases) {
            window.resize(asked + menu);
            QTRY_COMPARE(window.size(), QSize(560, 308) + extra + menu);
            for (const auto& [control, caption, geometry] : Controls(*rig_, extra)) {
                QCOMPARE(control->geometry(), geometry);
            }
            QVERIFY(window.StatusText()->y() > window.Log()->geometry().bottom());
        }
        // Maximised: the log takes the room the screen gives (Qt's offscreen screen, 800 x 800 at
        // 96 dpi, is larger than the layout; the platform need not keep the smallest size).
        window.showMaximized();
        QTRY_VERIFY(window.isMaximized() && window.Panel()->size() != QSize(560, 308));
        const QSize extra = (window.Panel()->size() - QSize(560, 308)).expandedTo(QSize(0, 0));
        for (const auto& [control, caption, geometry] : Controls(*rig_, extra)) {
            QCOMPARE(control->geometry(), geometry);
        }
    }

    // The menu bar reaches every command by its shortcut; a measurement's entry starts it and is
    // greyed out while one runs. Each measurement's last verdict stays under its button, in words
    // and colour, until it runs again; the status line shows it in colour too.
    void menuAndVerdicts() {
        WindowFixture rig(false);
        rig.driver.ReplyAlways("*STB?", "128");
        rig.driver.Reply("OBW?", {"2000000000,5100000", "2000000000,4167031"});
        rig.driver.ReplyAlways("PWCH?", "-10.2");
        MainWindow& window = rig.window;
        QStringList entries;
        for (QAction* menu : window.Menu()->actions())
            for (QAction* entry : menu->menu()->actions())
                if (!entry->isSeparator())
                    entries << entry->text() + QLatin1Char(' ') + entry->shortcut().toString();
        QCOMPARE(
            entries,
            QStringList({"&Save log as... Ctrl+S", "Save &results as... Ctrl+Shift+S",
                         "Save re&port as... Ctrl+R", "Save session report as... Ctrl+Shift+R",
                         "&Quit Ctrl+Q", "CH Power Ctrl+1", "OBW Ctrl+2", "ACP Ctrl+3",
                         "S.E.M. Ctrl+4", "SEM (11a) Ctrl+5", "SEM (11b) Ctrl+6",
                         "Total Power (11b) Ctrl+7", "Set-&up... Ctrl+E", "Show &chart Ctrl+G"}));

        QSignalSpy ended(&window, &MainWindow::MeasurementEnded);
        window.MeasureAction(MainWindow::kObwButton)->trigger();
        QVERIFY(!window.MeasureAction(MainWindow::kAcpButton)->isEnabled());
        QVERIFY(ended.wait(kEndTimeoutMs));
        QVERIFY(window.MeasureAction(MainWindow::kAcpButton)->isEnabled());
        VerdictMark* obw = window.Mark(MainWindow::kObwButton);
        QCOMPARE(obw->text(), QStringLiteral("FAIL"));
        QVERIFY(obw->isVisible() && obw->styleSheet().contains("font-weight: 800"));
        QCOMPARE(obw->toolTip(), QStringLiteral("FAIL, margin -0.100 MHz"));
        QVERIFY(window.StatusText()->styleSheet().contains("color: #b71c1c"));

        QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kChPowerButton)));
        QCOMPARE(window.Mark(MainWindow::kChPowerButton)->text(), QStringLiteral("no limit"));
        QCOMPARE(obw->text(), QStringLiteral("FAIL"));  // until OBW runs again
        QVERIFY(window.StatusText()->styleSheet().isEmpty());
        QVERIFY(!window.Mark(MainWindow::kAcpButton)->isVisible());

        QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kObwButton)));
        QCOMPARE(obw->text(), QStringLiteral("PASS"));
        QVERIFY(window.StatusText()->text().endsWith("PASS, margin 0.833 MHz"));

        // A notice longer than the line is cut with "…" and read whole in the tooltip.
        const QString notice = QStringLiteral("; 2 records wait for postgresql://line@db/r") +
                               QString(200, QLatin1Char('x'));
        window.StatusText()->Append(notice);
        QVERIFY(window.StatusText()->Text().endsWith(notice));
        QVERIFY(window.StatusText()->text().endsWith(QChar(0x2026)));
        QCOMPARE(window.StatusText()->toolTip(), window.StatusText()->Text());
    }

    // A close request during a blocked read is carried out once the session is closed.
    void closeDuringABlockedRead() {
        rig_ = std::make_unique<WindowFixture>(false, true);
        WindowFixture& rig = *rig_;
        rig.driver.Reply("*STB?", {"128"});
        rig.driver.Reply("PWCH?", {"-10.2"});
        QTest::mouseClick(rig.Button(MainWindow::kChPowerButton), Qt::LeftButton);
        QVERIFY(rig.WaitUntilHeld());
        QVERIFY(!rig.window.close());
        QTest::qWait(50);
        QVERIFY(rig.window.isVisible());
        rig.latch.Open();
        QVERIFY(rig.WaitForEnd());
        QVERIFY(!rig.window.isVisible());
        QCOMPARE(rig.Transcript().mid(rig.Transcript().size() - 2),
                 (QStringList{"ibonl(16, 0)", "ibonl(0, 0)"}));
        QCOMPARE(rig.exitStatus, std::nullopt);  // the event loop ends with status 0
    }

    // Every driver call of the program's life comes from one thread other than the window's,
    // which registered once, before its first call.
    void oneBusThreadRegisteredOnce() {
        std::vector<std::thread::id> callers;
        rig_->driver.onCall = [&callers](const testing::DriverCall&) {
            callers.push_back(std::this_thread::get_id());
        };
        QVERIFY(rig_->RunToEnd(rig_->Button(MainWindow::kTotalPower11bButton)));
        QVERIFY(rig_->RunToEnd(rig_->Button(MainWindow::kObwButton)));
        const QStringList transcript = rig_->Transcript();
        QCOMPARE(transcript.first(), QStringLiteral("RegisterGpibGlobalsForThread()"));
        QCOMPARE(transcript.filter("RegisterGpibGlobalsForThread").size(), 1);
        QCOMPARE(transcript.filter("ibdev(").size(), 2);
        QCOMPARE(callers.size(), static_cast<std::size_t>(transcript.size()));
        QVERIFY(std::all_of(callers.begin(), callers.end(),
                            [&callers](std::thread::id id) { return id == callers.front(); }));
        QVERIFY(callers.front() != std::this_thread::get_id());
    }

    // How the status line sums a run up: how it ended, and its verdict against its limits.
    void statusAfterTheEnd() {
        using Script = std::function<void(testing::ScriptedDriver&)>;
        const std::vector<std::tuple<MainWindow::ButtonId, Script, QString>> cases{
            {MainWindow::kChPowerButton,
             [](testing::ScriptedDriver& d) {
                 d.Reply("*STB?", {"128"});
                 d.Reply("PWCH?", {"-10.2"});
             },
             R"(^CH Power: done in \d+\.\d s$)"},
            {MainWindow::kChPowerButton,
             [](testing::ScriptedDriver& d) {
                 d.ReplyAlways("*STB?", "0");
                 d.Reply("PWCH?", {"-10.2"});
             },
             R"(^CH Power: done in \d+\.\d s, with a warning, INCOMPLETE$)"},
            {MainWindow::kChPowerButton, [](testing::ScriptedDriver& d) { d.FailIbdev(); },
             R"(^CH Power: failed$)"},
            {MainWindow::kObwButton,
             [](testing::ScriptedDriver& d) {
                 d.Reply("*STB?", {"128"});
                 d.Reply("OBW?", {"2000000000,4167000"});
             },
             R"(^OBW: done in \d+\.\d s, PASS, margin 0\.833 MHz$)"},
            {MainWindow::kAcpButton,
             [](testing::ScriptedDriver& d) {
                 d.Reply("*STB?", {"128"});
                 d.Reply("ACP?", {"0", "-5000000,-44,5000000,-46", "-10000000,-60,10000000,-61"});
                 d.Reply("ACPREF?", {"-10"});
             },
             R"(^ACP: done in \d+\.\d s, FAIL, worst margin -1\.00 dB$)"}};
        for (const auto& [button, script, status] : cases) {
            init();
            script(rig_->driver);
            QVERIFY(rig_->RunToEnd(rig_->Button(button)));
            QVERIFY2(QRegularExpression(status).match(rig_->Status()).hasMatch(),
                     qPrintable(rig_->Status()));
        }
        QCOMPARE(rig_->window.Records().size(), 1u);
    }

    // The message is shown on the window thread, the window closes with exit status 3 and no
    // driver call follows.
    void registrationFailureEndsTheProgram() {
        rig_->driver.SetRegistrationResult(3);
        QTest::mouseClick(rig_->Button(MainWindow::kAcpButton), Qt::LeftButton);
        QTRY_COMPARE(rig_->exitStatus, std::optional<int>(3));
        QVERIFY(!rig_->window.isVisible());
        QCOMPARE(rig_->Log(), QString());
        QCOMPARE(rig_->messages.size(), 1);
        QVERIFY(rig_->onWindowThread);
        QCOMPARE(rig_->Transcript(), (QStringList{"RegisterGpibGlobalsForThread()",
                                                  "UnregisterGpibGlobalsForThread()"}));
    }

    // All seven buttons in turn against the simulated analyzer: titles and result line counts.
    void simulatedAnalyzer() {
        rig_ = std::make_unique<WindowFixture>(true);
        for (QPushButton* b : rig_->Buttons()) QVERIFY(rig_->RunToEnd(b));
        const QString log = rig_->Log();
        QVERIFY2(!log.contains(" failed: ") && !log.contains("Warning: "), qPrintable(log));
        QStringList runs;  // title and number of result lines
        for (const QString& run : log.mid(1).split("\n\n")) {
            const QStringList lines = run.split('\n', Qt::SkipEmptyParts);
            runs << lines.value(0) + " " + QString::number(lines.size() - 1);
        }
        QCOMPARE(runs, (QStringList{"CH Power Measurement... 1", "OBW Measurement... 2",
                                    "ACP Measurement... 3", "SEM Measurement... 9",
                                    "SEM Measurement... 11", "SEM Measurement... 7",
                                    "CH Power Measurement... 1"}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
