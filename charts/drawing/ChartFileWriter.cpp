#include "charts/drawing/ChartFileWriter.h"

#include <QCoreApplication>

namespace kelvane {

ChartFileWriter::ChartFileWriter() {
    for (std::size_t i = 0; i < arguments_.size(); ++i) argv_[i] = arguments_[i].data();
}

ChartFileWriter::~ChartFileWriter() = default;

void ChartFileWriter::MakeSureOfApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    application_ = std::make_unique<QGuiApplication>(argc_, argv_.data());
}

ChartFilesWritten ChartFileWriter::Write(const ChartModel& model, const std::string& folder,
                                         const std::string& stem, bool png) {
    MakeSureOfApplication();
    return WriteChartFiles(model, folder, stem, png);
}

}  // namespace kelvane
