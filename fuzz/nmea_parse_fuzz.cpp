// Arbitrary sentence bodies into the readers alone (any length, NULs
// included), then through every sentence's slot into the GPS record, then the
// magnetic variation, the sun times and the GPS page drawn from whatever they
// left.
//
// Input: one byte of settings (speed unit, fuel unit, AUTO/MANUAL variation,
// position format), one byte choosing a "GPxxx," prefix or none, then the
// body (at most 200 characters go into a slot, not terminated when it is
// that long).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "gfx/draw.h"
#include "gps/geomag.h"
#include "gps/nmea_fields.h"
#include "gps/page_gps.h"
#include "gps/sun.h"
#include "settings/settings.h"
#include "system/clock.h"

namespace {

void fill(char* slot, const std::string& prefix, const uint8_t* data, size_t size)
{
    std::memset(slot, 0, ems::NMEA_BODY_MAX + 1);
    const size_t p = prefix.size();
    std::memcpy(slot, prefix.data(), p);
    const size_t n = size < ems::NMEA_BODY_MAX - p ? size : ems::NMEA_BODY_MAX - p;
    std::memcpy(slot + p, data, n);
    if (p + n == ems::NMEA_BODY_MAX) slot[ems::NMEA_BODY_MAX] = 'X'; // no terminator at all
}

bool finite(float v) { return std::isfinite(v); }

// The readers take any body without a global: every record they give is
// finite and within its declared ranges.
void check_readers(std::string_view body)
{
    const ems::RmcFields rmc = ems::read_rmc(body);
    if (!finite(rmc.latitude) || !finite(rmc.longitude) || !finite(rmc.knots)) std::abort();
    if (rmc.course == 360) std::abort();
    (void)ems::read_gga(body);
    const ems::GsaFields gsa = ems::read_gsa(body);
    if (!finite(gsa.pdop) || !finite(gsa.hdop) || !finite(gsa.vdop) || gsa.fix_type > 9) std::abort();
    for (size_t k = 12; k < gsa.prn_used.size(); ++k)
        if (gsa.prn_used[k] != 0) std::abort();
    const ems::GsvFields gsv = ems::read_gsv(body);
    if (gsv.count > 4 || gsv.first + gsv.count > 12) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool once = [] {
        ems::settings_load_defaults();
        ems::build_trig_tables();
        ems::clk.clock_utc = ems::ClockRecord{0, 0, 12, 21, 6, 2024};
        return true;
    }();
    (void)once;
    if (size < 2) return 0;
    const uint8_t s = data[0];
    ems::settings.speed_unit = s % 4;
    ems::settings.fuel_unit = (s >> 2) % 7;
    ems::settings.gps_local_variation = (s >> 5) & 1;
    ems::settings.gps_position_format = (s >> 6) % 4;
    const bool prefixed = data[1] & 1;
    data += 2;
    size -= 2;

    check_readers({reinterpret_cast<const char*>(data), size});
    for (const ems::NmeaSentence& s : ems::NMEA_SENTENCES) {
        const std::string prefix = prefixed ? "GP" + std::string(s.id) + "," : "";
        check_readers(prefix + std::string(reinterpret_cast<const char*>(data), size));
        fill(ems::nmea.*s.slot, prefix, data, size);
    }
    for (const ems::NmeaSentence& s : ems::NMEA_SENTENCES) s.parse();

    const ems::GpsState& g = ems::gps;
    if (!std::isfinite(g.gps_latitude) || !std::isfinite(g.gps_longitude)) std::abort();
    if (!std::isfinite(g.gps_pdop) || !std::isfinite(g.gps_hdop) || !std::isfinite(g.gps_vdop)) std::abort();
    if (g.gps_course_mag < 0 || g.gps_course_mag > 359) std::abort();

    ems::magvar_update();
    ems::nmea.nmea_active = s & 1;
    ems::page_gps(); // sun times, formats and the sky view with these values
    return 0;
}
