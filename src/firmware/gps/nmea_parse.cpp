// The four sentence parsers: RMC, GGA, GSA and GSV bodies from their slots
// into the GPS record.
//
// A slot is copied into a local, always-terminated buffer first, so a parser
// reads at most NMEA_BODY_MAX characters whatever the slot holds. Fields are
// read with the conventions of the standard text-to-number conversions (they
// stop at the first character that is not part of a number; an empty field is
// 0), written out here so that the reading does not depend on the C locale
// and never yields an infinity or NaN.
#include <cmath>
#include <cstring>

#include "config/settings.h"
#include "gps/gps_data.h"
#include "gps/sun.h"
#include "sensors/minmax.h"
#include "sensors/convert.h"

namespace ems {

namespace {

// A body: the text and its length; positions past the end read as NUL.
struct Body {
    char text[NMEA_BODY_MAX + 1];
    size_t length;

    explicit Body(const char* slot)
    {
        std::memcpy(text, slot, NMEA_BODY_MAX);
        text[NMEA_BODY_MAX] = '\0';
        length = std::strlen(text);
    }
    char at(size_t pos) const { return pos < length ? text[pos] : '\0'; }
    const char* from(size_t pos) const { return text + (pos < length ? pos : length); }
};

// Advances past the next comma (or to the end when there is none).
const char* skip_field(const char* p)
{
    while (*p != '\0' && *p != ',') ++p;
    return *p == ',' ? p + 1 : p;
}

const char* skip_fields(const char* p, int n)
{
    for (int i = 0; i < n; ++i) p = skip_field(p);
    return p;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

const char* skip_blanks(const char* p)
{
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// Decimal floating-point value at p: blanks, sign, digits, point, digits,
// exponent. 0 when no digits. Finite: magnitudes saturate at 1e30.
double read_double(const char* p)
{
    p = skip_blanks(p);
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    uint64_t mantissa = 0;
    int scale = 0; // value = mantissa * 10^scale
    bool digits = false;
    for (; is_digit(*p); ++p) {
        digits = true;
        if (mantissa < 100000000000000000ull)
            mantissa = mantissa * 10 + uint64_t(*p - '0');
        else
            ++scale;
    }
    if (*p == '.') {
        for (++p; is_digit(*p); ++p) {
            digits = true;
            if (mantissa < 100000000000000000ull) {
                mantissa = mantissa * 10 + uint64_t(*p - '0');
                --scale;
            }
        }
    }
    if (!digits) return 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        bool exp_negative = false;
        if (*q == '+' || *q == '-') exp_negative = *q++ == '-';
        if (is_digit(*q)) {
            int e = 0;
            for (; is_digit(*q); ++q)
                if (e < 10000) e = e * 10 + (*q - '0');
            scale += exp_negative ? -e : e;
        }
    }
    double value = double(mantissa);
    if (mantissa != 0) {
        if (scale > 60) scale = 60;
        if (scale < -400) scale = -400;
        // Exact powers of ten up to 1e22 keep common values correctly rounded.
        static constexpr double POW10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        if (scale >= 0 && scale <= 22)
            value *= POW10[scale];
        else if (scale < 0 && scale >= -22)
            value /= POW10[-scale];
        else
            value *= std::pow(10.0, scale);
        if (value > 1e30) value = 1e30;
    }
    return negative ? -value : value;
}

// Decimal integer at p: blanks, sign, digits; 0 when no digits. Saturates.
int32_t read_int(const char* p)
{
    p = skip_blanks(p);
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    for (; is_digit(*p); ++p)
        if (value < 10000000000ll) value = value * 10 + (*p - '0');
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return int32_t(value);
}

// Truncates toward zero and keeps the low 16 bits as an unsigned number.
uint16_t trunc16(float v)
{
    if (!std::isfinite(v)) return 0;
    double m = std::fmod(std::trunc(double(v)), 65536.0);
    if (m < 0) m += 65536.0;
    return uint16_t(m);
}

int32_t double_to_i32(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return int32_t(v);
}

uint16_t knots_to(float k, float factor) { return uint16_t(round_tenths(trunc16(k * factor))); }

// A position field and its hemisphere field; "S" or "W" negate it.
double read_position(const char*& p, char negative_letter)
{
    double x = read_double(p);
    p = skip_field(p);
    if (*p == negative_letter) x = -x;
    p = skip_field(p);
    return nmea_degrees(x);
}

// The variation in whole degrees (east positive) that turns true course into
// magnetic: the computed one with a fix and AUTO, else the manual setting.
int32_t course_variation()
{
    const float w = magsun.mag_variation;
    // A variation that cannot be defined (weak horizontal field) falls back
    // to the manual value rather than to an undefined conversion.
    if (gps.gps_fix_valid == 1 && settings.gps_local_variation == 0 && std::isfinite(w)) return float_to_i32(w);
    return settings.gps_manual_variation;
}

// Whatever cleared gps_fix_valid (status V, a GSA without a fix, the link
// timeout, power-on), a parser sees it before any sentence sets it again: the
// last position then no longer belongs to the current fix.
void note_fix_lost()
{
    if (gps.gps_fix_valid == 0) gps.gps_fix_position = 0;
}

// Two positions of one fix a second apart cannot lie a degree apart: the
// sentences now come from another receiver or another recording.
bool position_jumped(float latitude, float longitude)
{
    constexpr float JUMP_DEGREES = 1.0f;
    float dlon = std::fabs(longitude - gps.gps_longitude);
    if (dlon > 180.0f) dlon = 360.0f - dlon;
    return std::fabs(latitude - gps.gps_latitude) > JUMP_DEGREES || dlon > JUMP_DEGREES;
}

// The first position of a fix, or of another source, gets its own variation
// at once, before the magnetic course is derived from it; the main loop
// then renews it every 20 minutes.
void set_position(float latitude, float longitude)
{
    const bool new_place = gps.gps_fix_position == 0 || position_jumped(latitude, longitude);
    gps.gps_latitude = latitude;
    gps.gps_longitude = longitude;
    if (gps.gps_fix_valid == 0 || !new_place) return;
    gps.gps_fix_position = 1;
    gps.magvar_counter = 0;
    magvar_update();
}

// A time field needs at least two characters: "hh...".
bool has_time(const Body& b) { return b.at(6) != ',' && b.at(7) != ',' && b.at(6) != '\0' && b.at(7) != '\0'; }

} // namespace

double nmea_degrees(double ddmm)
{
    const double d = std::trunc(ddmm / 100);
    return d + (ddmm - 100 * d) / 60;
}

void nmea_parse_rmc()
{
    const Body b(nmea.nmea_rmc);
    if (!has_time(b)) return;
    note_fix_lost();
    const char* p = skip_field(b.from(6)); // field 2, status
    gps.gps_fix_valid = *p == 'A' ? 1 : 0;
    note_fix_lost();
    p = skip_field(p);
    const float latitude = float(read_position(p, 'S'));
    set_position(latitude, float(read_position(p, 'W')));

    const float k = float(read_double(p)); // knots
    p = skip_field(p);
    gps.gps_speed_mph = knots_to(k, 11.5077945f);
    switch (settings.speed_unit) {
    case 1: gps.gps_speed = knots_to(k, 18.52f); break;
    case 2: gps.gps_speed = knots_to(k, 10.0f); break;
    default: gps.gps_speed = gps.gps_speed_mph; break;
    }
    switch (settings.fuel_unit) {
    case 2:
    case 3: gps.gps_speed_dist = knots_to(k, 10.0f); break;
    case 4:
    case 5: gps.gps_speed_dist = knots_to(k, 18.52f); break;
    default: gps.gps_speed_dist = gps.gps_speed_mph; break;
    }
    minmax.gps_speed_max = minmax_higher(uint16_t(minmax.gps_speed_max), gps.gps_speed);

    int16_t course = int16_t(float_to_i32(float(read_double(p))));
    if (course == 360) course = 0;
    gps.gps_course = course;
    int32_t mag = (int32_t(course) - course_variation()) % 360;
    if (mag < 0) mag += 360;
    gps.gps_course_mag = int16_t(mag);
}

void nmea_parse_gga()
{
    const Body b(nmea.nmea_gga);
    note_fix_lost();
    if (!has_time(b)) return;
    const char* p = skip_fields(b.from(6), 6); // field 7, satellites used
    gps.gps_sats_used = uint8_t(float_to_i32(float(read_double(p))));
    p = skip_fields(p, 2); // field 9, altitude in metres
    const float a = float(read_double(p));
    gps.gps_altitude_m = float_to_i32(a);
    gps.gps_altitude_ft = double_to_i32(double(a) * 3.28083989501);
}

void nmea_parse_gsa()
{
    const Body b(nmea.nmea_gsa);
    note_fix_lost();
    // Fix type: "1" no fix, "2" 2D, "3" 3D. A character that is not a digit
    // (an empty field, a cut-off body) counts as no fix.
    const char c = b.at(8);
    const uint8_t type = c == '1' || !is_digit(c) ? 0 : uint8_t(c - '0');
    gps.gps_fix_type = type;
    gps.gps_fix_valid = type >= 2 ? 1 : 0;
    note_fix_lost();

    std::memset(gps.gps_prn_used, 0, sizeof gps.gps_prn_used);
    const char* p = skip_field(b.from(8)); // field 3
    for (int k = 0; k < 12; ++k) {
        if (*p != ',' && *p != '\0') gps.gps_prn_used[k] = uint8_t(read_int(p));
        p = skip_field(p);
    }
    gps.gps_pdop = float(read_double(p));
    p = skip_field(p);
    gps.gps_hdop = float(read_double(p));
    p = skip_field(p);
    gps.gps_vdop = float(read_double(p));
}

void nmea_parse_gsv()
{
    const Body b(nmea.nmea_gsv);
    note_fix_lost();
    const int m = int(b.at(8)) - '0';
    int32_t n = read_int(b.from(10));
    if (n < 0) n = 0;
    if (n > 255) n = 255;
    gps.gps_sats_in_view = uint8_t(n);
    for (int32_t i = n; i < 16; ++i) gps.gps_sats[i] = GpsSatellite{};
    if (m < 1 || m > 3) return;

    const int first = (m - 1) * 4;
    const int count = n < 4 * m ? n - first : 4;
    const char* p = skip_field(b.from(10)); // field 4
    for (int i = 0; i < count; ++i) {
        GpsSatellite& s = gps.gps_sats[first + i];
        s.prn = uint8_t(read_int(p));
        p = skip_field(p);
        s.elevation = uint8_t(read_int(p));
        p = skip_field(p);
        s.azimuth = uint16_t(read_int(p));
        p = skip_field(p);
        s.snr = uint8_t(read_int(p));
        p = skip_field(p);
    }
}

} // namespace ems
