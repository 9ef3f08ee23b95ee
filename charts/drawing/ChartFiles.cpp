#include "charts/drawing/ChartFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <filesystem>
#include <system_error>

#include "charts/drawing/ChartPainter.h"

namespace kelvane {

namespace {

// The chart's own size; the SVG says so, the PNG is drawn at it and scaled up.
constexpr int kChartWidth = 960;
constexpr int kChartHeight = 600;
constexpr int kPngWidth = 1280;
constexpr int kPngHeight = 800;
constexpr int kSvgDotsPerInch = 96;  // an SVG pixel, as browsers show it
constexpr int kMostNames = 10000;    // "-2" .. "-10000"

QString JoinedFacts(const ChartModel& model) {
    QStringList facts;
    for (const std::string& fact : model.facts) facts << QString::fromStdString(fact);
    return facts.join(QLatin1Char('\n'));
}

// Draws the chart as SVG into `device` (open for writing); false when it could not be written.
bool WriteSvg(const ChartModel& model, QIODevice& device) {
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setSize(QSize(kChartWidth, kChartHeight));
    svg.setViewBox(QRect(0, 0, kChartWidth, kChartHeight));
    svg.setResolution(kSvgDotsPerInch);
    svg.setTitle(QString::fromStdString(model.title));
    svg.setDescription(JoinedFacts(model));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    ChartPainter::Paint(painter, QRectF(0, 0, kChartWidth, kChartHeight), model);
    return painter.end();
}

// The chart as a 1280 x 800 picture: the 960 x 600 chart at 4/3 of its size, so that lines and
// text are as sharp as the pixels allow and the picture looks like the SVG.
QImage Picture(const ChartModel& model) {
    QImage image(kPngWidth, kPngHeight, QImage::Format_RGB32);
    image.setDevicePixelRatio(static_cast<double>(kPngWidth) / kChartWidth);
    image.fill(Qt::white);
    QPainter painter(&image);
    ChartPainter::Paint(painter, QRectF(0, 0, kChartWidth, kChartHeight), model);
    painter.end();
    return image;
}

QString WritePng(const ChartModel& model, QIODevice& device) {
    QImageWriter writer(&device, "png");
    if (writer.write(Picture(model))) return {};
    return writer.errorString();
}

std::string Failure(const QString& path, const QString& reason) {
    return QStringLiteral("cannot write the chart \"%1\": %2")
        .arg(QDir::toNativeSeparators(path), reason)
        .toStdString();
}

// The reason a file could not be created, or written and closed.
QString Reason(const QFileDevice& file, const QString& fallback) {
    return file.error() != QFileDevice::NoError ? file.errorString() : fallback;
}

enum class Created { Yes, Taken, Failed };

// Creates the file only where none is, checking and creating in one step (O_EXCL): never over
// another, even one made after the name was found free.
Created CreateNew(QFile& file, QString& reason, const BeforeChartFile& beforeCreate) {
    if (beforeCreate) beforeCreate(file.fileName());
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return Created::Yes;
    if (QFileInfo::exists(file.fileName())) return Created::Taken;
    reason = file.errorString();
    return Created::Failed;
}

}  // namespace

WrittenChart WriteChartFiles(const ChartModel& model, const std::string& folder,
                             const std::string& stem, bool png,
                             const BeforeChartFile& beforeCreate) {
    const QDir directory(QString::fromStdString(folder));
    const QString base = QString::fromStdString(stem);
    // A folder that is not there yet is made; one that cannot be made (no permission, a file in
    // the way) is the chart's failure.
    if (std::error_code made; !std::filesystem::create_directories(folder, made) && made) {
        return {{},
                Failure(directory.filePath(base + QStringLiteral(".svg")),
                        QString::fromStdString(made.message()))};
    }
    WrittenChart written;
    for (int number = 1; number <= kMostNames; ++number) {
        const QString name = number == 1 ? base : QStringLiteral("%1-%2").arg(base).arg(number);
        const QString svgPath = directory.filePath(name + QStringLiteral(".svg"));
        const QString pngPath = directory.filePath(name + QStringLiteral(".png"));
        if (QFileInfo::exists(svgPath) || (png && QFileInfo::exists(pngPath))) continue;

        QString reason;
        QFile svgFile(svgPath);
        const Created svgCreated = CreateNew(svgFile, reason, beforeCreate);
        if (svgCreated == Created::Taken) continue;
        if (svgCreated == Created::Failed) return {{}, Failure(svgPath, reason)};
        if (!WriteSvg(model, svgFile) || !svgFile.flush() || svgFile.error() != QFile::NoError) {
            reason = Reason(svgFile, QStringLiteral("the SVG could not be drawn"));
            svgFile.remove();
            return {{}, Failure(svgPath, reason)};
        }
        svgFile.close();
        written.paths.push_back(svgPath.toStdString());
        if (!png) return written;

        QFile pngFile(pngPath);
        const Created pngCreated = CreateNew(pngFile, reason, beforeCreate);
        if (pngCreated != Created::Yes) {
            // Taken since the look above: this name is not free after all.
            QFile::remove(svgPath);
            written.paths.clear();
            if (pngCreated == Created::Taken) continue;
            return {{}, Failure(pngPath, reason)};
        }
        reason = WritePng(model, pngFile);
        if (reason.isEmpty() && !pngFile.flush()) reason = pngFile.errorString();
        if (!reason.isEmpty()) {
            pngFile.remove();
            return {written.paths, Failure(pngPath, reason)};
        }
        pngFile.close();
        written.paths.push_back(pngPath.toStdString());
        return written;
    }
    return {{},
            Failure(directory.filePath(base + QStringLiteral(".svg")),
                    QStringLiteral("every name up to \"-%1\" is taken").arg(kMostNames))};
}

QString SaveChartPicture(const ChartModel& model, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        if (!WriteSvg(model, file)) {
            file.cancelWriting();
            return Reason(file, QStringLiteral("the SVG could not be drawn"));
        }
    } else if (const QString reason = WritePng(model, file); !reason.isEmpty()) {
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return file.errorString();
    return {};
}

}  // namespace kelvane
