// The engine page's top strip (rows 0..30): flight time, pilot timer, UTC and
// local clocks, hobbs and maintenance, and by the fitted engine computer the
// throttle, the UL Power rotating line and lane lamps, or the OAT.
#include <cstdio>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/flight_log.h"
#include "pages/fuel_page.h"
#include "pages/gauges.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/hobbs.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "system/clock.h"
#include "system/tick.h"
#include "ui/widgets.h"

namespace ems {
namespace {

constexpr uint8_t FONT = 8;
constexpr size_t TEXT = 24;

void label(int16_t x, int16_t y, const char* text, uint8_t align = ALIGN_LEFT, uint8_t colour = COLOUR_SILVER)
{
    draw_text(x, y, text, FONT, align, colour);
}

void value(int16_t x, int16_t y, const char* text, uint8_t align = ALIGN_LEFT)
{
    draw_text(x, y, text, FONT, align, COLOUR_WHITE);
}

// Flight time: the colon blinks while a flight is in progress.
void flight_time_text(char* out)
{
    const uint32_t t = flight.flight_time;
    const bool blank_colon = flight.flight_in_progress == 1 && tick.blink_flag == 1;
    std::snprintf(out, TEXT, blank_colon ? "%d %02d" : "%d:%02d", int(t / 3600), int(t / 60 % 60));
}

void timer_text(char* out)
{
    const uint32_t t = tick.pilot_timer;
    std::snprintf(out, TEXT, "%1d:%02d:%02d", int(t / 3600), int(t / 60 % 60), int(t % 60));
}

void clock_text(char* out, const ClockRecord& c)
{
    std::snprintf(out, TEXT, "%02d:%02d:%02d", c.hour, c.minute, c.second);
}

void hobbs_text(char* out)
{
    const HobbsMaintenance h = fuel_hobbs.hobbs;
    if (settings.hobbs_format == 1)
        std::snprintf(out, TEXT, "%u:%02d", unsigned(h.hobbs_hours), int(h.hobbs_minutes));
    else
        std::snprintf(out, TEXT, "%u.%d", unsigned(h.hobbs_hours), int(hobbs_tenths(h.hobbs_minutes)));
}

// Maintenance hours; blinking on red once the maintenance timer has run out.
void maint_value(int16_t x, int16_t y, uint8_t align)
{
    const HobbsMaintenance h = fuel_hobbs.hobbs;
    char text[TEXT];
    std::snprintf(text, sizeof text, "%d", int(h.maint_hours));
    value(x, y, text, align);
    if (h.maint_hours == 0 && h.maint_minutes == 0 && tick.blink_flag == 1)
        highlight_text(x, y, text, FONT, align, 2, 16, 29, COLOUR_RED, COLOUR_WHITE);
}

// "OAT:" with the value in font 9 and the unit in grey; the value blinks on
// red outside the alarm limits.
void oat_block(int16_t label_x, int16_t value_x)
{
    label(label_x, 15, "OAT:");
    char text[TEXT];
    const int16_t oat = sens.oat_disp;
    const int16_t limit = settings.oat_unit == 1 ? 300 : 150;
    if (oat > limit)
        std::snprintf(text, sizeof text, "---");
    else
        std::snprintf(text, sizeof text, "%d", int(oat));
    draw_text(value_x, 15, text, 9, ALIGN_LEFT, COLOUR_WHITE);
    const int16_t low = settings.oat_low_alarm;
    const int16_t high = settings.oat_high_alarm;
    if ((oat < low || oat > high) && tick.blink_flag == 1)
        highlight_text(value_x, 15, text, 9, ALIGN_LEFT, 2, 16, 31, COLOUR_RED, COLOUR_WHITE);
    char unit[8];
    oat_unit_text(unit, sizeof unit);
    label(int16_t(text_end_x + 2), 15, unit, ALIGN_LEFT, COLOUR_GREY);
}

// Left part shared by the ROTAX and UL POWER strips: clocks at clock_x
// (values 20 further), hobbs and maintenance at hobbs_x with values at hobbs_vx.
void ecu_strip_common(int16_t clock_x, int16_t hobbs_x, int16_t hobbs_vx)
{
    char text[TEXT];
    label(0, 0, "FT:");
    flight_time_text(text);
    value(40, 0, text);
    label(0, 15, "TMR:");
    timer_text(text);
    value(40, 15, text);

    label(clock_x, 0, "Z:");
    clock_text(text, clk.clock_utc);
    value(int16_t(clock_x + 20), 0, text);
    label(clock_x, 15, "L:");
    clock_text(text, clk.clock_local);
    value(int16_t(clock_x + 20), 15, text);

    label(hobbs_x, 0, "HOBBS:");
    hobbs_text(text);
    value(hobbs_vx, 0, text);
    label(hobbs_x, 15, "MAINT:");
    maint_value(hobbs_vx, 15, ALIGN_LEFT);
}

// "THROT:" in grey, the percentage, and "%" in grey right after it.
void throttle(int16_t label_x, int16_t value_x, const char* text)
{
    label(label_x, 0, "THROT:", ALIGN_LEFT, COLOUR_GREY);
    value(value_x, 0, text);
    label(text_end_x, 0, "%", ALIGN_LEFT, COLOUR_GREY);
}

void strip_rotax(bool oat_moved)
{
    ecu_strip_common(130, 250, 310);
    uint8_t percent;
    if (settings.ecu_connect != ECU_CONNECT_DIRECT)
        percent = ecu.records.relay.throttle;
    else
        percent = ecu.records.lane[settings.ecu_lane == 1 ? 1 : 0].throttle;
    char text[TEXT];
    std::snprintf(text, sizeof text, "%d", int(percent));
    throttle(370, 430, text);
    if (ecu.rotax_data_valid == 0) cross_out(370, 3, 450, 12);
    if (oat_moved) oat_block(370, 415);
}

// A temperature with its unit (ecu_air_temp_unit) in grey two pixels after it.
void ul_temperature(const char* name, const char* text)
{
    label(320, 15, name, ALIGN_LEFT, COLOUR_GREY);
    value(380, 15, text);
    label(int16_t(text_end_x + 2), 15, option_gauge_text(options::DEGREE_UNIT, settings.ecu_air_temp_unit), ALIGN_LEFT, COLOUR_GREY);
}

void strip_ul_power(bool oat_moved)
{
    ecu_strip_common(105, 200, 260);
    if (ecu.ul_data_valid != 1) {
        fill_rect(315, 0, 479, 29, COLOUR_RED);
        draw_rect(315, 0, 479, 29, COLOUR_WHITE);
        draw_text(398, 8, "ECU COMMS ERROR", FONT, ALIGN_CENTRE, COLOUR_WHITE);
        return;
    }
    // The UL Power link's throttle and intake-air values: the host's
    // "Throttle:" and "Air Temp:" sliders feed nothing, so they read 0.
    char text[TEXT];
    std::snprintf(text, sizeof text, "%d", int(ecu.ul_throttle));
    throttle(320, 380, text);
    const uint8_t phase = tick.engine_rotate_ticks;
    if (phase <= 2) {
        std::snprintf(text, sizeof text, "%d", int(ecu.ecu_temp));
        ul_temperature("ECU:", text);
    } else if (phase <= 5) {
        std::snprintf(text, sizeof text, "%d", int(ecu.ul_air_temp));
        ul_temperature("AIR:", text);
    } else if (oat_moved) {
        oat_block(320, 380);
    } else {
        tick.engine_rotate_ticks = 0; // nothing to show in this phase: start over
    }
    ul_lane_lamps();
}

// No engine computer: centred columns.
void strip_plain(bool oat_moved)
{
    char text[TEXT];
    label(27, 0, "FLIGHT", ALIGN_CENTRE);
    flight_time_text(text);
    value(27, 15, text, ALIGN_CENTRE);

    int16_t timer_x, hobbs_x, maint_x;
    if (oat_moved) {
        label(71, 0, "Z:");
        label(71, 15, "L:");
        clock_text(text, clk.clock_utc);
        value(119, 0, text, ALIGN_CENTRE);
        clock_text(text, clk.clock_local);
        value(119, 15, text, ALIGN_CENTRE);
        oat_column();
        timer_x = 194, hobbs_x = 277, maint_x = 361;
    } else {
        label(112, 0, "ZULU", ALIGN_CENTRE);
        clock_text(text, clk.clock_utc);
        value(112, 15, text, ALIGN_CENTRE);
        label(198, 0, "LOCAL", ALIGN_CENTRE);
        clock_text(text, clk.clock_local);
        value(198, 15, text, ALIGN_CENTRE);
        timer_x = 283, hobbs_x = 368, maint_x = 455;
    }
    label(timer_x, 0, "TIMER", ALIGN_CENTRE);
    timer_text(text);
    value(timer_x, 15, text, ALIGN_CENTRE);
    label(hobbs_x, 0, "HOBBS", ALIGN_CENTRE);
    hobbs_text(text);
    value(hobbs_x, 15, text, ALIGN_CENTRE);
    label(maint_x, 0, "MAINT", ALIGN_CENTRE);
    maint_value(maint_x, 15, ALIGN_CENTRE);
}

} // namespace

void top_strip(bool oat_moved)
{
    switch (settings.ecu_type) {
    case ECU_ROTAX_912IS: strip_rotax(oat_moved); break;
    case ECU_UL_POWER: strip_ul_power(oat_moved); break;
    default: strip_plain(oat_moved); break;
    }
}

} // namespace ems
