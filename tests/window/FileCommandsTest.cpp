// "Save log as...", "Save results as...", the reports and the results file of the window: what
// reaches the files, byte for byte, and what the operator is told when a file cannot be written.
#include <QtTest>
#include <QtWidgets>
#include <string>

#include "results/ResultsFile.h"
#include "tests/report/ReportHtmlParts.h"
#include "tests/support/FileContents.h"
#include "tests/window/WindowFixture.h"
#include "window/FileCommands.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

QByteArray Contents(const QString& path) {
    return QByteArray::fromStdString(FileContents(path.toStdU16String()));
}

class FileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // Two measurements, some typing; the log saved as it shows, with CR LF; the results as JSON
    // Lines and as CSV by the name; a file that cannot be written named with its reason.
    void savesTheLogAndTheResults() {
        WindowFixture rig(false);
        rig.driver.ReplyAlways("*STB?", "128");
        rig.driver.Reply("PWCH?", {"-10.2", "-10.3"});
        QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kChPowerButton)));
        rig.window.Log()->appendPlainText(QStringLiteral("DUT 4711, cable 2"));
        QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kChPowerButton)));
        const QString logBefore = rig.Log();

        QTemporaryDir dir;
        QString chosen;
        QStringList problems;
        FileCommands& files = rig.window.Files();
        files.SetFileChooser(
            [&chosen](const QString&, const QString&, const QString&) { return chosen; });
        files.SetProblemPresenter([&problems](const QString& message) { problems << message; });

        chosen = dir.filePath(QStringLiteral("bench log.txt"));
        QTest::keyClick(&rig.window, Qt::Key_S, Qt::ControlModifier);
        QByteArray expected = logBefore.toUtf8();
        expected.replace("\n", "\r\n");
        QCOMPARE(Contents(chosen), expected);
        QVERIFY(Contents(chosen).startsWith("\r\nCH Power Measurement...\r\nChPower = -10.20dBm"));

        chosen = dir.filePath(QStringLiteral("runs.jsonl"));
        files.SaveResultsAction()->trigger();
        const QList<QByteArray> records = Contents(chosen).split('\n');
        QCOMPARE(records.size(), 3);  // two lines and what follows the last line end
        QVERIFY(records[1].contains(R"("value":-10.3)"));

        chosen = dir.filePath(QStringLiteral("runs.CSV"));
        files.SaveResultsAction()->trigger();
        const QByteArray csv = Contents(chosen);
        QVERIFY(csv.startsWith("started,run_id,dut,measurement,name,value,unit,limit,margin,"));
        QCOMPARE(csv.count("channel_power"), 2);

        chosen = dir.filePath(QStringLiteral("no such folder/log.txt"));
        files.SaveLogAction()->trigger();
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0].startsWith("Cannot write \"" + chosen + "\": "),
                 qPrintable(problems[0]));
        QCOMPARE(rig.Log(), logBefore);

        chosen.clear();  // cancelled
        files.SaveLogAction()->trigger();
        QCOMPARE(problems.size(), 1);
    }

    // Ctrl+R: the report of the measurements since the DUT last changed, suggested under the
    // DUT's name; Ctrl+Shift+R: of all of them. Before any measurement there is nothing to
    // report, and no file is asked for.
    void savesTheReports() {
        WindowFixture rig(false);
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        rig.driver.ReplyAlways("*STB?", "128");
        rig.driver.ReplyAlways("PWCH?", "-10.2");
        QTemporaryDir dir;
        QString chosen;
        QStringList suggested;
        QStringList problems;
        FileCommands& files = rig.window.Files();
        files.SetFileChooser([&](const QString&, const QString& suggestion, const QString&) {
            suggested << suggestion;
            return chosen;
        });
        files.SetProblemPresenter([&problems](const QString& message) { problems << message; });

        QTest::keyClick(&rig.window, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(problems, QStringList{QStringLiteral("There is no measurement to report yet.")});
        QVERIFY(suggested.isEmpty());

        const auto setDut = [&rig](const QString& dut) {
            QTimer::singleShot(0, [dut] {
                QWidget* dialog = nullptr;
                QTRY_VERIFY((dialog = QApplication::activeModalWidget()) != nullptr);
                auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("dut"));
                QVERIFY(field != nullptr);
                field->setText(dut);
                QTest::keyClick(field, Qt::Key_Return);
            });
            rig.window.EditSetup();
        };
        setDut(QStringLiteral("SN-1"));
        QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kChPowerButton)));
        QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kChPowerButton)));
        setDut(QStringLiteral("SN/2 <b>"));
        QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kChPowerButton)));

        struct Case {
            QAction* action;
            QKeySequence keys;
            const char* file;
            int sections;
        };
        const Case cases[] = {
            {files.SaveReportAction(), QKeySequence(Qt::CTRL | Qt::Key_R), "dut.html", 1},
            {files.SaveSessionReportAction(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
             "session.html", 3},
        };
        for (const Case& c : cases) {
            QCOMPARE(c.action->shortcut(), c.keys);
            chosen = dir.filePath(QString::fromLatin1(c.file));
            c.action->trigger();
            QVERIFY2(!suggested.isEmpty(), qPrintable(problems.join(" | ")));
            QCOMPARE(suggested.takeLast(), QStringLiteral("report-SN_2__b_.html"));
            const std::string html = FileContents(chosen.toStdU16String());
            QVERIFY(html.starts_with("<!DOCTYPE html>"));
            QCOMPARE(static_cast<int>(TableRows(html).size()), 2 * c.sections);  // summary, values
            QVERIFY(!SectionOf(html, c.sections).empty());
            QVERIFY(SectionOf(html, c.sections + 1).empty());
            QVERIFY(html.find("<h1>DUT SN/2 &lt;b&gt;</h1>") != std::string::npos);
        }
        QCOMPARE(problems.size(), 1);
    }

    // A results file that refuses a record: the status line and a message say so; the next
    // measurement is tried again.
    void aRecordThatCannotBeWritten() {
#ifdef _WIN32
        QSKIP("no device that refuses writes here");
#endif
        ResultsFile full("/dev/full");
        if (!full.IsOpen()) QSKIP("no /dev/full here");
        WindowFixture rig(false, false, &full);
        QStringList problems;
        rig.window.Files().SetProblemPresenter(
            [&problems](const QString& message) { problems << message; });
        rig.driver.ReplyAlways("*STB?", "128");
        rig.driver.Reply("PWCH?", {"-10.2", "-10.3"});
        for (int run = 1; run <= 2; ++run) {
            QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kChPowerButton)));
            QVERIFY2(rig.Status().endsWith(", record not written"), qPrintable(rig.Status()));
            QCOMPARE(problems.size(), run);
        }
        QCOMPARE(problems[0], QStringLiteral("Cannot write the ch-power record to the results file "
                                             "\"/dev/full\": No space left on device."));
        QCOMPARE(rig.window.Records().size(), 2u);
    }
};

}  // namespace

QTEST_MAIN(FileCommandsTest)
#include "FileCommandsTest.moc"
