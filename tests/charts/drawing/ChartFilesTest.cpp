// The chart as files: SVG and PNG beside it under names that never replace a file, a picture
// saved as PNG, SVG or JPEG by its name's ending (others refused), and the reason when a folder
// cannot take them.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSvgRenderer>
#include <QtTest>

#include "charts/drawing/ChartFiles.h"
#include "tests/charts/drawing/CannedCharts.h"
#include "tests/charts/drawing/QtTemporaryFolder.h"
#include "tests/charts/drawing/SvgContents.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QSize PictureSize(const QString& path) {
    QImageReader reader(path);
    return reader.format() == "png" ? reader.size() : QSize();
}

class ChartFilesTest : public QObject {
    Q_OBJECT

private slots:
    // The SVG says what the chart is and how large; the PNG is 1280 x 800.
    void writesSvgAndPngBesideIt() {
        const QtTemporaryFolder dir;
        const ChartModel model = CannedMaskChart();
        const WrittenChart written =
            WriteChartFiles(model, dir.path().toStdString(), "sem-20261209T141950Z", true);
        QCOMPARE(written.failure, std::string());
        const QString svgPath = dir.filePath("sem-20261209T141950Z.svg");
        const QString pngPath = dir.filePath("sem-20261209T141950Z.png");
        QCOMPARE(written.paths, (std::vector{svgPath.toStdString(), pngPath.toStdString()}));

        const QByteArray bytes = Contents(svgPath);
        QVERIFY(QSvgRenderer(bytes).isValid());
        const SvgContents svg = ReadSvg(bytes);
        QVERIFY2(svg.parsed, qPrintable(svg.error));
        QCOMPARE(svg.viewBox, QRectF(0, 0, 960, 600));
        QCOMPARE(svg.title, QString::fromStdString(model.title));
        for (const std::string& fact : model.facts)
            QVERIFY(svg.description.contains(QString::fromStdString(fact)));
        QVERIFY(svg.HasText("+57.29 dB"));
        QCOMPARE(PictureSize(pngPath), QSize(1280, 800));

        QVERIFY(WriteChartFiles(model, dir.path().toStdString(), "obw", false).paths ==
                std::vector{dir.filePath("obw.svg").toStdString()});
        QVERIFY(!QFile::exists(dir.filePath("obw.png")));
    }

    // Facts from outside (a DUT's name) are text in the SVG, never markup: the file stays valid
    // and its title and description read back as they were.
    void svgTextFromOutside() {
        const QtTemporaryFolder dir;
        ChartModel model = CannedObwChart();
        model.title = "OBW: PASS <&> \"'";
        model.facts.push_back("DUT <svg onload=\"x()\">&amp;");
        QCOMPARE(SaveChartPicture(model, dir.filePath("chart.svg")), QString());
        const QByteArray bytes = Contents(dir.filePath("chart.svg"));
        const SvgContents svg = ReadSvg(bytes);
        QVERIFY2(svg.parsed, qPrintable(svg.error));
        QVERIFY(QSvgRenderer(bytes).isValid());
        QCOMPARE(svg.title, QString::fromStdString(model.title));
        QVERIFY(svg.description.endsWith(QString::fromStdString(model.facts.back())));
        QVERIFY(!bytes.contains("<svg onload"));
    }

    // A name taken by either file moves both on to "-2", "-3" ...; what was there stays.
    void neverOverwrites_data() {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<bool>("png");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("free") << QStringList{} << true << QStringList{"acp.svg", "acp.png"};
        QTest::newRow("svg taken")
            << QStringList{"acp.svg"} << true << QStringList{"acp-2.svg", "acp-2.png"};
        QTest::newRow("png taken")
            << QStringList{"acp.png"} << true << QStringList{"acp-2.svg", "acp-2.png"};
        QTest::newRow("one of each taken")
            << QStringList{"acp.svg", "acp-2.png"} << true << QStringList{"acp-3.svg", "acp-3.png"};
        QTest::newRow("without png, only the svg counts")
            << QStringList{"acp.png"} << false << QStringList{"acp.svg"};
        QTest::newRow("a folder by the name")
            << QStringList{"acp.svg/"} << false << QStringList{"acp-2.svg"};
    }

    void neverOverwrites() {
        QFETCH(QStringList, existing);
        QFETCH(bool, png);
        QFETCH(QStringList, expected);
        const QtTemporaryFolder dir;
        for (const QString& name : existing) {
            if (name.endsWith('/')) {
                QVERIFY(dir.mkdir(name.chopped(1)));
            } else {
                Put(dir.filePath(name), "kept " + name.toUtf8());
            }
        }
        const WrittenChart written =
            WriteChartFiles(CannedAcpChart(), dir.path().toStdString(), "acp", png);
        QCOMPARE(written.failure, std::string());
        std::vector<std::string> paths;
        for (const QString& name : expected) paths.push_back(dir.filePath(name).toStdString());
        QCOMPARE(written.paths, paths);
        for (const QString& name : existing) {
            if (!name.endsWith('/'))
                QCOMPARE(Contents(dir.filePath(name)), "kept " + name.toUtf8());
        }
    }

    // A file (or folder) made by someone else after the name was found free and before the
    // chart's file is created stays as it is; the next free name takes both files.
    void neverOverwritesAFileMadeMeanwhile_data() {
        QTest::addColumn<QString>("made");
        QTest::addColumn<bool>("png");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("svg") << "acp.svg" << true << QStringList{"acp-2.svg", "acp-2.png"};
        QTest::newRow("svg, without png") << "acp.svg" << false << QStringList{"acp-2.svg"};
        QTest::newRow("png") << "acp.png" << true << QStringList{"acp-2.svg", "acp-2.png"};
        QTest::newRow("a folder by the svg's name")
            << "acp.svg/" << true << QStringList{"acp-2.svg", "acp-2.png"};
    }

    void neverOverwritesAFileMadeMeanwhile() {
        QFETCH(QString, made);
        QFETCH(bool, png);
        QFETCH(QStringList, expected);
        const QtTemporaryFolder dir;
        const bool folder = made.endsWith('/');
        const QString madeName = folder ? made.chopped(1) : made;
        const QString madePath = dir.filePath(madeName);
        const auto makeMeanwhile = [&](const QString& path) {
            if (path != madePath || QFileInfo::exists(path)) return;
            if (folder) {
                QVERIFY(dir.mkdir(madeName));
            } else {
                Put(path, "theirs");
            }
        };
        const WrittenChart written =
            WriteChartFiles(CannedAcpChart(), dir.path().toStdString(), "acp", png, makeMeanwhile);
        QCOMPARE(written.failure, std::string());
        std::vector<std::string> paths;
        for (const QString& name : expected) paths.push_back(dir.filePath(name).toStdString());
        QCOMPARE(written.paths, paths);
        QStringList present = expected;
        present << madeName;
        present.sort();
        QStringList entries = dir.entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        entries.sort();
        QCOMPARE(entries, present);
        if (!folder) QCOMPARE(Contents(madePath), QByteArray("theirs"));
    }

    // A folder that is not there is made, parents and all, and takes the files.
    void makesAFolderThatIsNotThere() {
        const QtTemporaryFolder dir;
        const QString folder = dir.filePath("no such folder/day 1");
        const WrittenChart written =
            WriteChartFiles(CannedObwChart(), folder.toStdString(), "obw", true);
        QCOMPARE(written.failure, std::string());
        QCOMPARE(written.paths, (std::vector<std::string>{(folder + "/obw.svg").toStdString(),
                                                          (folder + "/obw.png").toStdString()}));
    }

    // Where the folder cannot be made: the path tried and the system's reason, nothing written.
    void aFolderThatCannotBeMade() {
        const QtTemporaryFolder dir;
        Put(dir.filePath("a file"), "not a folder");
        for (const QString& folder : {dir.filePath("a file"), dir.filePath("a file/below")}) {
            const WrittenChart written =
                WriteChartFiles(CannedObwChart(), folder.toStdString(), "obw", true);
            QVERIFY(written.paths.empty());
            const std::string prefix =
                "cannot write the chart \"" + (folder + "/obw.svg").toStdString() + "\": ";
            QVERIFY2(written.failure.starts_with(prefix), written.failure.c_str());
            QVERIFY(written.failure.size() > prefix.size());
        }
        QCOMPARE(dir.entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"a file"});
        QCOMPARE(Contents(dir.filePath("a file")), QByteArray("not a folder"));
    }

    void aFolderWithoutWritePermission() {
        const QtTemporaryFolder dir;
        const QString folder = dir.filePath("read only");
        QVERIFY(dir.mkdir("read only"));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        if (QFileInfo(folder).isWritable()) QSKIP("the user may write anywhere (root)");
        const WrittenChart written =
            WriteChartFiles(CannedObwChart(), folder.toStdString(), "obw", true);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(written.paths.empty());
        QVERIFY2(written.failure.starts_with("cannot write the chart \"" +
                                             (folder + "/obw.svg").toStdString() + "\": "),
                 written.failure.c_str());
    }

    // Where the folder is not there: the reason, nothing written.
    void aPictureWhereNoFolderIs() {
        const QtTemporaryFolder dir;
        const QString elsewhere = dir.filePath("no such folder/chart.png");
        QVERIFY(!SaveChartPicture(CannedAcpChart(), elsewhere).isEmpty());
        QVERIFY(!QFile::exists(elsewhere));
    }

    // The kind of picture by the name's ending in any case; any other ending is refused with the
    // endings accepted, and nothing is written (not even over a file of that name).
    void picturesByTheirEnding_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>(
            "format");  // as the image reader names it; "svg"; empty: refused
        QTest::newRow("png") << "chart.png" << QByteArray("png");
        QTest::newRow("svg") << "chart.svg" << QByteArray("svg");
        QTest::newRow("jpg") << "chart.jpg" << QByteArray("jpeg");
        QTest::newRow("JPEG") << "chart.JPEG" << QByteArray("jpeg");
        QTest::newRow("jpeg") << "chart.v2.jpeg" << QByteArray("jpeg");
        QTest::newRow("gif") << "chart.gif" << QByteArray();
        QTest::newRow("jpg in the middle") << "chart.jpg.txt" << QByteArray();
        QTest::newRow("no ending") << "chart" << QByteArray();
        QTest::newRow("only a dot") << "chart.png." << QByteArray();
    }

    void picturesByTheirEnding() {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        const QtTemporaryFolder dir;
        const QString path = dir.filePath(name);
        Put(path, "kept");
        const QString reason = SaveChartPicture(CannedMaskChart(), path);
        if (format.isEmpty()) {
            QCOMPARE(reason, QStringLiteral("the name must end in .png, .svg, .jpg or .jpeg"));
            QCOMPARE(Contents(path), QByteArray("kept"));
            QCOMPARE(dir.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                     QStringList{name});
            return;
        }
        QCOMPARE(reason, QString());
        const QByteArray bytes = Contents(path);
        if (format == "svg") {
            QVERIFY(QSvgRenderer(bytes).isValid());
            return;
        }
        QBuffer buffer;
        buffer.setData(bytes);
        QImageReader reader(&buffer);
        QCOMPARE(reader.format(), format);
        QCOMPARE(reader.size(), QSize(1280, 800));
    }
};

}  // namespace

QTEST_MAIN(ChartFilesTest)
#include "ChartFilesTest.moc"
