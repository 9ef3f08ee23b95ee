#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "charts/ChartModel.h"
#include "charts/WrittenChart.h"
#include "platform/files/SystemFile.h"

namespace kelvane {

// The chart as files, drawn by ChartPainter: SVG through QSvgGenerator, PNG and JPEG through a
// QImage.
// Needs a QGuiApplication (ChartFileWriter makes one where there is none).
//
// A file is written whole or not at all: the picture is drawn into memory, written under a
// temporary name in the same folder (".<name>.<random>.part") and given its name only once
// every byte is in; on any failure the temporary file is removed and the reason is the system's
// ("No space left on device").

// Called with a file's path after its name was found free and before the written file takes it:
// where a test makes the file meanwhile, as another program could.
using BeforeChartFile = std::function<void(const QString& path)>;

// Writes <folder>/<stem>.svg, and <folder>/<stem>.png beside it when `png`, making the folder
// (and its parents) when it is not there; never over an existing file, not even one made after
// the name was found free: the stem gets "-2", "-3" ... until neither name is taken. A PNG that
// cannot be written leaves the SVG written before it. `write` writes the files' bytes; tests give
// one that stops short.
WrittenChart WriteChartFiles(const ChartModel& model, const std::string& folder,
                             const std::string& stem, bool png,
                             const BeforeChartFile& beforeCreate = {},
                             const FileWrite& write = WriteToFile);

// The pictures SaveChartPicture writes, by the name's ending in any case: ".png", ".svg", ".jpg"
// or ".jpeg"; none for any other name.
enum class PictureKind { Png, Svg, Jpeg };
std::optional<PictureKind> PictureKindOf(const QString& path);

// The reason a name is refused: it names the endings accepted.
QString RefusedPictureName();

// One picture at `path`, PNG (1280 x 800), SVG or JPEG (1280 x 800) by its name's ending
// (PictureKindOf), replacing the file only once the new one is whole; empty on success, else
// the reason. A name of any other ending is refused before anything is written
// (RefusedPictureName).
QString SaveChartPicture(const ChartModel& model, const QString& path,
                         const FileWrite& write = WriteToFile);

}  // namespace kelvane
