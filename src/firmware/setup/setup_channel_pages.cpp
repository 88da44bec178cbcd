// The analog channel page and its two relatives, which share its rows: FUEL
// PRESSURE SETUP (the pressure rows on fuel_pressure_cfg, without LABEL) and
// CURRENT SETUP (the current rows on main_current_cfg). The rows work on the
// records the setup bindings point at; which page is showing decides which
// groups of rows are present.
//
// Section index: the page showing; rows by group; the row table; the pages.
#include <cstdio>

#include "gfx/palette.h"
#include "gfx/text.h"
#include "sensors/channels.h"
#include "sensors/senders.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "settings/settings_schema.h"
#include "settings/unit_switch.h"
#include "setup/calibration.h"
#include "setup/setup_common.h"
#include "setup/setup_pages.h"
#include "system/raw_inputs.h"
#include "ui/navigation.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

namespace ems {

namespace {

// ---- The page showing -------------------------------------------------------------

enum class SensorPage : uint8_t { Channel, FuelPressure, MainCurrent };
SensorPage page_shown = SensorPage::Channel;

constexpr uint8_t PROBE_NTC = 3;               // cht_probe "NTC (AUX 1/2)"
constexpr uint8_t UNIT_PSI = 1;                // pressure unit with whole numbers
constexpr uint8_t TEMPERATURE_SENDER_LM335 = 4;
constexpr uint8_t TEMPERATURE_SENDER_USER = 5;
constexpr uint8_t SENDER_USER = 0;             // first sender of every pressure type
constexpr uint8_t TYPE_RESISTIVE = 0, TYPE_VOLTAGE = 1, TYPE_CURRENT = 2;
constexpr uint8_t RESISTIVE_VDO = 1, VOLTAGE_UMA = 1, VOLTAGE_LINEAR = 2, CURRENT_LINEAR = 1;

PressureSenderConfig& P() { return *bindings.active_pressure_cfg; }
TemperatureSenderConfig& T() { return *bindings.active_temperature_cfg; }
CurrentSensorConfig& C() { return *bindings.active_current_cfg; }
GenericSensorConfig& G() { return *bindings.active_generic_cfg; }
uint8_t ch() { return bindings.channel_index & 3; }
// The mode the channel works in: a ROTAX 912iS makes channel 2 its coolant
// temperature input whatever channel_mode holds.
uint8_t mode() { return channel_mode_in_use(ch()); }
bool on_channel_page() { return page_shown == SensorPage::Channel; }

// Channels 2 and 3 measure the CHTs while the NTC probe claims them.
bool ntc_locked()
{
    return on_channel_page() && ch() >= 2 && settings.cht_probe == PROBE_NTC && mode() == CHANNEL_OFF;
}
bool channel_in(uint8_t m) { return on_channel_page() && !ntc_locked() && mode() == m; }

bool pressure_rows()
{
    if (page_shown == SensorPage::FuelPressure) return settings.fuel_pressure_display != 0;
    return channel_in(CHANNEL_PRESSURE);
}
bool temperature_rows() { return channel_in(CHANNEL_TEMPERATURE); }
bool current_rows()
{
    if (page_shown == SensorPage::MainCurrent) return settings.current_display != 0;
    return channel_in(CHANNEL_CURRENT);
}
bool generic_rows() { return channel_in(CHANNEL_GENERIC); }

// The engine computer supplies oil pressure (channel 1) with a UL POWER or a
// directly read ROTAX, and the temperatures of channels 0..2 as it reads them.
bool pressure_sender_rows()
{
    const bool supplied = on_channel_page() && ch() == 1 && (ecu_is_ul_power() || ecu_rotax_direct());
    return pressure_rows() && !supplied;
}
bool temperature_sender_rows()
{
    const bool supplied = (ch() == 0 && ecu_is_ul_power()) || (ch() <= 2 && ecu_rotax_direct());
    return temperature_rows() && !supplied;
}
bool pressure_sender_is(uint8_t type, uint8_t sender)
{
    return pressure_sender_rows() && P().type == type && P().sender == sender;
}

// ---- Rows by group ----------------------------------------------------------------

// Pressure: 0.1 bar and 0.1 psi with one decimal, psi whole.
uint8_t pressure_decimals() { return P().unit == UNIT_PSI ? 0 : 1; }
void pressure_text(char* out, size_t size, int32_t v)
{
    char unit[12];
    std::snprintf(unit, sizeof unit, " %s", option_gauge_text(options::PRESSURE_UNIT, P().unit));
    value_with_unit(out, size, v, pressure_decimals(), unit);
}
void pressure_step(uint8_t item)
{
    if (pressure_decimals() == 0) step_label_int(item);
    else step_label_1dp(item);
}

void temperature_text(char* out, size_t size, int32_t v)
{
    char unit[4];
    temp_unit_text(unit, sizeof unit);
    value_with_unit(out, size, v, 0, unit);
}

// The LM335 offset beside the reading it gives now.
void lm335_text(char* out, size_t size, int32_t v)
{
    std::snprintf(out, size, "%+d %d\xB0" "C", int(v), int(senders.aux_temp_c[ch()]));
}

// Current gain beside the current it gives now and the raw reading.
void gain_text(char* out, size_t size, int32_t v)
{
    const bool main = page_shown == SensorPage::MainCurrent;
    const int x10 = main ? sens.current_x10 : senders.aux_current_x10[ch()];
    const int reading = main ? raw.raw_current : raw.raw_aux[ch()];
    char amps[16];
    if (x10 >= 1000 || x10 <= -1000) std::snprintf(amps, sizeof amps, "%d", x10 / 10);
    else decimal_value_text(amps, sizeof amps, x10, 1);
    std::snprintf(out, size, "%d %sA (%d)", int(v), amps, reading);
}

void current_text(char* out, size_t size, int32_t v) { value_with_unit(out, size, v, 0, "A"); }

void generic_text(char* out, size_t size, int32_t v)
{
    char unit[4] = {};
    for (int i = 0; i < 3 && G().unit_label[i]; ++i) unit[i] = G().unit_label[i];
    value_with_unit(out, size, v, G().decimals, unit);
}
void generic_step(uint8_t item) { step_label_decimals(item, G().decimals); }

// The calibration rows: the openers copy the bound record's table into the
// working copy and remember this page and its row to come back to.
void open_pressure_calibration() { open_sender_calibration(CAL_PRESSURE, ScreenHandler); }
void open_temperature_calibration() { open_sender_calibration(CAL_TEMPERATURE, ScreenHandler); }
void open_generic_calibration() { open_sender_calibration(CAL_GENERIC, ScreenHandler); }
void open_zero_current_row() { open_zero_current(page_shown == SensorPage::MainCurrent); }

// A sender beyond the list of the record's present type (the type was
// changed) reads as USER.
void pressure_sender_in_list()
{
    if (P().sender >= field_options(pressure_fields::sender, P().type).count) P().sender = SENDER_USER;
}

// ---- The row table ------------------------------------------------------------------

#define NUMBER_ROW(text, field, range_fn, fmt, step_fn, shown_fn)                                 \
    {.label = text, .kind = RowKind::Number, SETUP_FIELD(field), .range = range_fn,               \
     .format = fmt, .step_label = step_fn, .shown = shown_fn}
#define FLAG_ROW(text, field, shown_fn)                                                           \
    {.label = text, .kind = RowKind::Flag, SETUP_FIELD(field), .shown = shown_fn}

// The limit rows every sensor kind has, on record R() with its range, value
// text and step label.
#define LIMIT_ROWS(R, FIELDS, range_of, fmt, step_fn, shown_fn)                                   \
    NUMBER_ROW("DISPLAY MAX: ", R().display_max, [] { return range_of(FIELDS::display_max); }, fmt, step_fn, shown_fn), \
    NUMBER_ROW("DISPLAY MIN: ", R().display_min, [] { return range_of(FIELDS::display_min); }, fmt, step_fn, shown_fn), \
    FLAG_ROW("HIGH ALARM: ", R().high_alarm_on, shown_fn),                                        \
    NUMBER_ROW("HIGH ALARM: ", R().high_alarm, [] { return range_of(FIELDS::high_alarm); }, fmt, step_fn, shown_fn), \
    NUMBER_ROW("HIGH CAUTION: ", R().high_caution, [] { return range_of(FIELDS::high_caution); }, fmt, step_fn, shown_fn), \
    NUMBER_ROW("LOW CAUTION: ", R().low_caution, [] { return range_of(FIELDS::low_caution); }, fmt, step_fn, shown_fn), \
    FLAG_ROW("LOW ALARM: ", R().low_alarm_on, shown_fn),                                          \
    NUMBER_ROW("LOW ALARM: ", R().low_alarm, [] { return range_of(FIELDS::low_alarm); }, fmt, step_fn, shown_fn)

RowRange pressure_range(const SettingsField& f) { return unit_range(f, P().unit); }
RowRange temperature_range(const SettingsField& f) { return unit_range(f, settings.temp_unit); }
RowRange fixed_range(const SettingsField& f) { return unit_range(f, 0); }

const SetupRow ROWS[] = {
    // Row 0 of each page.
    {.label = "FUEL PRESSURE DISPLAY: ", .kind = RowKind::Flag, SETUP_FIELD(settings.fuel_pressure_display),
     .shown = [] { return page_shown == SensorPage::FuelPressure; }},
    {.label = "CURRENT DISPLAY: ", .kind = RowKind::Flag, SETUP_FIELD(settings.current_display),
     .shown = [] { return page_shown == SensorPage::MainCurrent; }},
    {.label = "OIL TEMPERATURE DISPLAY: ", .kind = RowKind::Flag,
     .get = [] { return int32_t(settings.channel_mode[0] != CHANNEL_OFF); },
     .set = [](int32_t v) { settings.channel_mode[0] = v ? CHANNEL_TEMPERATURE : CHANNEL_OFF; },
     .shown = [] { return on_channel_page() && ch() == 0; }},
    {.label = "OIL PRESSURE DISPLAY: ", .kind = RowKind::Flag,
     .get = [] { return int32_t(settings.channel_mode[1] != CHANNEL_OFF); },
     .set = [](int32_t v) { settings.channel_mode[1] = v ? CHANNEL_PRESSURE : CHANNEL_OFF; },
     .shown = [] { return on_channel_page() && ch() == 1; }},
    {.label = "MODE: ", .kind = RowKind::Option, .get = [] { return int32_t(mode()); },
     .set = [](int32_t v) { settings.channel_mode[ch()] = uint8_t(v); },
     SETUP_OPTIONS(unit_fields::channel_mode),
     .shown = [] { return on_channel_page() && !ntc_locked() && ch() >= 2 && !(ch() == 2 && ecu_is_rotax()); }},

    // PRESSURE.
    {.label = "TYPE: ", .kind = RowKind::Option, SETUP_FIELD(P().type), SETUP_OPTIONS(pressure_fields::type),
     .shown = pressure_sender_rows},
    {.label = "SENDER: ", .kind = RowKind::Option, SETUP_FIELD(P().sender),
     .options = field_options(pressure_fields::sender, TYPE_RESISTIVE).menu,
     .option_count = field_options(pressure_fields::sender, TYPE_RESISTIVE).count,
     .shown = [] { return pressure_sender_rows() && P().type == TYPE_RESISTIVE; }},
    {.label = "SENDER: ", .kind = RowKind::Option, SETUP_FIELD(P().sender),
     .options = field_options(pressure_fields::sender, TYPE_VOLTAGE).menu,
     .option_count = field_options(pressure_fields::sender, TYPE_VOLTAGE).count,
     .shown = [] { return pressure_sender_rows() && P().type == TYPE_VOLTAGE; }},
    {.label = "SENDER: ", .kind = RowKind::Option, SETUP_FIELD(P().sender),
     .options = field_options(pressure_fields::sender, TYPE_CURRENT).menu,
     .option_count = field_options(pressure_fields::sender, TYPE_CURRENT).count,
     .shown = [] { return pressure_sender_rows() && P().type == TYPE_CURRENT; }},
    {.label = "MODEL: ", .kind = RowKind::Option, SETUP_FIELD(P().vdo_model), SETUP_OPTIONS(pressure_fields::vdo_model),
     .shown = [] { return pressure_sender_is(TYPE_RESISTIVE, RESISTIVE_VDO); }},
    {.label = "MODEL: ", .kind = RowKind::Option, SETUP_FIELD(P().uma_model), SETUP_OPTIONS(pressure_fields::uma_model),
     .shown = [] { return pressure_sender_is(TYPE_VOLTAGE, VOLTAGE_UMA); }},
    NUMBER_ROW("PRESSURE @ 0.5V: ", P().p_low_point, [] { return pressure_range(pressure_fields::p_low_point); },
               pressure_text, pressure_step, [] { return pressure_sender_is(TYPE_VOLTAGE, VOLTAGE_LINEAR); }),
    NUMBER_ROW("PRESSURE @ 4.5V: ", P().p_high_point, [] { return pressure_range(pressure_fields::p_high_point); },
               pressure_text, pressure_step, [] { return pressure_sender_is(TYPE_VOLTAGE, VOLTAGE_LINEAR); }),
    NUMBER_ROW("PRESSURE @ 4mA: ", P().p_low_point, [] { return pressure_range(pressure_fields::p_low_point); },
               pressure_text, pressure_step, [] { return pressure_sender_is(TYPE_CURRENT, CURRENT_LINEAR); }),
    NUMBER_ROW("PRESSURE @ 20mA: ", P().p_high_point, [] { return pressure_range(pressure_fields::p_high_point); },
               pressure_text, pressure_step, [] { return pressure_sender_is(TYPE_CURRENT, CURRENT_LINEAR); }),
    {.label = "CALIBRATE SENDER", .kind = RowKind::Action, .action = open_pressure_calibration,
     .shown = [] { return pressure_sender_rows() && P().sender == SENDER_USER; }},
    {.label = "LABEL: ", .kind = RowKind::Text, .text = [] { return P().label; }, .text_length = 4,
     .shown = [] { return pressure_rows() && on_channel_page(); }},
    {.label = "PRESSURE UNIT: ", .kind = RowKind::Option, .get = [] { return int32_t(P().unit); },
     .set = [](int32_t v) { pressure_unit_switch(P(), uint8_t(v)); }, SETUP_OPTIONS(pressure_fields::unit),
     .shown = pressure_rows},
    LIMIT_ROWS(P, pressure_fields, pressure_range, pressure_text, pressure_step, pressure_rows),

    // TEMPERATURE.
    {.label = "SENDER: ", .kind = RowKind::Option, SETUP_FIELD(T().sender),
     SETUP_OPTIONS(temperature_fields::sender), .shown = temperature_sender_rows},
    {.label = "CAL: ", .kind = RowKind::Number, SETUP_FIELD(T().cal_offset),
     SETUP_RANGE(temperature_fields::cal_offset), .format = lm335_text,
     .shown = [] { return temperature_sender_rows() && T().sender == TEMPERATURE_SENDER_LM335; }},
    {.label = "CALIBRATE SENDER", .kind = RowKind::Action, .action = open_temperature_calibration,
     .shown = [] { return temperature_sender_rows() && T().sender == TEMPERATURE_SENDER_USER; }},
    {.label = "LABEL: ", .kind = RowKind::Text, .text = [] { return T().label; }, .text_length = 4,
     .shown = temperature_rows},
    {.label = "TEMPERATURE UNIT: ", .kind = RowKind::Option, .get = [] { return int32_t(settings.temp_unit); },
     .set = [](int32_t v) { temp_unit_switch(uint8_t(v)); }, SETUP_OPTIONS(unit_fields::temp_unit),
     .shown = temperature_rows},
    LIMIT_ROWS(T, temperature_fields, temperature_range, temperature_text, nullptr, temperature_rows),

    // CURRENT.
    LIMIT_ROWS(C, current_fields, fixed_range, current_text, nullptr, current_rows),
    {.label = "ZERO CURRENT SENSOR", .kind = RowKind::Action, .action = open_zero_current_row, .shown = current_rows},
    {.label = "CURRENT SENSOR GAIN: ", .kind = RowKind::Number, SETUP_FIELD(C().gain),
     SETUP_RANGE(current_fields::gain), .format = gain_text, .shown = current_rows},

    // GENERIC.
    {.label = "CALIBRATE SENDER", .kind = RowKind::Action, .action = open_generic_calibration, .shown = generic_rows},
    {.label = "LABEL: ", .kind = RowKind::Text, .text = [] { return G().label; }, .text_length = 4,
     .shown = generic_rows},
    {.label = "UNIT LABEL: ", .kind = RowKind::Text, .text = [] { return G().unit_label; }, .text_length = 3,
     .shown = generic_rows},
    {.label = "DECIMAL PT: ", .kind = RowKind::Option, SETUP_FIELD(G().decimals),
     SETUP_OPTIONS(generic_fields::decimals), .shown = generic_rows},
    LIMIT_ROWS(G, generic_fields, fixed_range, generic_text, generic_step, generic_rows),
};

#undef LIMIT_ROWS
#undef FLAG_ROW
#undef NUMBER_ROW

constexpr uint8_t ROW_COUNT = uint8_t(std::size(ROWS));
static_assert(std::size(ROWS) <= SETUP_MAX_ROWS, "row table");

// ---- The pages ------------------------------------------------------------------------

const char* channel_title()
{
    switch (ch()) {
    case 0: return "OIL TEMPERATURE SETUP";
    case 1: return "OIL PRESSURE SETUP";
    case 2: return ecu_is_rotax() ? "COOLANT TEMP" : "ANALOG AUX 1";
    default: return "ANALOG AUX 2";
    }
}

void draw_ntc_line()
{
    if (ntc_locked())
        draw_text(LIST_X, LIST_Y, "MODE: CHT NTC", 8, ALIGN_LEFT, COLOUR_WHITE);
}

} // namespace

void screen_channel_setup()
{
    page_shown = SensorPage::Channel;
    bindings.active_pressure_cfg = &settings.pressure_cfg[ch()];
    bindings.active_temperature_cfg = &settings.temperature_cfg[ch()];
    bindings.active_current_cfg = &settings.current_cfg[ch()];
    bindings.active_generic_cfg = &settings.generic_cfg[ch()];
    pressure_sender_in_list();
    const SetupPage page = {.section = "EMS SETUP", .name = channel_title(), .rows = ROWS,
                            .row_count = ROW_COUNT, .largest_step = uint16_t(generic_rows() ? 100 : 10),
                            .step_on_numbers_only = true, .parent = ScreenId::EMS_SETUP,
                            .parent_item = uint8_t(TILE_CHANNEL0 + ch()), .draw_extra = draw_ntc_line};
    setup_page(page);
}

void screen_fuel_pressure_setup()
{
    page_shown = SensorPage::FuelPressure;
    bindings.active_pressure_cfg = &settings.fuel_pressure_cfg;
    pressure_sender_in_list();
    const SetupPage page = {.section = "EMS SETUP", .name = "FUEL PRESSURE SETUP", .rows = ROWS,
                            .row_count = ROW_COUNT, .largest_step = 10, .step_on_numbers_only = true,
                            .parent = ScreenId::FUEL_SETUP,
                            .parent_item = fuel_setup_link_row(FUEL_LINK_FUEL_PRESSURE),
                            // Left by EXIT, the fuel family is done: the fuel computer
                            // takes up what was changed on FUEL SETUP.
                            .on_leave = fuel_config_derive};
    setup_page(page);
}

void screen_current_setup()
{
    page_shown = SensorPage::MainCurrent;
    bindings.active_current_cfg = &settings.main_current_cfg;
    const SetupPage page = {.section = "EMS SETUP", .name = "CURRENT SETUP", .rows = ROWS,
                            .row_count = ROW_COUNT, .largest_step = 10, .step_on_numbers_only = true,
                            .parent = ScreenId::EMS_SETUP, .parent_item = TILE_CURRENT};
    setup_page(page);
}

} // namespace ems
