// The chart window: it follows the newest measurement, also while hidden; Ctrl+G and the log's
// context menu open it beside the main window; a measurement without a chart shows its value;
// "Save picture as..." writes PNG, SVG or JPEG by the name's ending, refuses any other, and
// reports what it cannot write.
#include <QSvgRenderer>
#include <QtTest>
#include <QtWidgets>

#include "tests/charts/drawing/CannedCharts.h"
#include "tests/window/WindowFixture.h"
#include "window/chart/ChartView.h"
#include "window/chart/ChartWindow.h"

using namespace kelvane;
using namespace kelvane::testing;

Q_DECLARE_METATYPE(kelvane::MeasurementRecord)

namespace {

QSize PictureSize(const QString& path) {
    QImageReader reader(path);
    return reader.format() == "png" ? reader.size() : QSize();
}

MeasurementRecord RecordOf(std::vector<MeasuredValue> values, std::string message = {}) {
    MeasurementRecord record;
    record.measurement = "ch-power";
    record.result.values = std::move(values);
    record.result.message = std::move(message);
    return record;
}

class ChartWindowTest : public QObject {
    Q_OBJECT

private slots:
    void followsTheNewestMeasurement() {
        WindowFixture rig(true);
        ChartWindow& chart = rig.window.Chart();
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        QList<QRect> buttons;
        for (QPushButton* button : rig.Buttons()) buttons << button->geometry();

        QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kObwButton)));
        QVERIFY(!chart.isVisible());
        QVERIFY(chart.View()->Model().has_value());
        QVERIFY(chart.View()->Model()->title.starts_with("OBW: PASS"));

        QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kChPowerButton)));
        QVERIFY(!chart.View()->Model());
        QVERIFY2(QRegularExpression("^CH Power: -?[0-9]+\\.[0-9]{2} dBm$")
                     .match(chart.View()->ValueText())
                     .hasMatch(),
                 qPrintable(chart.View()->ValueText()));
        QVERIFY(!chart.SaveAction()->isEnabled());
        QVERIFY(!chart.SaveButton()->isEnabled());

        // Ctrl+G opens it beside the main window, whose buttons stay where they are.
        QTest::keyClick(&rig.window, Qt::Key_G, Qt::ControlModifier);
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        QVERIFY(chart.isWindow());
        QCOMPARE(chart.size(), QSize(800, 500));
        QCOMPARE(chart.minimumSize(), QSize(640, 400));
        for (int i = 0; i < buttons.size(); ++i) QCOMPARE(rig.Buttons()[i]->geometry(), buttons[i]);

        QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kSemButton)));
        QVERIFY(chart.View()->Model()->title.starts_with("S.E.M. (W-CDMA): PASS"));
        QVERIFY(chart.windowTitle().contains("S.E.M. (W-CDMA): PASS"));
        QVERIFY(chart.SaveButton()->isEnabled());
        // Drawn: white around, lines and text across the middle.
        const QImage shown = chart.View()->grab().toImage();
        QCOMPARE(shown.pixelColor(1, 1), QColor(Qt::white));
        int inked = 0;
        for (int x = 0; x < shown.width(); ++x)
            inked += shown.pixelColor(x, shown.height() / 2) != QColor(Qt::white);
        QVERIFY(inked > 10);
    }

    void offeredInTheLogsContextMenu() {
        WindowFixture rig(false);
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        bool offered = false;
        QTimer::singleShot(0, [&offered] {
            QWidget* menu = nullptr;
            QTRY_VERIFY((menu = QApplication::activePopupWidget()) != nullptr);
            for (QAction* action : menu->actions())
                offered |= action->objectName() == "showChartAction";
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                rig.window.Log()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(rig.window.Log(), &event);
        QVERIFY(offered);
        rig.window.Chart().ShowAction()->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window.Chart()));
    }

    void savesThePictureByItsName() {
        QWidget owner;
        ChartWindow chart(&owner);
        chart.Show(CannedAcpChart(), QString(), "acp-20261209T141950Z");
        QTemporaryDir dir;
        QString chosen;
        QString suggested;
        QStringList problems;
        chart.SetFileChooser([&](const QString&, const QString& suggestion, const QString&) {
            suggested = suggestion;
            return chosen;
        });
        chart.SetProblemPresenter([&problems](const QString& message) { problems << message; });
        chart.Open();
        QVERIFY(QTest::qWaitForWindowActive(&chart));

        chosen = dir.filePath("report.svg");
        QTest::keyClick(&chart, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(suggested, QStringLiteral("acp-20261209T141950Z.png"));
        QFile svg(chosen);
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray bytes = svg.readAll();
        QVERIFY(QSvgRenderer(bytes).isValid());
        QVERIFY(bytes.contains("<title>ACP: FAIL, worst margin -1.88 dB</title>"));

        chosen = dir.filePath("report");  // no suffix: a PNG
        QTest::mouseClick(chart.SaveButton(), Qt::LeftButton);
        QCOMPARE(PictureSize(dir.filePath("report.png")), QSize(1280, 800));
        QVERIFY(problems.isEmpty());

        // JPEG by its ending; any other ending refused with the endings that are accepted.
        chosen = dir.filePath("report.JPG");
        chart.SaveAction()->trigger();
        QCOMPARE(QImageReader(chosen).format(), QByteArray("jpeg"));
        chosen = dir.filePath("report.gif");
        chart.SaveAction()->trigger();
        QCOMPARE(problems, QStringList{"Cannot write \"" + chosen +
                                       "\": the name must end in .png, .svg, .jpg or .jpeg"});
        QVERIFY(!QFile::exists(chosen));
        problems.clear();

        chosen = dir.filePath("no such folder/report.png");
        chart.SaveAction()->trigger();
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0].startsWith("Cannot write \"" + chosen + "\": "),
                 qPrintable(problems[0]));

        chosen.clear();  // cancelled
        chart.SaveAction()->trigger();
        QCOMPARE(problems.size(), 1);

        // A value has no picture to save.
        chart.Show(std::nullopt, "CH Power: -10.22 dBm", "ch-power-20261209T141950Z");
        QCOMPARE(chart.View()->ValueText(), QStringLiteral("CH Power: -10.22 dBm"));
        QVERIFY(!chart.SaveButton()->isEnabled());
        chosen = dir.filePath("value.png");
        QTest::keyClick(&chart, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!QFile::exists(chosen));
    }

    // The chart window opens beside the main window, never over its log where the screen has
    // room: right of it, else below it, kept on the screen.
    void opensBesideTheMainWindow() {
        const QRect screen(0, 0, 1920, 1080);
        const QSize chart(800, 500);
        struct Case {
            QRect owner;
            QPoint at;
        };
        const std::vector<Case> cases{
            {{0, 0, 560, 350}, {560, 0}},          // right
            {{1300, 100, 560, 350}, {1120, 450}},  // no room on the right: below
            {{1300, 700, 560, 350}, {1120, 580}},  // room nowhere: right is wider, on screen
            {{0, 0, 1500, 600}, {0, 580}},         // below is the wider room
        };
        for (const Case& c : cases) QCOMPARE(ChartWindow::Beside(c.owner, chart, screen), c.at);
    }

    void valueText_data() {
        QTest::addColumn<MeasurementRecord>("record");
        QTest::addColumn<QString>("expected");
        QTest::newRow("channel power")
            << RecordOf({{"channel_power", -10.2246, "dBm", {}}}) << "CH Power: -10.22 dBm";
        QTest::newRow("a frequency in MHz")
            << RecordOf({{"occupied_bandwidth", 4167031, "Hz", {}}}) << "CH Power: 4.167 MHz";
        QTest::newRow("no value, failed")
            << RecordOf({}, "CH Power Measurement failed: no answer")
            << "CH Power: no value\nCH Power Measurement failed: no answer";
    }

    void valueText() {
        QFETCH(MeasurementRecord, record);
        QFETCH(QString, expected);
        QCOMPARE(ChartWindow::ValueText(record, "CH Power"), expected);
    }
};

}  // namespace

QTEST_MAIN(ChartWindowTest)
#include "ChartWindowTest.moc"
