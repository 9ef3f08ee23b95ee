#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

#include "simulator/SimulatedAnalyzer.h"
#include "tests/window/ScriptedForm.h"

using kelvane::DriverLoad;
using kelvane::Form1;
using kelvane::SimulatedAnalyzer;
using kelvane::testing::ScriptedForm;

// All seven buttons against the simulated analyzer, on a virtual clock so that the averaging
// waits take no real time.
class Form1SimulatorTest : public QObject {
    Q_OBJECT

private:
    // The number behind `label` in `text`, which must be there.
    static double NumberAfter(const QString& text, const QString& label) {
        const QRegularExpression pattern(QRegularExpression::escape(label) +
                                         QStringLiteral("(-?[0-9]+\\.[0-9]+)"));
        const QRegularExpressionMatch match = pattern.match(text);
        return match.hasMatch() ? match.captured(1).toDouble() : qQNaN();
    }

private slots:
    void everyButtonLogsItsTitleAndResults() {
        std::unique_ptr<ScriptedForm> rig;
        rig = std::make_unique<ScriptedForm>([&rig] {
            return DriverLoad{std::make_unique<SimulatedAnalyzer>(rig->clock), {}};
        });
        Form1& form = rig->form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        const QList<QPushButton*> buttons{form.Command1(3), form.Command1(0), form.Command1(1),
                                          form.Command1(2), form.Command2(),  form.Command3(),
                                          form.Command4()};
        for (QPushButton* button : buttons) QTest::mouseClick(button, Qt::LeftButton);

        const QString log = form.txtRslt()->toPlainText();
        QVERIFY2(!log.contains(QStringLiteral(" failed: ")), qPrintable(log));
        QVERIFY2(!log.contains(QStringLiteral("Warning: ")), qPrintable(log));

        // One block per run: the title, then its result lines.
        QVERIFY(log.startsWith('\n'));
        const QStringList runs = log.mid(1).split(QStringLiteral("\n\n"));
        QCOMPARE(runs.size(), 7);
        const QList<QPair<QString, int>> expected{
            {"CH Power Measurement...", 1}, {"OBW Measurement...", 2},  {"ACP Measurement...", 3},
            {"SEM Measurement...", 9},      {"SEM Measurement...", 11}, {"SEM Measurement...", 7},
            {"CH Power Measurement...", 1}};
        for (int i = 0; i < runs.size(); ++i) {
            const QStringList lines = runs[i].split('\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.value(0), expected[i].first);
            QCOMPARE(lines.size() - 1, expected[i].second);
        }
        const QString sem3gpp = runs[3];
        QVERIFY(sem3gpp.contains(" START F      STOP F       FREQ.      ABS LEV   REL LEV"));
        QCOMPARE(runs[4].count(QStringLiteral("P/F = ")), 10);
        QCOMPARE(runs[5].count(QStringLiteral("P/F = ")), 6);

        // Plausible W-CDMA figures: a carrier of about -10 dBm, 99 % of it within 4.17 MHz.
        const double channelPower = NumberAfter(runs[0], "ChPower = ");
        QVERIFY2(channelPower > -12.0 && channelPower < -8.0, qPrintable(runs[0]));
        const double obw = NumberAfter(runs[1], "OBW = ");
        QVERIFY2(obw > 4.10 && obw < 4.25, qPrintable(runs[1]));
        const double obwCenter = NumberAfter(runs[1], "OBW CF = ");
        QVERIFY2(qAbs(obwCenter - 2000.0) < 0.2, qPrintable(runs[1]));
        const double carrier = NumberAfter(runs[2], "ACP (Carr pow.) = ");
        QVERIFY2(carrier > -12.0 && carrier < -8.0, qPrintable(runs[2]));
    }
};

QTEST_MAIN(Form1SimulatorTest)
#include "Form1SimulatorTest.moc"
