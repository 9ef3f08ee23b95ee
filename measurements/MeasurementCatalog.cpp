#include "measurements/MeasurementCatalog.h"

#include "measurements/wcdma/AdjacentChannelPower.h"
#include "measurements/wcdma/ChannelPower.h"
#include "measurements/wcdma/OccupiedBandwidth.h"
#include "measurements/wcdma/WcdmaEmissionMask.h"
#include "measurements/wlan/TotalPower11b.h"
#include "measurements/wlan/WlanEmissionMask.h"

namespace kelvane {

namespace {

// A W-CDMA measurement at the set-up's carrier and reference level.
using WcdmaMeasurement = MeasurementResult (*)(MeasurementContext&, double, double);

std::function<MeasurementResult(MeasurementContext&)> AtWcdmaCarrier(WcdmaMeasurement measure) {
    return [measure](MeasurementContext& context) {
        return measure(context, context.setup.wcdmaCenterHz, context.setup.referenceLevelDbm);
    };
}

}  // namespace

const std::vector<CatalogEntry>& MeasurementCatalog() {
    static const std::vector<CatalogEntry> catalog{
        {"ch-power", "CH Power", AtWcdmaCarrier(&ChannelPower)},
        {"obw", "OBW", AtWcdmaCarrier(&OccupiedBandwidth)},
        {"acp", "ACP", AtWcdmaCarrier(&AdjacentChannelPower)},
        {"sem", "S.E.M.", AtWcdmaCarrier(&WcdmaEmissionMask)},
        {"sem-11a", "SEM (11a)", &WlanEmissionMask11a},
        {"sem-11b", "SEM (11b)", &WlanEmissionMask11b},
        {"total-power-11b", "Total Power (11b)", &TotalPower11b},
    };
    return catalog;
}

const CatalogEntry* FindMeasurement(std::string_view name) {
    for (const auto& entry : MeasurementCatalog()) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

}  // namespace kelvane
