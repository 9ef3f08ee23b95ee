#include <QtTest>
#include <QtWidgets>
#include <memory>
#include <optional>
#include <tuple>

#include "bus/GpibBinding.h"
#include "tests/support/ScriptedDriver.h"
#include "window/DriverChoice.h"
#include "window/Form1.h"

using namespace kelvane;

namespace {

QStringList ToQt(const std::vector<std::string>& texts) {
    QStringList list;
    for (const auto& text : texts) list << QString::fromStdString(text);
    return list;
}

// Form1 on a virtual clock and a scripted driver (or the simulated analyzer), with the
// binding's messages and the exit action recorded.
struct Rig {
    explicit Rig(bool simulated)
        : binding(simulated ? MakeDriverFactory(true, clock) : testing::HandOver(std::move(owned)),
                  [this](const std::string& text) { messages.push_back(text); }),
          session(binding),
          form(session, clock, false) {
        driver.AttachClock(&clock);
        form.SetExitAction([this](int status) { exitStatus = status; });
        form.show();
        form.activateWindow();
    }
    QList<QPushButton*> Buttons() const {  // Command1(0) to (3), Command2, Command3, Command4
        return {form.Command1(0), form.Command1(1), form.Command1(2), form.Command1(3),
                form.Command2(),  form.Command3(),  form.Command4()};
    }
    QStringList Transcript() const { return ToQt(driver.Transcript()); }

    VirtualClock clock;
    std::unique_ptr<testing::ScriptedDriver> owned = std::make_unique<testing::ScriptedDriver>();
    testing::ScriptedDriver& driver = *owned;
    std::vector<std::string> messages;
    std::optional<int> exitStatus;
    GpibBinding binding;
    AnalyzerSession session;
    Form1 form;
};

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

    std::unique_ptr<Rig> rig_;

private slots:
    void init() { rig_ = std::make_unique<Rig>(false); }
    void cleanup() { rig_.reset(); }

    void layout() {
        Form1& form = rig_->form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Kelvane (V1.2)"));
        QCOMPARE(Form1(rig_->session, rig_->clock, true).windowTitle(),
                 QStringLiteral("Kelvane (V1.2) [simulated analyzer]"));
        QCOMPARE(form.size(), QSize(560, 308));
        QCOMPARE(form.minimumSize(), form.maximumSize());

        // In tab order, at the layout's twips divided by 15.
        const std::vector<std::tuple<QWidget*, QString, QRect>> controls{
            {form.Command1(3), "CH Power", {72, 16, 101, 33}},
            {form.Command1(0), "OBW", {192, 16, 101, 33}},
            {form.Command1(1), "ACP", {312, 16, 101, 33}},
            {form.Command1(2), "S.E.M.", {432, 16, 101, 33}},
            {form.Command2(), "SEM (11a)", {120, 64, 121, 33}},
            {form.Command3(), "SEM (11b)", {256, 64, 113, 33}},
            {form.Command4(), "Total Power (11b)", {384, 64, 113, 33}},
            {form.txtRslt(), "", {24, 120, 509, 149}},
            {form.Label1(), "3GPP:", {24, 24, 41, 17}},
            {form.Label2(), "WLAN:", {64, 72, 41, 17}}};
        for (const auto& [control, caption, geometry] : controls) {
            QCOMPARE(control->geometry(), geometry);
            QCOMPARE(control->property("text").toString(), caption);
            QVERIFY(control->isVisible());
        }
        // Focus starts on "CH Power"; Tab walks the buttons and the log, then wraps around.
        for (int i = 0; i <= 8; ++i) {
            if (i > 0) QTest::keyClick(form.focusWidget(), Qt::Key_Tab);
            QCOMPARE(form.focusWidget(), std::get<0>(controls[i % 8]));
        }

        // The log: fixed pitch, so that result tables line up; empty with the caret at its start.
        QPlainTextEdit* log = form.txtRslt();
        QCOMPARE(QFontMetrics(log->font()).horizontalAdvance("iiii"),
                 QFontMetrics(log->font()).horizontalAdvance("WWWW"));
        QCOMPARE(log->toPlainText(), QString());
        QCOMPARE(log->textCursor().position(), 0);
        QVERIFY(form.close());  // at once when idle
    }

    void appendResult() {
        // The log's text and selection (anchor, position), the appends, the text and caret after.
        const std::vector<std::tuple<QString, int, int, QStringList, QString, int>> cases{
            {"", 0, 0, {"\r\nOBW...\r\n", "OBW = 4\r\n"}, "\nOBW...\nOBW = 4\n", 16},
            {"first\nlast", 6, 6, {"one\r\n", "two\r\n"}, "first\none\ntwo\nlast", 14},
            {"keep OLD keep", 5, 8, {"new"}, "keep new keep", 8},
            {"keep OLD keep", 8, 5, {"a\r\nb"}, "keep a\nb keep", 8}};
        QPlainTextEdit* log = rig_->form.txtRslt();
        for (const auto& [before, anchor, position, appends, after, caret] : cases) {
            log->setPlainText(before);
            QTextCursor cursor = log->textCursor();
            cursor.setPosition(anchor);
            cursor.setPosition(position, QTextCursor::KeepAnchor);
            log->setTextCursor(cursor);
            for (const QString& text : appends) rig_->form.AppendResult(text);
            QCOMPARE(log->toPlainText(), after);
            QCOMPARE(log->textCursor().position(), caret);
            QVERIFY(!log->textCursor().hasSelection());
        }
        // A long log scrolls to the newest text.
        for (int i = 0; i < 100; ++i) rig_->form.AppendResult(QStringLiteral("line %1\r\n").arg(i));
        QVERIFY(log->verticalScrollBar()->maximum() > 0);
        QCOMPARE(log->verticalScrollBar()->value(), log->verticalScrollBar()->maximum());
    }

    // Per button in Buttons() order: the title, then the first set-up commands. The analyzer
    // never answers; the session is still closed and the button is enabled again, with the focus.
    void dispatch() {
        const QString cf = "CF 2000000000HZ";
        const QList<QStringList> cases{
            {"OBW", "SI", "SP 10e6HZ", cf, "RL 0DB", "RB 30e3HZ; VB 30e3HZ"},
            {"ACP", "SI", "SP 25e6HZ", cf, "RL 0DB", "RB 30e3HZ; VB 30e3HZ"},
            {"SEM", "SI", cf, "RL 0DB", "AL", "DETAA ON"},
            {"CH Power", "SI", "SP 10e6HZ", cf, "RL 0DB", "RB 300e3HZ VB 300e3HZ"},
            {"SEM", "SI", "CF 5005000000HZ", "SP 80MZ", "RL 0DB"},
            {"SEM", "SI", "CF 2412000000HZ", "SP 80MZ", "RL 0DB"},
            {"CH Power", "SI", "SP 40MZ", "CF 2412000000HZ", "RL 0DB"}};
        for (int i = 0; i < cases.size(); ++i) {
            init();
            QTest::mouseClick(rig_->Buttons()[i], Qt::LeftButton);
            QCOMPARE(rig_->form.txtRslt()->toPlainText().section('\n', 1, 1),
                     cases[i][0] + " Measurement...");
            QCOMPARE(ToQt(rig_->driver.Writes()).mid(0, cases[i].size() - 1), cases[i].mid(1));
            QCOMPARE(rig_->Transcript().last(), QStringLiteral("ibonl(0, 0)"));
            QCOMPARE(rig_->form.focusWidget(), rig_->Buttons()[i]);
        }
    }

    // Clicks and a close queued during the "*STB?" wait start nothing; the close is carried out
    // once the session is closed.
    void inputDuringTheWait() {
        Rig& rig = *rig_;
        rig.driver.Reply("*STB?", {"0", "0", "0", "128"});
        rig.driver.Reply("PWCH?", {"-10.2"});
        int polls = 0;
        bool disabledDuringWait = true;
        rig.driver.onCall = [&](const testing::DriverCall& call) {
            if (call.name != "ibwrt" || call.bytes != "*STB?") return;
            for (QPushButton* b : rig.Buttons()) disabledDuringWait &= !b->isEnabled();
            if (++polls != 1) return;
            QTimer::singleShot(0, &rig.form, [&rig] {
                for (QPushButton* b : rig.Buttons()) QTest::mouseClick(b, Qt::LeftButton);
                QVERIFY(!rig.form.close());
            });
        };
        QTest::mouseClick(rig.form.Command1(3), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(polls, 4);
        QVERIFY(disabledDuringWait);
        QCOMPARE(rig.Transcript().filter("ibdev(").size(), 1);
        QCOMPARE(rig.Transcript().last(), QStringLiteral("ibonl(0, 0)"));
        QCOMPARE(rig.form.txtRslt()->toPlainText(),
                 QStringLiteral("\nCH Power Measurement...\nChPower = -10.20dBm\n"));
        QVERIFY(!rig.form.isVisible());
    }

    // The binding shows its message, the window closes with exit status 3, no driver call follows.
    void registrationFailureEndsTheProgram() {
        rig_->driver.SetRegistrationResult(3);
        QTest::mouseClick(rig_->form.Command1(1), Qt::LeftButton);
        QCOMPARE(rig_->exitStatus, std::optional<int>(3));
        QVERIFY(!rig_->form.isVisible());
        QCOMPARE(rig_->form.txtRslt()->toPlainText(), QString());
        QCOMPARE(rig_->messages.size(), std::size_t{1});
        QCOMPARE(rig_->Transcript(), (QStringList{"RegisterGpibGlobalsForThread()",
                                                  "UnregisterGpibGlobalsForThread()"}));
    }

    // All seven buttons in turn against the simulated analyzer: titles and result line counts.
    void simulatedAnalyzer() {
        rig_ = std::make_unique<Rig>(true);
        for (QPushButton* b : rig_->Buttons()) QTest::mouseClick(b, Qt::LeftButton);
        const QString log = rig_->form.txtRslt()->toPlainText();
        QVERIFY2(!log.contains(" failed: ") && !log.contains("Warning: "), qPrintable(log));
        QStringList runs;  // title and number of result lines
        for (const QString& run : log.mid(1).split("\n\n")) {
            const QStringList lines = run.split('\n', Qt::SkipEmptyParts);
            runs << lines.value(0) + " " + QString::number(lines.size() - 1);
        }
        QCOMPARE(runs, (QStringList{"OBW Measurement... 2", "ACP Measurement... 3",
                                    "SEM Measurement... 9", "CH Power Measurement... 1",
                                    "SEM Measurement... 11", "SEM Measurement... 7",
                                    "CH Power Measurement... 1"}));
    }
};

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
