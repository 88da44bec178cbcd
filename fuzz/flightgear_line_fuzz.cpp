// Arbitrary FlightGear datagrams, cut into lines, through the link's line
// parser; each line taken is turned into the raw inputs and the position
// sentences it drives. A taken line has every value inside its field's
// range, every raw input lies inside its slider's range, and the sentences
// are four short GP sentences ending in CR LF.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/flightgear/core/flightgear_drive.h"
#include "host/flightgear/core/flightgear_line.h"
#include "sensors/sensor_inverse.h"
#include "settings/settings.h"

namespace {

void check_inputs(const host::FlightGearSample& s)
{
    for (const host::DrivenInput& d : host::flightgear_inputs(s)) {
        int32_t lo = 0, hi = ems::ADC_INPUT_MAX;
        if (d.input == host::SimInput::Tc) lo = ems::TC_INPUT_MIN, hi = ems::TC_INPUT_MAX;
        if (d.input == host::SimInput::RpmPeriod) lo = ems::RPM_PERIOD_MIN, hi = ems::RPM_PERIOD_STOPPED;
        if (d.input == host::SimInput::FlowPulses) hi = ems::FLOW_PULSES_MAX;
        if (d.value < lo || d.value > hi) std::abort();
    }
    const std::string nmea = host::flightgear_nmea(s, {}, int(s.rpm) % 3);
    size_t lines = 0, start = 0;
    for (size_t nl = nmea.find('\n'); nl != std::string::npos; nl = nmea.find('\n', start)) {
        const std::string_view line(nmea.data() + start, nl + 1 - start);
        if (line.substr(0, 3) != "$GP" || line.size() > 82 || line[line.size() - 2] != '\r') std::abort();
        ++lines;
        start = nl + 1;
    }
    if (lines != 4 || start != nmea.size()) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool defaults = [] {
        ems::settings_load_defaults();
        ems::calibration_load_defaults();
        return true;
    }();
    (void)defaults;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        const std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        host::FlightGearSample s;
        const host::FlightGearResult r = host::parse_flightgear_line(line, s);
        if (host::flightgear_reason(r, line).empty()) std::abort();
        if (r.status != host::FlightGearParse::Ok) continue;
        for (const host::FlightGearField& f : host::FLIGHTGEAR_FIELD_TABLE)
            if (!(s.*f.member >= f.lowest && s.*f.member <= f.highest)) std::abort();
        check_inputs(s);
    }
    return 0;
}
