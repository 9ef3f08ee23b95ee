#include "charts/drawing/output/ChartFileWriter.h"

namespace kelvane {

WrittenChart ChartFileWriter::Write(const ChartModel& model, const std::string& folder,
                                    const std::string& stem, bool png) {
    application_.MakeSure();
    return WriteChartFiles(model, folder, stem, png);
}

}  // namespace kelvane
