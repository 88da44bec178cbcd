// Magnetic variation and sun times derived from the GPS position and the
// instrument's date, for the magnetic course and the GPS information page.
#pragma once
#include <cstdint>

namespace ems {

// Results of magvar_update and sun_time; `magsun = MagSunState{}` is the
// program-start state.
struct MagSunState {
    // Magnetic declination in degrees, east positive; kept between updates.
    // NaN where it cannot be defined (horizontal field below 100 nT).
    float mag_variation = 0;
    // The last sunrise or sunset computed by sun_time, in local hours. Not
    // wrapped: may lie below 0 or from 24 up. NaN when the sun does not rise
    // or set on that date at that latitude (polar day or night).
    float sun_event_hours = 0;
};
extern MagSunState magsun;

// Sunrise (rising = 1) or sunset (rising = 0) for the date of clock_utc
// (day, month 1..12, full year) at gps_latitude / gps_longitude, shifted by
// settings.utc_offset; stores it in magsun.sun_event_hours. Almanac for
// Computers algorithm, zenith 90 deg 50 min, single precision.
void sun_time(uint8_t rising);

// The same computation with explicit inputs (year in full, e.g. 1990;
// utc_offset in minutes). Returns local hours, or NaN as above.
float sun_event(uint8_t rising, int day, int month, int year, float latitude, float longitude,
                int16_t utc_offset);

} // namespace ems
