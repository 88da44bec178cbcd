// The sentence readers (body to fields record) and their apply steps (fields
// record into the GPS record), and the main loop's parse step per sentence.
//
// A body is copied into a local, always-terminated buffer first, so a reader
// looks at most at NMEA_BODY_MAX characters whatever it is given. Numbers are
// read with std::from_chars within their field (locale-independent); the
// blanks and sign before them, and the limits that keep every result finite,
// are handled here.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "gps/nmea_fields.h"
#include "gps/sun.h"
#include "sensors/convert.h"
#include "sensors/minmax.h"
#include "settings/settings.h"

namespace ems {

namespace {

// A body: the text and its length; positions past the end read as NUL.
struct Body {
    char text[NMEA_BODY_MAX + 1];
    size_t length;

    explicit Body(std::string_view body)
    {
        const size_t n = std::min(body.size(), NMEA_BODY_MAX);
        std::memcpy(text, body.data(), n);
        text[n] = '\0';
        const void* nul = std::memchr(text, '\0', n);
        length = nul ? size_t(static_cast<const char*>(nul) - text) : n;
    }
    char at(size_t pos) const { return pos < length ? text[pos] : '\0'; }
    const char* from(size_t pos) const { return text + (pos < length ? pos : length); }
};

// The end of the field at p: its comma or the end of the body.
const char* field_end(const char* p)
{
    while (*p != '\0' && *p != ',') ++p;
    return p;
}

// Advances past the next comma (or to the end when there is none).
const char* skip_field(const char* p)
{
    p = field_end(p);
    return *p == ',' ? p + 1 : p;
}

const char* skip_fields(const char* p, int n)
{
    for (int i = 0; i < n; ++i) p = skip_field(p);
    return p;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Blanks, then a sign; returns where the digits should start.
const char* skip_blanks_and_sign(const char* p, bool& negative)
{
    while (*p == ' ' || *p == '\t') ++p;
    negative = *p == '-';
    return *p == '+' || *p == '-' ? p + 1 : p;
}

// Largest magnitude a field reads as.
constexpr double NUMBER_MAX = 1e30;

// Decimal floating-point value at p: blanks, sign, digits, point, digits,
// exponent. 0 when no digits; magnitudes saturate at NUMBER_MAX.
// The common field, "ddd.ddd" of at most 15 digits and no exponent: the
// digits as an integer over a power of ten. Both are exact in a double, so
// the one rounding of the division gives what from_chars gives. False for
// anything else.
bool read_plain_decimal(const char* p, double& value)
{
    static constexpr double POWERS[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    uint64_t digits = 0;
    int count = 0, decimals = 0;
    for (; is_digit(*p); ++p, ++count) digits = digits * 10 + uint64_t(*p - '0');
    if (*p == '.')
        for (++p; is_digit(*p); ++p, ++count, ++decimals) digits = digits * 10 + uint64_t(*p - '0');
    if (count == 0 || count > 15 || *p == 'e' || *p == 'E') return false;
    value = double(digits) / POWERS[decimals];
    return true;
}

double read_double(const char* p)
{
    bool negative;
    p = skip_blanks_and_sign(p, negative);
    // from_chars would also take "inf", "nan" or a second sign.
    if (!is_digit(*p) && *p != '.') return 0;
    double value = 0;
    if (read_plain_decimal(p, value)) return negative ? -value : value;
    const auto [end, error] = std::from_chars(p, field_end(p), value);
    if (error == std::errc::invalid_argument) return 0;
    if (error == std::errc::result_out_of_range) {
        // Past the double range only through the exponent (a body is too
        // short for that many digits): a negative one means too small.
        const char* e = std::find_if(p, end, [](char c) { return c == 'e' || c == 'E'; });
        value = e + 1 < end && e[1] == '-' ? 0.0 : NUMBER_MAX;
    }
    value = std::min(value, NUMBER_MAX);
    return negative ? -value : value;
}

// Decimal integer at p: blanks, sign, digits; 0 when no digits. Saturates.
int32_t read_int(const char* p)
{
    bool negative;
    p = skip_blanks_and_sign(p, negative);
    // Digits up to the first other character (a comma or the end among
    // them); a magnitude past 2^31 saturates there.
    constexpr uint64_t LIMIT = uint64_t(INT32_MAX) + 1;
    uint64_t magnitude = 0;
    for (; is_digit(*p); ++p) magnitude = std::min(magnitude * 10 + uint64_t(*p - '0'), LIMIT);
    const int64_t value = int64_t(magnitude);
    return int32_t(std::clamp<int64_t>(negative ? -value : value, INT32_MIN, INT32_MAX));
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

// A slot's body: up to its terminator, at most NMEA_BODY_MAX characters.
std::string_view slot_body(const char* slot)
{
    const void* nul = std::memchr(slot, '\0', NMEA_BODY_MAX);
    return {slot, nul ? size_t(static_cast<const char*>(nul) - slot) : NMEA_BODY_MAX};
}

// A time field needs at least two characters: "hh...".
bool has_time(const Body& b) { return b.at(6) != ',' && b.at(7) != ',' && b.at(6) != '\0' && b.at(7) != '\0'; }

} // namespace

double nmea_degrees(double ddmm)
{
    const double d = std::trunc(ddmm / 100);
    return d + (ddmm - 100 * d) / 60;
}

RmcFields read_rmc(std::string_view body)
{
    const Body b(body);
    RmcFields f;
    f.has_time = has_time(b);
    if (!f.has_time) return f;
    const char* p = skip_field(b.from(6)); // field 2, status
    f.fix_valid = *p == 'A' ? 1 : 0;
    p = skip_field(p);
    f.latitude = float(read_position(p, 'S'));
    f.longitude = float(read_position(p, 'W'));
    f.knots = float(read_double(p));
    p = skip_field(p);
    f.course = int16_t(float_to_i32(float(read_double(p))));
    if (f.course == 360) f.course = 0;
    return f;
}

void apply_rmc(const RmcFields& f)
{
    if (!f.has_time) return;
    note_fix_lost();
    gps.gps_fix_valid = f.fix_valid;
    note_fix_lost();
    set_position(f.latitude, f.longitude);

    const float k = f.knots;
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

    gps.gps_course = f.course;
    int32_t mag = (int32_t(f.course) - course_variation()) % 360;
    if (mag < 0) mag += 360;
    gps.gps_course_mag = int16_t(mag);
}

GgaFields read_gga(std::string_view body)
{
    const Body b(body);
    GgaFields f;
    f.has_time = has_time(b);
    if (!f.has_time) return f;
    const char* p = skip_fields(b.from(6), 6); // field 7, satellites used
    f.sats_used = uint8_t(float_to_i32(float(read_double(p))));
    p = skip_fields(p, 2); // field 9, altitude in metres
    const float a = float(read_double(p));
    f.altitude_m = float_to_i32(a);
    f.altitude_ft = double_to_i32(double(a) * 3.28083989501);
    return f;
}

void apply_gga(const GgaFields& f)
{
    note_fix_lost();
    if (!f.has_time) return;
    gps.gps_sats_used = f.sats_used;
    gps.gps_altitude_m = f.altitude_m;
    gps.gps_altitude_ft = f.altitude_ft;
}

GsaFields read_gsa(std::string_view body)
{
    const Body b(body);
    GsaFields f;
    // Fix type: "1" no fix, "2" 2D, "3" 3D. A character that is not a digit
    // (an empty field, a cut-off body) counts as no fix.
    const char c = b.at(8);
    f.fix_type = c == '1' || !is_digit(c) ? 0 : uint8_t(c - '0');
    const char* p = skip_field(b.from(8)); // field 3
    for (int k = 0; k < 12; ++k) {
        if (*p != ',' && *p != '\0') f.prn_used[k] = uint8_t(read_int(p));
        p = skip_field(p);
    }
    f.pdop = float(read_double(p));
    p = skip_field(p);
    f.hdop = float(read_double(p));
    p = skip_field(p);
    f.vdop = float(read_double(p));
    return f;
}

void apply_gsa(const GsaFields& f)
{
    note_fix_lost();
    gps.gps_fix_type = f.fix_type;
    gps.gps_fix_valid = f.fix_type >= 2 ? 1 : 0;
    note_fix_lost();
    static_assert(sizeof gps.gps_prn_used == sizeof f.prn_used);
    std::memcpy(gps.gps_prn_used, f.prn_used.data(), sizeof gps.gps_prn_used);
    gps.gps_pdop = f.pdop;
    gps.gps_hdop = f.hdop;
    gps.gps_vdop = f.vdop;
}

GsvFields read_gsv(std::string_view body)
{
    const Body b(body);
    GsvFields f;
    const int m = int(b.at(8)) - '0'; // message number
    const int32_t n = std::clamp<int32_t>(read_int(b.from(10)), 0, 255);
    f.sats_in_view = uint8_t(n);
    if (m < 1 || m > 3) return f;

    f.first = uint8_t((m - 1) * 4);
    f.count = uint8_t(std::clamp(n < 4 * m ? n - f.first : 4, 0, 4));
    const char* p = skip_field(b.from(10)); // field 4
    for (int i = 0; i < f.count; ++i) {
        GpsSatellite& s = f.sats[i];
        s.prn = uint8_t(read_int(p));
        p = skip_field(p);
        s.elevation = uint8_t(read_int(p));
        p = skip_field(p);
        s.azimuth = uint16_t(read_int(p));
        p = skip_field(p);
        s.snr = uint8_t(read_int(p));
        p = skip_field(p);
    }
    return f;
}

void apply_gsv(const GsvFields& f)
{
    note_fix_lost();
    gps.gps_sats_in_view = f.sats_in_view;
    for (int i = f.sats_in_view; i < 16; ++i) gps.gps_sats[i] = GpsSatellite{};
    for (int i = 0; i < f.count; ++i) gps.gps_sats[f.first + i] = f.sats[i];
}

// The main loop's parse step of each sentence: its slot read, then applied.
#define EMS_NMEA_PARSE(name, id)                                                                  \
    void nmea_parse_##name() { apply_##name(read_##name(slot_body(nmea.nmea_##name))); }
EMS_NMEA_SENTENCE_ROWS(EMS_NMEA_PARSE)
#undef EMS_NMEA_PARSE

} // namespace ems
