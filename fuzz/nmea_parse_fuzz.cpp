// Arbitrary sentence bodies into the four parsers, then the magnetic
// variation, the sun times and the GPS page drawn from whatever they left.
//
// Input: one byte of settings (speed unit, fuel unit, AUTO/MANUAL variation,
// position format), one byte choosing a "GPxxx," prefix or none, then the
// body (at most 200 characters; the slot is filled with it, not terminated
// when it is that long).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "config/settings.h"
#include "gfx/draw.h"
#include "gps/geomag.h"
#include "gps/gps_data.h"
#include "gps/page_gps.h"
#include "gps/sun.h"
#include "system/clock.h"

namespace {

void fill(char* slot, const char* prefix, const uint8_t* data, size_t size)
{
    std::memset(slot, 0, ems::NMEA_BODY_MAX + 1);
    const size_t p = std::strlen(prefix);
    std::memcpy(slot, prefix, p);
    const size_t n = size < ems::NMEA_BODY_MAX - p ? size : ems::NMEA_BODY_MAX - p;
    std::memcpy(slot + p, data, n);
    if (p + n == ems::NMEA_BODY_MAX) slot[ems::NMEA_BODY_MAX] = 'X'; // no terminator at all
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

    fill(ems::nmea.nmea_rmc, prefixed ? "GPRMC," : "", data, size);
    fill(ems::nmea.nmea_gga, prefixed ? "GPGGA," : "", data, size);
    fill(ems::nmea.nmea_gsa, prefixed ? "GPGSA," : "", data, size);
    fill(ems::nmea.nmea_gsv, prefixed ? "GPGSV," : "", data, size);
    ems::nmea_parse_rmc();
    ems::nmea_parse_gga();
    ems::nmea_parse_gsa();
    ems::nmea_parse_gsv();

    const ems::GpsState& g = ems::gps;
    if (!std::isfinite(g.gps_latitude) || !std::isfinite(g.gps_longitude)) std::abort();
    if (!std::isfinite(g.gps_pdop) || !std::isfinite(g.gps_hdop) || !std::isfinite(g.gps_vdop)) std::abort();
    if (g.gps_course_mag < 0 || g.gps_course_mag > 359) std::abort();

    ems::magvar_update();
    ems::nmea.nmea_active = s & 1;
    ems::page_gps(); // sun times, formats and the sky view with these values
    return 0;
}
