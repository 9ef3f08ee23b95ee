// Chart files on a disk that fills up: a picture is there whole or not at all, under its own
// name or none, with the system's reason and no message of any library.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>

#include "charts/drawing/ChartFiles.h"
#include "tests/charts/drawing/CannedCharts.h"
#include "tests/charts/drawing/QtTemporaryFolder.h"
#include "tests/support/ShortWrite.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

// Everything in the folder, hidden files (a temporary file left behind) included.
QStringList Entries(const QDir& dir) {
    QStringList entries =
        dir.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System);
    entries.sort();
    return entries;
}

// The sizes of the ACP chart's SVG and PNG as they are written whole.
std::pair<qsizetype, qsizetype> WholeSizes() {
    const QtTemporaryFolder dir;
    WriteChartFiles(CannedAcpChart(), dir.path().toStdString(), "acp", true);
    return {QFileInfo(dir.filePath("acp.svg")).size(), QFileInfo(dir.filePath("acp.png")).size()};
}

class ChartFileFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    // The disk fills up after `room` bytes of the two files: the SVG and PNG each stop before
    // their first byte, in their middle, or one byte short of their end.
    void aCutFileLeavesNothing_data() {
        const auto [svg, png] = WholeSizes();
        QVERIFY(svg > 1000 && png > 1000);
        QTest::addColumn<qsizetype>("room");
        QTest::addColumn<QString>("failed");
        QTest::addColumn<QStringList>("left");
        for (const qsizetype cut : {qsizetype{0}, svg / 2, svg - 1})
            QTest::addRow("svg after %lld bytes", static_cast<long long>(cut))
                << cut << "acp.svg" << QStringList{};
        for (const qsizetype cut : {qsizetype{0}, png / 2, png - 1})
            QTest::addRow("png after %lld bytes", static_cast<long long>(cut))
                << svg + cut << "acp.png" << QStringList{"acp.svg"};
    }

    void aCutFileLeavesNothing() {
        QFETCH(qsizetype, room);
        QFETCH(QString, failed);
        QFETCH(QStringList, left);
        const QtTemporaryFolder dir;
        const WrittenChart written =
            WriteChartFiles(CannedAcpChart(), dir.path().toStdString(), "acp", true, {},
                            WriteStoppingAfter(static_cast<std::size_t>(room)));
        QCOMPARE(written.failure, "cannot write the chart \"" +
                                      QDir::toNativeSeparators(dir.filePath(failed)).toStdString() +
                                      "\": No space left on device");
        QCOMPARE(Entries(dir), left);
        std::vector<std::string> paths;
        for (const QString& name : left) paths.push_back(dir.filePath(name).toStdString());
        QCOMPARE(written.paths, paths);
    }

    // A picture saved from the window: a file that was there stays as it was, a new one is not
    // made, and the reason is the system's.
    void aSavedPictureIsWholeOrNotThere_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("existing");
        QTest::newRow("new svg") << "chart.svg" << false;
        QTest::newRow("new png") << "chart.png" << false;
        QTest::newRow("svg over an old one") << "chart.SVG" << true;
        QTest::newRow("png over an old one") << "chart.png" << true;
    }

    void aSavedPictureIsWholeOrNotThere() {
        QFETCH(QString, name);
        QFETCH(bool, existing);
        const QtTemporaryFolder dir;
        const QString path = dir.filePath(name);
        if (existing) {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        for (const std::size_t room : {std::size_t{0}, std::size_t{4096}}) {
            QCOMPARE(SaveChartPicture(CannedAcpChart(), path, WriteStoppingAfter(room)),
                     QStringLiteral("No space left on device"));
            QCOMPARE(Entries(dir), existing ? QStringList{name} : QStringList{});
            if (existing) QCOMPARE(Contents(path), QByteArray("old"));
        }
        QCOMPARE(SaveChartPicture(CannedAcpChart(), path), QString());
        QCOMPARE(Entries(dir), QStringList{name});
        QVERIFY(Contents(path).size() > 4096);
    }
};

}  // namespace

QTEST_MAIN(ChartFileFaultsTest)
#include "ChartFileFaultsTest.moc"
