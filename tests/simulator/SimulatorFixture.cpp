#include "tests/simulator/SimulatorFixture.h"

#include <cstdio>

namespace kelvane::testing {

std::vector<std::string> Fields(const std::string& reply) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = reply.find(',', start);
        fields.push_back(reply.substr(start, comma - start));
        if (comma == std::string::npos) return fields;
        start = comma + 1;
    }
}

const std::vector<std::string>& ObwSetup() {
    static const std::vector<std::string> commands{"SI",
                                                   "SP 10e6HZ",
                                                   "CF 2000000000HZ",
                                                   "RL 0DB",
                                                   "RB 30e3HZ; VB 30e3HZ",
                                                   "AS",
                                                   "DET POS",
                                                   "OBWPER 99",
                                                   "OBWON",
                                                   "AGSGL",
                                                   "AG 10",
                                                   "AGR",
                                                   "CONTS"};
    return commands;
}

const std::vector<std::string>& AcpSetup() {
    static const std::vector<std::string> commands{"SI",
                                                   "SP 25e6HZ",
                                                   "CF 2000000000HZ",
                                                   "RL 0DB",
                                                   "RB 30e3HZ; VB 30e3HZ",
                                                   "AS",
                                                   "ACPSCR CARR",
                                                   "CARRBS 3.84MZ",
                                                   "CSBSDEL",
                                                   "CSBSIN 5MZ,3.84MZ",
                                                   "CSBSIN 10MZ,3.84MZ",
                                                   "DETAA ON",
                                                   "ACP",
                                                   "AGSGL",
                                                   "AG 10",
                                                   "AGR",
                                                   "CONTS"};
    return commands;
}

const std::vector<std::string>& ChannelPowerSetup() {
    static const std::vector<std::string> commands{"SI",
                                                   "SP 10e6HZ",
                                                   "CF 2000000000HZ",
                                                   "RL 0DB",
                                                   "RB 300e3HZ VB 300e3HZ",
                                                   "AS",
                                                   "DETAA ON",
                                                   "WLX 2000000000HZ",
                                                   "WDX 3840000HZ",
                                                   "PWCHON",
                                                   "PMEASAVGONCE ONCE",
                                                   "PWCHTM 10",
                                                   "PMEASAVG ON",
                                                   "CONTS"};
    return commands;
}

const std::vector<std::string>& Mask3gppSetup() {
    static const std::vector<std::string> commands{
        "SI",
        "CF 2000000000HZ",
        "RL 0DB",
        "AL",
        "DETAA ON",
        "SP 20MZ",
        "SEMCBW 3.84MZ",
        "SEMRFCALC CHN",
        "SEMNQST OFF",
        "SEMTDEL",
        "SEMTIN 2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS",
        "SEMTIN 2.715MZ,3.515MZ, 30KZ, -14DB, -26DB, 0DB, 0DB,ABS",
        "SEMTIN 3.515MZ,4.0MZ, 30KZ, -26DB, -26DB, 0DB, 0DB,ABS",
        "SEMTIN 4.0MZ,8.0MZ, 1MZ, -13DB, -13DB, 0DB, 0DB,ABS",
        "SEMON",
        "TS"};
    return commands;
}

std::vector<std::string> WlanMaskSetup(bool is11a, double peakDbm) {
    const double l0 = peakDbm + 2.0;
    const auto row = [](const char* prefix, double start, double stop) {
        char text[120];
        std::snprintf(text, sizeof text, "%s%gDB,%gDB,0DB, 0DB, ABS", prefix, start, stop);
        return std::string(text);
    };
    std::vector<std::string> commands{"SEMTDEL"};
    if (is11a) {
        commands.push_back(row("SEMTIN  0MZ,  9MZ, 100KZ,", l0, l0));
        commands.push_back(row("SEMTIN  9MZ, 11MZ, 100KZ,", l0, l0 - 20));
        commands.push_back(row("SEMTIN 11MZ, 20MZ, 100KZ,", l0 - 20, l0 - 28));
        commands.push_back(row("SEMTIN 20MZ, 30MZ, 100KZ,", l0 - 28, l0 - 40));
        commands.push_back(row("SEMTIN 30MZ, 39MZ, 100KZ,", l0 - 40, l0 - 40));
    } else {
        commands.push_back(row("SEMTIN  0MZ, 11MZ, 100KZ,", l0, l0));
        commands.push_back(row("SEMTIN 11MZ, 22MZ, 100KZ,", l0 - 30, l0 - 30));
        commands.push_back(row("SEMTIN 22MZ, 39MZ, 100KZ,", l0 - 50, l0 - 50));
    }
    for (const char* command : {"SEMCBW 16.6MZ", is11a ? "SEMRFCALC PEAK" : "SEMRPFCALC PEAK",
                                "SEMNQST OFF", "PMEASAVG OFF", "SEMON", "TS"})
        commands.emplace_back(command);
    return commands;
}

}  // namespace kelvane::testing
