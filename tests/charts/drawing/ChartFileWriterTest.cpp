// Charts from a program without a window and without a display: the writer brings up Qt's
// offscreen platform itself. This program makes no QApplication of its own, and runs without
// DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM (see CMakeLists.txt).
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/drawing/output/ChartFileWriter.h"
#include "tests/charts/drawing/CannedCharts.h"

namespace kelvane {
namespace {

TEST(ChartFileWriterTest, WritesChartsWithoutAWindowOrDisplay) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    QTemporaryDir dir;
    ChartFileWriter writer;
    const std::string folder = dir.path().toStdString();

    const WrittenChart first = writer.Write(testing::CannedMaskChart(), folder, "sem", true);
    EXPECT_EQ(first.failure, "");
    EXPECT_EQ(first.paths, (std::vector<std::string>{folder + "/sem.svg", folder + "/sem.png"}));
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    QCoreApplication* application = QCoreApplication::instance();
    EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
    QImageReader picture(QString::fromStdString(folder + "/sem.png"));
    EXPECT_EQ(picture.size(), QSize(1280, 800));
    EXPECT_FALSE(picture.read().isNull());

    // The same application for every chart; the next one beside the first.
    const WrittenChart second = writer.Write(testing::CannedAcpChart(), folder, "sem", false);
    EXPECT_EQ(second.paths, std::vector<std::string>{folder + "/sem-2.svg"});
    EXPECT_EQ(QCoreApplication::instance(), application);

    const WrittenChart failed =
        writer.Write(testing::CannedObwChart(), folder + "/sem.svg", "obw", true);
    EXPECT_TRUE(failed.paths.empty());
    EXPECT_EQ(
        failed.failure.rfind("cannot write the chart \"" + folder + "/sem.svg/obw.svg\": ", 0), 0u)
        << failed.failure;
}

}  // namespace
}  // namespace kelvane
