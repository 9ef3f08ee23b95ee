#include "charts/drawing/ChartFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QSvgGenerator>
#include <cerrno>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "charts/drawing/ChartPainter.h"
#include "charts/drawing/ChartStyle.h"

namespace kelvane {

namespace {

// Where a file's chart is drawn: at the chart's own size.
constexpr QRectF kChartArea(QPointF(), ChartStyle::kOwnSize);
constexpr QSize kPngSize(1280, 800);
constexpr int kMostNames = 10000;     // "-2" .. "-10000"
constexpr int kTemporaryNames = 100;  // random temporary names tried before giving up

QString JoinedFacts(const ChartModel& model) {
    QStringList facts;
    for (const std::string& fact : model.facts) facts << QString::fromStdString(fact);
    return facts.join(QLatin1Char('\n'));
}

// QSvgGenerator writes its title and description as they are given, into the SVG's <title> and
// <desc>: a fact from outside (a DUT "<a&b>") would break the SVG, and a report it is put into.
QString XmlText(const QString& text) { return text.toHtmlEscaped(); }

// Draws the chart as SVG into `device` (open for writing); false when it could not be written.
bool WriteSvg(const ChartModel& model, QIODevice& device) {
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setSize(ChartStyle::kOwnSize);
    svg.setViewBox(QRect(QPoint(), ChartStyle::kOwnSize));
    svg.setResolution(96);  // dots per inch: an SVG pixel, as browsers show it
    svg.setTitle(XmlText(QString::fromStdString(model.title)));
    svg.setDescription(XmlText(JoinedFacts(model)));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    ChartPainter::Paint(painter, kChartArea, model);
    return painter.end();
}

// The chart as a 1280 x 800 picture: the 960 x 600 chart at 4/3 of its size, so that lines and
// text are as sharp as the pixels allow and the picture looks like the SVG.
QImage Picture(const ChartModel& model) {
    QImage image(kPngSize, QImage::Format_RGB32);
    image.setDevicePixelRatio(static_cast<double>(kPngSize.width()) / ChartStyle::kOwnSize.width());
    image.fill(Qt::white);
    QPainter painter(&image);
    ChartPainter::Paint(painter, kChartArea, model);
    painter.end();
    return image;
}

// The chart's files, drawn into memory first: nothing of a half-written picture reaches a file,
// and no image library meets a failing file (libpng would print its own "Write Error" and
// report no reason). Empty when the picture could not be drawn.
QByteArray SvgBytes(const ChartModel& model) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return WriteSvg(model, buffer) ? buffer.data() : QByteArray();
}

// The picture through an image library's writer ("png", "jpeg"), at its quality (-1: the
// format's own).
QByteArray ImageBytes(const ChartModel& model, const char* format, int quality = -1) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(Picture(model)) ? buffer.data() : QByteArray();
}

QByteArray PngBytes(const ChartModel& model) { return ImageBytes(model, "png"); }

std::string Failure(const QString& path, const QString& reason) {
    return QStringLiteral("cannot write the chart \"%1\": %2")
        .arg(QDir::toNativeSeparators(path), reason)
        .toStdString();
}

QString ReasonOf(int error) {
    return QString::fromStdString(SystemFile::Reason(error != 0 ? error : EIO));
}

// Writes `bytes` into a new file beside `path` under a temporary name and gives it `path` once
// every byte is in, over another file only when `replace`. Where it does not take the name
// (Taken, Failed) nothing of it is left; on failure `reason` is the system's.
SystemFile::Placed WriteWhole(const QString& path, const QByteArray& bytes, bool replace,
                              const FileWrite& write, const BeforeChartFile& beforePlace,
                              QString& reason) {
    const QFileInfo target(path);
    std::string temporary;
    SystemFile file;
    for (int attempt = 0; attempt < kTemporaryNames && !file.IsOpen(); ++attempt) {
        const QString name =
            QStringLiteral(".%1.%2.part")
                .arg(target.fileName())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        temporary = target.dir().filePath(name).toStdString();
        errno = 0;
        file = SystemFile::CreateNew(temporary);
        if (!file.IsOpen() && errno != EEXIST) break;
    }
    if (!file.IsOpen()) {
        reason = ReasonOf(errno);
        return SystemFile::Placed::Failed;
    }
    errno = 0;
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (write(file, view) != view.size() || !file.Close()) {
        reason = ReasonOf(errno);
        file.Close();
        SystemFile::Remove(temporary);
        return SystemFile::Placed::Failed;
    }
    if (beforePlace) beforePlace(path);
    const SystemFile::Placed placed = SystemFile::Place(temporary, path.toStdString(), replace);
    if (placed != SystemFile::Placed::Yes) {
        reason = ReasonOf(errno);
        SystemFile::Remove(temporary);
    }
    return placed;
}

}  // namespace

WrittenChart WriteChartFiles(const ChartModel& model, const std::string& folder,
                             const std::string& stem, bool png, const BeforeChartFile& beforeCreate,
                             const FileWrite& write) {
    const QDir directory(QString::fromStdString(folder));
    const QString base = QString::fromStdString(stem);
    const QString firstSvg = directory.filePath(base + QStringLiteral(".svg"));
    // A folder that is not there yet is made; one that cannot be made (no permission, a file in
    // the way) is the chart's failure.
    if (std::error_code made; !std::filesystem::create_directories(folder, made) && made)
        return {{}, Failure(firstSvg, QString::fromStdString(made.message()))};
    const QByteArray svg = SvgBytes(model);
    if (svg.isEmpty()) return {{}, Failure(firstSvg, QStringLiteral("the SVG could not be drawn"))};
    const QByteArray picture = png ? PngBytes(model) : QByteArray();
    if (png && picture.isEmpty()) {
        return {{},
                Failure(directory.filePath(base + QStringLiteral(".png")),
                        QStringLiteral("the PNG could not be drawn"))};
    }
    WrittenChart written;
    for (int number = 1; number <= kMostNames; ++number) {
        const QString name = number == 1 ? base : QStringLiteral("%1-%2").arg(base).arg(number);
        const QString svgPath = directory.filePath(name + QStringLiteral(".svg"));
        const QString pngPath = directory.filePath(name + QStringLiteral(".png"));
        if (QFileInfo::exists(svgPath) || (png && QFileInfo::exists(pngPath))) continue;

        QString reason;
        const auto svgPlaced = WriteWhole(svgPath, svg, false, write, beforeCreate, reason);
        if (svgPlaced == SystemFile::Placed::Taken) continue;
        if (svgPlaced == SystemFile::Placed::Failed) return {{}, Failure(svgPath, reason)};
        written.paths.push_back(svgPath.toStdString());
        if (!png) return written;

        const auto pngPlaced = WriteWhole(pngPath, picture, false, write, beforeCreate, reason);
        if (pngPlaced == SystemFile::Placed::Yes) {
            written.paths.push_back(pngPath.toStdString());
            return written;
        }
        if (pngPlaced == SystemFile::Placed::Failed)
            return {written.paths, Failure(pngPath, reason)};
        // Taken since the look above: this name is not free after all.
        SystemFile::Remove(svgPath.toStdString());
        written.paths.clear();
    }
    return {{},
            Failure(firstSvg, QStringLiteral("every name up to \"-%1\" is taken").arg(kMostNames))};
}

std::optional<PictureKind> PictureKindOf(const QString& path) {
    const auto endsWith = [&](const char* ending) {
        return path.endsWith(QLatin1String(ending), Qt::CaseInsensitive);
    };
    if (endsWith(".png")) return PictureKind::Png;
    if (endsWith(".svg")) return PictureKind::Svg;
    if (endsWith(".jpg") || endsWith(".jpeg")) return PictureKind::Jpeg;
    return std::nullopt;
}

QString RefusedPictureName() {
    return QStringLiteral("the name must end in .png, .svg, .jpg or .jpeg");
}

QString SaveChartPicture(const ChartModel& model, const QString& path, const FileWrite& write) {
    const std::optional<PictureKind> kind = PictureKindOf(path);
    if (!kind) return RefusedPictureName();
    QByteArray bytes;
    QString name;
    switch (*kind) {
    case PictureKind::Png:
        bytes = PngBytes(model);
        name = QStringLiteral("PNG");
        break;
    case PictureKind::Svg:
        bytes = SvgBytes(model);
        name = QStringLiteral("SVG");
        break;
    case PictureKind::Jpeg:
        bytes = ImageBytes(model, "jpeg", 92);  // of 100: the text stays sharp
        name = QStringLiteral("JPEG");
        break;
    }
    if (bytes.isEmpty()) return QStringLiteral("the %1 could not be drawn").arg(name);
    QString reason;
    WriteWhole(path, bytes, true, write, {}, reason);
    return reason;
}

}  // namespace kelvane
