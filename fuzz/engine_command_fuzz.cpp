// Fuzzes the "engine" scenario command: each input line split into words,
// run against one engine session, which then steps a tick. A refusal always
// says why, and no line makes the engine's outputs anything but numbers.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/engine/core/engine_session.h"
#include "host/script/core/scenario_parse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    host::EngineSession session;
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::vector<std::string> words;
        std::string error;
        if (host::split_scenario_line(text.substr(start, end - start), words, error) && !words.empty()) {
            words.insert(words.begin(), "engine");
            host::EngineDriveRequest drive;
            if (!host::engine_command(session, words, drive, error) && error.empty()) std::abort();
            session.tick();
            const engine::Outputs& o = session.model().outputs();
            for (double v : {o.rpm, o.map_pa, o.fuel_flow_kg_s, o.oil_temp_k, o.oil_pressure_pa, o.bus_volts, o.egt_k[0], o.cht_k[3]})
                if (!std::isfinite(v)) std::abort();
        }
        start = end + 1;
    }
    return 0;
}
