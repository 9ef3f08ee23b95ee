#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "bus/SteadyClock.h"
#include "tests/window/ScriptedForm.h"

using kelvane::DriverFactory;
using kelvane::DriverLoad;
using kelvane::Form1;
using kelvane::testing::DriverCall;
using kelvane::testing::ScriptedForm;

namespace {

QStringList ToQt(const std::vector<std::string>& texts) {
    QStringList list;
    for (const auto& text : texts) list << QString::fromStdString(text);
    return list;
}

QList<QPushButton*> SevenButtons(const Form1& form) {
    return {form.Command1(0), form.Command1(1), form.Command1(2), form.Command1(3),
            form.Command2(),  form.Command3(),  form.Command4()};
}

}  // namespace

// The buttons start their measurements; a measurement runs alone; registration failures end
// the program.
class Form1MeasurementTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedForm> rig_;

    void Show(ScriptedForm& rig) {
        rig.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    }

private slots:
    void init() {
        rig_ = std::make_unique<ScriptedForm>();
        Show(*rig_);
    }
    void cleanup() { rig_.reset(); }

    // Which button starts what: the set-up's first commands and the title. The analyzer never
    // answers here; the run must still close its session.
    void dispatch_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("firstWrites");
        QTest::addColumn<QString>("title");
        const QString cf = QStringLiteral("CF 2000000000HZ");
        QTest::newRow("CH Power (index 3)")
            << "Command1(3)"
            << QStringList{"SI", "SP 10e6HZ", cf, "RL 0DB", "RB 300e3HZ VB 300e3HZ"}
            << "CH Power Measurement...";
        QTest::newRow("OBW (index 0)")
            << "Command1(0)" << QStringList{"SI", "SP 10e6HZ", cf, "RL 0DB", "RB 30e3HZ; VB 30e3HZ"}
            << "OBW Measurement...";
        QTest::newRow("ACP (index 1)")
            << "Command1(1)" << QStringList{"SI", "SP 25e6HZ", cf, "RL 0DB", "RB 30e3HZ; VB 30e3HZ"}
            << "ACP Measurement...";
        QTest::newRow("S.E.M. (index 2)")
            << "Command1(2)" << QStringList{"SI", cf, "RL 0DB", "AL", "DETAA ON"}
            << "SEM Measurement...";
        QTest::newRow("SEM (11a)") << "Command2"
                                   << QStringList{"SI", "CF 5005000000HZ", "SP 80MZ", "RL 0DB",
                                                  "RB 100KZ; VB 30KZ; SW 500MS"}
                                   << "SEM Measurement...";
        QTest::newRow("SEM (11b)") << "Command3"
                                   << QStringList{"SI", "CF 2412000000HZ", "SP 80MZ", "RL 0DB",
                                                  "RB 100KZ; VB 100KZ; SW 1SC"}
                                   << "SEM Measurement...";
        QTest::newRow("Total Power (11b)")
            << "Command4"
            << QStringList{"SI", "SP 40MZ", "CF 2412000000HZ", "RL 0DB", "RB 300KZ; VB 300KZ"}
            << "CH Power Measurement...";
    }
    void dispatch() {
        QFETCH(QString, button);
        QFETCH(QStringList, firstWrites);
        QFETCH(QString, title);
        const QMap<QString, QPushButton*> buttons{
            {"Command1(0)", rig_->form.Command1(0)}, {"Command1(1)", rig_->form.Command1(1)},
            {"Command1(2)", rig_->form.Command1(2)}, {"Command1(3)", rig_->form.Command1(3)},
            {"Command2", rig_->form.Command2()},     {"Command3", rig_->form.Command3()},
            {"Command4", rig_->form.Command4()}};
        QTest::mouseClick(buttons.value(button), Qt::LeftButton);

        QCOMPARE(ToQt(rig_->driver.Writes()).mid(0, firstWrites.size()), firstWrites);
        const QStringList transcript = ToQt(rig_->driver.Transcript());
        QCOMPARE(transcript.mid(0, 2),
                 (QStringList{"RegisterGpibGlobalsForThread()", "ibdev(0, 8, 0, 13, 1, 0)"}));
        QCOMPARE(transcript.mid(transcript.size() - 2),
                 (QStringList{"ibonl(16, 0)", "ibonl(0, 0)"}));
        QVERIFY(rig_->form.txtRslt()->toPlainText().startsWith("\n" + title + "\n"));
        QVERIFY(!rig_->form.IsMeasuring());
        for (QPushButton* b : SevenButtons(rig_->form)) QVERIFY(b->isEnabled());
        QCOMPARE(rig_->form.focusWidget(), buttons.value(button));
    }

    void consecutiveRunsAreSeparatedByAnEmptyLine() {
        rig_->driver.Reply("PWTOTAL?", {"-12.5", "0.5"});
        QTest::mouseClick(rig_->form.Command4(), Qt::LeftButton);
        QTest::mouseClick(rig_->form.Command4(), Qt::LeftButton);
        QCOMPARE(rig_->form.txtRslt()->toPlainText(),
                 QStringLiteral("\nCH Power Measurement...\nChPower = -12.50dBm\n"
                                "\nCH Power Measurement...\nChPower = 0.50dBm\n"));
    }

    // Clicks and a close request queued during the measurement-end wait are handled by its event
    // pump: the clicks start nothing, the close waits for the session to end.
    void inputDuringTheWait() {
        ScriptedForm& rig = *rig_;
        rig.driver.Reply("*STB?", {"0", "0", "0", "128"});
        rig.driver.Reply("PWCH?", {"-10.2"});
        int polls = 0;
        bool disabledDuringWait = true;
        rig.driver.onCall = [&](const DriverCall& call) {
            if (call.name != "ibwrt" || call.bytes != "*STB?") return;
            for (QPushButton* b : SevenButtons(rig.form)) disabledDuringWait &= !b->isEnabled();
            if (++polls != 1) return;
            QTimer::singleShot(0, &rig.form, [&rig] {
                for (QPushButton* b : SevenButtons(rig.form)) {
                    QTest::mouseClick(b, Qt::LeftButton);
                    b->click();
                }
                QTest::keyClick(rig.form.Command1(0), Qt::Key_Space);
                QVERIFY(!rig.form.close());
            });
        };
        QTest::mouseClick(rig.form.Command1(3), Qt::LeftButton);

        QCOMPARE(polls, 4);
        QVERIFY(disabledDuringWait);
        QCOMPARE(rig.SessionsOpened(), std::size_t{1});
        const QStringList transcript = ToQt(rig.driver.Transcript());
        QCOMPARE(transcript.last(), QStringLiteral("ibonl(0, 0)"));
        QCOMPARE(rig.form.txtRslt()->toPlainText(),
                 QStringLiteral("\nCH Power Measurement...\nChPower = -10.20dBm\n"));
        // The deferred close was carried out once the session had ended.
        QVERIFY(!rig.form.isVisible());
        QVERIFY(!rig.exitStatus.has_value());
        QCoreApplication::processEvents();
        QCOMPARE(rig.SessionsOpened(), std::size_t{1});
    }

    void closeWhenIdleIsImmediate() {
        QVERIFY(rig_->form.close());
        QVERIFY(rig_->driver.calls.empty());
    }

    // The binding shows its message (recorded here) and the window closes with exit status 3,
    // with no driver call after the registration.
    void registrationFailureEndsTheProgram_data() {
        QTest::addColumn<int>("registrationResult");
        QTest::addColumn<bool>("libraryMissing");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("transcript");
        QTest::newRow("result 3") << 3 << false
                                  << "Unable to register GPIB thread globals. Quitting the Program!"
                                  << QStringList{"RegisterGpibGlobalsForThread()",
                                                 "UnregisterGpibGlobalsForThread()"};
        QTest::newRow("result 2") << 2 << false
                                  << "Operating System is not multi-threaded. Quitting the Program!"
                                  << QStringList{"RegisterGpibGlobalsForThread()",
                                                 "UnregisterGpibGlobalsForThread()"};
        QTest::newRow("library missing")
            << 0 << true
            << "Unable to register GPIB thread globals. Quitting the Program!\nno libgpib.so.0"
            << QStringList{};
    }
    void registrationFailureEndsTheProgram() {
        QFETCH(int, registrationResult);
        QFETCH(bool, libraryMissing);
        QFETCH(QString, message);
        QFETCH(QStringList, transcript);
        DriverFactory missing = [] { return DriverLoad{nullptr, "no libgpib.so.0"}; };
        ScriptedForm rig(libraryMissing ? missing : DriverFactory{});
        rig.driver.SetRegistrationResult(registrationResult);
        Show(rig);
        QTest::mouseClick(rig.form.Command1(1), Qt::LeftButton);

        QCOMPARE(rig.exitStatus, std::optional<int>(3));
        QCOMPARE(ToQt(rig.messages), QStringList{message});
        QCOMPARE(ToQt(rig.driver.Transcript()), transcript);
        QVERIFY(!rig.form.isVisible());
        QCOMPARE(rig.form.txtRslt()->toPlainText(), QString());
    }
};

QTEST_MAIN(Form1MeasurementTest)
#include "Form1MeasurementTest.moc"
