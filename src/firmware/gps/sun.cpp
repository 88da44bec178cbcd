// Sunrise and sunset: the algorithm of the Almanac for Computers (1990),
// official zenith 90 degrees 50 minutes, in single precision throughout.
#include "gps/sun.h"

#include <cmath>

#include "gps/gps_data.h"
#include "settings/settings.h"
#include "system/clock.h"

namespace ems {

namespace {

constexpr float D2R = 3.14159265f / 180.0f;
constexpr float R2D = 180.0f / 3.14159265f;

float sin_d(float x) { return std::sin(x * D2R); }
float cos_d(float x) { return std::cos(x * D2R); }
float tan_d(float x) { return std::tan(x * D2R); }

// Truncation of an already floored value, as a float again.
float floor_f(float x) { return std::floor(x); }

// Into [lo, lo + span] by one subtraction or addition of span.
float wrap_once(float x, float span)
{
    if (x > span) return x - span;
    if (x < 0) return x + span;
    return x;
}

} // namespace

float sun_event(uint8_t rising, int day, int month, int year, float latitude, float longitude,
                int16_t utc_offset)
{
    const float mo = float(month);
    const float y = float(year);
    // 1. Day of the year.
    const float n1 = floor_f(275.0f * mo / 9.0f);
    const float n2 = floor_f((mo + 9.0f) / 12.0f);
    const float n3 = 1.0f + floor_f((y - 4.0f * floor_f(y / 4.0f) + 2.0f) / 3.0f);
    const uint16_t n = uint16_t(int32_t(n1 - n2 * n3) + day - 30);

    // 2. Approximate time of the event.
    const float lng_hour = longitude / 15.0f;
    const float t = float(n) + ((rising ? 6.0f : 18.0f) - lng_hour) / 24.0f;

    // 3. Mean anomaly and true longitude of the sun.
    const float m = 0.9856f * t - 3.289f;
    const float l = wrap_once(m + 1.916f * sin_d(m) + 0.020f * sin_d(2.0f * m) + 282.634f, 360.0f);

    // 4. Right ascension, in the quadrant of L, in hours.
    float ra = wrap_once(R2D * std::atan(0.91764f * tan_d(l)), 360.0f);
    ra = ra + (floor_f(l / 90.0f) * 90.0f - floor_f(ra / 90.0f) * 90.0f);
    ra = ra / 15.0f;

    // 5. Declination and the local hour angle's cosine (NaN from here on
    //    when the sun stays above or below the horizon all day).
    const float sin_dec = 0.39782f * sin_d(l);
    const float cos_dec = std::cos(std::asin(sin_dec));
    const float cos_h = (-0.01454f - sin_dec * sin_d(latitude)) / (cos_dec * cos_d(latitude));

    // 6. Hour angle in hours.
    const float acos_h = R2D * std::acos(cos_h);
    const float h = (rising ? 360.0f - acos_h : acos_h) / 15.0f;

    // 7. Universal time.
    const float ut = wrap_once(h + ra - 0.06571f * t - 6.622f - lng_hour, 24.0f);

    // 8. Local time, not wrapped again.
    const int32_t a = utc_offset < 0 ? -int32_t(utc_offset) : int32_t(utc_offset);
    const float shift = float(a / 60) + float(a % 60) / 60.0f;
    return utc_offset < 0 ? ut - shift : ut + shift;
}

void sun_time(uint8_t rising)
{
    const ClockRecord& utc = clk.clock_utc;
    magsun.sun_event_hours = sun_event(rising, utc.day, utc.month, utc.year, gps.gps_latitude,
                                       gps.gps_longitude, settings.utc_offset);
}

} // namespace ems
