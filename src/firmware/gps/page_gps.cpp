// The GPS page: the information list on the left, the sky view upper right,
// the signal-quality chart lower right.
#include "gps/page_gps.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "gps/gps_data.h"
#include "gps/sun.h"
#include "sensors/convert.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "system/clock.h"

namespace ems {

namespace {

constexpr int16_t VALUE_X = 157;
constexpr size_t TEXT_SIZE = 64;
constexpr int SATS_SHOWN = 12;

const char* const MONTH_NAMES[13] = {"",    "JAN",  "FEB", "MAR",  "APR", "MAY", "JUNE",
                                     "JULY", "AUG", "SEPT", "OCT ", "NOV", "DEC"};

const char* speed_unit_text() { return option_gauge_text(options::SPEED_UNIT, settings.speed_unit); }

// Whether a PRN is among the first 12 used in the solution (0 never is).
bool prn_used(uint8_t prn)
{
    if (prn == 0) return false;
    for (int i = 0; i < 12; ++i)
        if (gps.gps_prn_used[i] == prn) return true;
    return false;
}

int sats_shown() { return gps.gps_sats_in_view < SATS_SHOWN ? gps.gps_sats_in_view : SATS_SHOWN; }

// Prints a minutes or seconds value (below 60) with `format`. When it rounds
// up to 60, prints 0 instead and returns true, so that the caller carries one
// into the next unit: 34 degrees 00.000 minutes, never 33 degrees 60.000.
bool print_sixtieths(char* text, size_t size, const char* format, float value)
{
    std::snprintf(text, size, format, double(value));
    if (!(value < 60.0f) || std::strncmp(text, "60", 2) != 0) return false;
    std::snprintf(text, size, format, 0.0);
    return true;
}

void format_position(float value, char positive, char negative, bool longitude, char* text, size_t size)
{
    const char letter = value >= 0 ? positive : negative;
    const float a = std::fabs(value);
    int32_t d = float_to_i32(a);
    const float m = (a - float(d)) * 60.0f;
    char part[16];
    switch (settings.gps_position_format) {
    case 0:
        if (print_sixtieths(part, sizeof part, "%06.3f", m)) ++d;
        std::snprintf(text, size, longitude ? "%c%03d\xB0%s" : "%c%02d\xB0%s", letter, int(d), part);
        break;
    case 1: {
        int32_t mm = float_to_i32(m);
        const float s = (m - float(mm)) * 60.0f;
        if (print_sixtieths(part, sizeof part, "%05.2f", s)) ++mm;
        if (mm == 60) {
            mm -= 60;
            ++d;
        }
        std::snprintf(text, size, longitude ? "%c%03d\xB0%02d'%s" : "%c%02d\xB0%02d'%s", letter, int(d), int(mm),
                      part);
        break;
    }
    default:
        std::snprintf(text, size, longitude ? "%c%09.5f\xB0" : "%c%08.5f\xB0", letter, double(a));
        break;
    }
}

// Receivers send 99.99 while acquiring; capped so that the row of three
// stays left of the charts.
double shown_dop(float dop)
{
    constexpr float DOP_SHOWN_MAX = 99.9f;
    return double(dop > DOP_SHOWN_MAX ? DOP_SHOWN_MAX : dop < 0.0f ? 0.0f : dop);
}

void format_altitude(char* text, size_t size)
{
    const char* unit = option_gauge_text(options::ALTITUDE_UNIT, settings.gps_altitude_unit);
    if (gps.gps_fix_type == 3) {
        const long value = settings.gps_altitude_unit == 1 ? gps.gps_altitude_m : gps.gps_altitude_ft;
        std::snprintf(text, size, "%ld %s", value, unit);
    } else {
        std::snprintf(text, size, "----- %s", unit);
    }
}

void format_variation_row(char* label, size_t label_size, char* text, size_t size)
{
    if (gps.gps_fix_valid == 0 || settings.gps_local_variation == 1) {
        std::snprintf(label, label_size, "MAG VAR (MAN):");
        const int v = settings.gps_manual_variation;
        if (v < 0)
            std::snprintf(text, size, "%d\xB0 W", -v);
        else
            std::snprintf(text, size, "%d\xB0 E", v);
        return;
    }
    std::snprintf(label, label_size, "MAG VAR (AUTO):");
    format_auto_variation(text, size);
}

void format_sun_row(char* text, size_t size)
{
    if (gps.gps_fix_valid != 1) {
        std::snprintf(text, size, "--:--/--:--");
        return;
    }
    char rise[16], set[16];
    sun_time(1);
    format_sun_time(magsun.sun_event_hours, rise, sizeof rise);
    sun_time(0);
    format_sun_time(magsun.sun_event_hours, set, sizeof set);
    std::snprintf(text, size, "%s/%s", rise, set);
}

void row(int16_t y, const char* label, const char* value)
{
    draw_text(0, y, label, 8, ALIGN_LEFT, COLOUR_SILVER);
    draw_text(VALUE_X, y, value, 8, ALIGN_LEFT, COLOUR_WHITE);
}

void draw_information()
{
    draw_hline(0, 20, 10, COLOUR_SILVER);
    draw_hline(220, 240, 10, COLOUR_SILVER);
    draw_text(120, 0, "GPS INFORMATION", 10, ALIGN_CENTRE, COLOUR_SILVER);

    char text[TEXT_SIZE];
    const uint8_t type = gps.gps_fix_type;
    row(25, "STATUS:", type == 2 ? "2D FIX" : type == 3 ? "3D FIX" : "ACQUIRING");

    const ClockRecord& utc = clk.clock_utc;
    std::snprintf(text, sizeof text, "%d %s %d", int(utc.day), MONTH_NAMES[utc.month <= 12 ? utc.month : 0],
                  int(utc.year));
    row(45, "ZULU DATE:", text);
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", int(utc.hour), int(utc.minute), int(utc.second));
    row(65, "ZULU TIME:", text);

    format_latitude(gps.gps_latitude, text, sizeof text);
    row(85, "LATITUDE:", text);
    format_longitude(gps.gps_longitude, text, sizeof text);
    row(105, "LONGITUDE:", text);
    format_altitude(text, sizeof text);
    row(125, "GPS ALTITUDE:", text);

    if (gps.gps_fix_valid == 1)
        std::snprintf(text, sizeof text, "%d %s", int(gps.gps_speed), speed_unit_text());
    else
        std::snprintf(text, sizeof text, "--- %s", speed_unit_text());
    row(145, "SOG:", text);
    format_course(text, sizeof text);
    row(165, "COG:", text);

    std::snprintf(text, sizeof text, "%d/%d", int(gps.gps_sats_used), int(gps.gps_sats_in_view));
    row(185, "SV USED/TRACKED:", text);
    std::snprintf(text, sizeof text, "%.1f/%.1f/%.1f", shown_dop(gps.gps_pdop), shown_dop(gps.gps_hdop),
                  shown_dop(gps.gps_vdop));
    row(205, "PDOP/HDOP/VDOP:", text);
    format_sun_row(text, sizeof text);
    row(225, "SUNRISE/SUNSET:", text);

    char label[24];
    format_variation_row(label, sizeof label, text, sizeof text);
    row(245, label, text);
}

void draw_sky_view()
{
    draw_hline(270, 320, 10, COLOUR_SILVER);
    draw_hline(430, 479, 10, COLOUR_SILVER);
    draw_text(375, 0, "SKYVIEW", 10, ALIGN_CENTRE, COLOUR_SILVER);

    draw_vline(40, 60, 286, COLOUR_SILVER);
    draw_text(282, 20, "N", 8, ALIGN_LEFT, COLOUR_SILVER);
    static constexpr int16_t ARROW[12][2] = {{285, 41}, {287, 41}, {284, 42}, {285, 42}, {287, 42}, {288, 42},
                                             {283, 43}, {284, 43}, {285, 43}, {287, 43}, {288, 43}, {289, 43}};
    for (const auto& px : ARROW) draw_pixel(px[0], px[1], COLOUR_SILVER);

    draw_hline(371, 379, 86, COLOUR_SILVER);
    draw_vline(82, 90, 375, COLOUR_SILVER);
    draw_circle(375, 86, 60, COLOUR_SILVER);
    draw_circle(375, 86, 30, COLOUR_SILVER);

    char text[8];
    for (int i = 0; i < sats_shown(); ++i) {
        const GpsSatellite& s = gps.gps_sats[i];
        if (s.prn == 0) continue;
        int32_t a = int32_t(s.azimuth) - 90;
        if (s.azimuth < 90) a += 360;
        a %= 360; // azimuths beyond a turn only from a broken receiver
        const int32_t r = (90 - int32_t(s.elevation)) * 2 / 3;
        const int32_t x = float_to_i32(cos_deg(int16_t(a)) * float(r) + 376.0f);
        const int32_t y = float_to_i32(sin_deg(int16_t(a)) * float(r) + 79.0f);
        if (x > 305 && x < 445 && y > 16 && y < 156) {
            std::snprintf(text, sizeof text, "%d", int(s.prn));
            draw_text(int16_t(x), int16_t(y), text, 8, ALIGN_CENTRE, prn_used(s.prn) ? COLOUR_GREEN : COLOUR_RED);
        }
    }
}

void draw_signal_quality()
{
    draw_hline(270, 285, 160, COLOUR_SILVER);
    draw_hline(465, 479, 160, COLOUR_SILVER);
    draw_text(375, 150, "SIGNAL QUALITY", 10, ALIGN_CENTRE, COLOUR_SILVER);
    draw_hline(270, 479, 243, COLOUR_SILVER);

    int32_t strongest = 0;
    for (int i = 0; i < SATS_SHOWN; ++i)
        if (gps.gps_sats[i].snr > strongest) strongest = gps.gps_sats[i].snr;
    const int32_t scale = 5 + strongest;

    char text[8];
    for (int i = 0; i < sats_shown(); ++i) {
        const GpsSatellite& s = gps.gps_sats[i];
        const int16_t x = int16_t(274 + 17 * i);
        const int32_t h = int32_t(s.snr) * 78 / scale;
        fill_rect(x, int16_t(243 - h), int16_t(x + 11), 243, prn_used(s.prn) ? COLOUR_GREEN : COLOUR_RED);
        std::snprintf(text, sizeof text, "%d", int(s.prn));
        draw_text(int16_t(x + 4), i % 2 == 0 ? 246 : 259, text, 8, ALIGN_CENTRE, COLOUR_WHITE);
    }
}

} // namespace

void format_latitude(float value, char* text, size_t size) { format_position(value, 'N', 'S', false, text, size); }

void format_longitude(float value, char* text, size_t size) { format_position(value, 'E', 'W', true, text, size); }

void format_course(char* text, size_t size)
{
    const bool fix = gps.gps_fix_valid == 1;
    if (settings.gps_cog == 1) {
        if (fix)
            std::snprintf(text, size, "%d\xB0T", int(gps.gps_course));
        else
            std::snprintf(text, size, "---\xB0T");
    } else {
        if (fix)
            std::snprintf(text, size, "%d\xB0M", int(gps.gps_course_mag));
        else
            std::snprintf(text, size, "---\xB0M");
    }
}

void format_sun_time(float x, char* text, size_t size)
{
    if (!(x > -24.0f && x < 48.0f)) {
        std::snprintf(text, size, "--:--");
        return;
    }
    const float whole = std::trunc(x);
    int h = int(whole);
    if (x >= 24.0f) h -= 24;
    if (x < 0.0f) h += 23;
    int m = x >= 0.0f ? int((x - whole) * 60.0f) : int((x - whole + 1.0f) * 60.0f);
    if (m >= 60) { // a whole negative hour: -1.0 is 23:00, not 22:60
        m -= 60;
        h = (h + 1) % 24;
    }
    std::snprintf(text, size, "%02d:%02d", h, m);
}

void format_auto_variation(char* text, size_t size)
{
    const float w = magsun.mag_variation;
    if (!std::isfinite(w)) {
        // No usable compass direction here (weak horizontal field).
        std::snprintf(text, size, "--\xB0--");
        return;
    }
    float whole = std::fabs(std::trunc(w));
    char minutes[8];
    if (print_sixtieths(minutes, sizeof minutes, "%.0f", (std::fabs(w) - whole) * 60.0f)) whole += 1.0f;
    std::snprintf(text, size, "%.0f\xB0%s%s", double(whole), minutes, w >= 0 ? "E" : "W");
}

void page_gps()
{
    clear_screen();
    draw_information();
    draw_sky_view();
    draw_signal_quality();
    if (nmea.nmea_active.load(std::memory_order_relaxed) == 0) {
        draw_line(50, 50, 429, 221, COLOUR_RED);
        draw_line(50, 221, 429, 50, COLOUR_RED);
    }
}

} // namespace ems
