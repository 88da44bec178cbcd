// The columns of a recording, described once in for_each_column: the header
// and every record walk the same list. A column is NAME or "NAME (UNIT)", the
// unit in plain ASCII as the instrument shows the value under the present
// settings; values carry the decimals the instrument shows, "." as decimal
// point, and are empty where no value is available (display off, open probe,
// no GPS fix). No field ever holds a comma.
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "alarms/alarm_words.h"
#include "gps/gps_data.h"
#include "ops/data_recording.h"
#include "sensors/channels.h"
#include "sensors/fuel.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "system/clock.h"
#include "system/raw_inputs.h"

namespace ems {

namespace {

struct Value {
    int64_t v = 0;
    uint8_t decimals = 0;
    bool ok = false; // false: the field stays empty
};
Value num(int64_t v, uint8_t decimals = 0) { return {v, decimals, true}; }
constexpr Value NONE{};

struct Column {
    const char* name;
    unsigned number; // appended to the name when non-zero ("EGT3")
    const char* unit; // "" for none
};

const char* degrees(uint8_t unit) { return unit == 1 ? "F" : "C"; }
bool gallons() { return settings.fuel_unit % 2 == 1; }

const char* rpm_unit(uint8_t display) { return display == 1 ? "%" : "RPM"; }
Value rpm_value(uint8_t display, int32_t rpm, int32_t percent)
{
    return display == 0 ? num(rpm) : display == 1 ? num(percent) : NONE;
}

// A pressure in its record's unit: 0.1 bar, 1 psi or 0.1 psi.
const char* pressure_unit(uint8_t unit) { return unit == 0 ? "BAR" : "PSI"; }
Value pressure(int16_t v, uint8_t unit) { return num(v, unit == 1 ? 0 : 1); }

// The generic channel's own unit label, reduced to characters a header can
// carry unquoted.
const char* generic_unit(uint8_t channel)
{
    static char unit[sizeof(GenericSensorConfig::unit_label)];
    const char* label = settings.generic_cfg[channel].unit_label;
    size_t o = 0;
    for (size_t i = 0; i < sizeof unit - 1 && label[i]; ++i) {
        const char c = label[i];
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '%' || c == '/' || c == '.';
        if (plain) unit[o++] = c;
    }
    unit[o] = 0;
    return unit;
}

const char* analog_unit(uint8_t n)
{
    switch (channel_mode_in_use(n)) {
    case CHANNEL_PRESSURE: return pressure_unit(settings.pressure_cfg[n].unit);
    case CHANNEL_TEMPERATURE: return degrees(settings.temp_unit);
    case CHANNEL_CURRENT: return "A";
    case CHANNEL_GENERIC: return generic_unit(n);
    default: return "";
    }
}

Value analog_value(uint8_t n)
{
    switch (channel_mode_in_use(n)) {
    case CHANNEL_PRESSURE: return pressure(senders.aux_pressure[n], settings.pressure_cfg[n].unit);
    case CHANNEL_TEMPERATURE: return num(senders.aux_temp[n]);
    case CHANNEL_CURRENT: return num(senders.aux_current_x10[n], 1);
    case CHANNEL_GENERIC: {
        const uint8_t d = settings.generic_cfg[n].decimals;
        return num(senders.aux_generic[n], d < 3 ? d : 2);
    }
    default: return NONE;
    }
}

Value thermocouple(uint8_t channel)
{
    const int16_t v = thermo.tc_value[channel];
    return v < TC_OPEN_BELOW ? NONE : num(v);
}

Value tank(uint8_t t)
{
    const uint8_t mode = t == 0 ? settings.tank1_mode : settings.tank2_mode;
    if (mode == TANK_OFF || fuel.tank_open[t]) return NONE;
    return num(fuel.tank_level[t], gallons() || settings.tank_resolution == 1 ? 1 : 0);
}

Value gps_value(int64_t v, uint8_t decimals = 0) { return gps.gps_fix_valid == 1 ? num(v, decimals) : NONE; }
const char* speed_unit() { return settings.speed_unit == 0 ? "mph" : settings.speed_unit == 1 ? "km/h" : "kt"; }

// Every column after UTC and T (s), in file order.
template <typename Sink>
void for_each_column(Sink&& out)
{
    out(Column{"RPM1", 0, rpm_unit(settings.rpm1_display)},
        rpm_value(settings.rpm1_display, sens.rpm, sens.rpm_percent));
    out(Column{"RPM2", 0, rpm_unit(settings.rpm2_display)},
        rpm_value(settings.rpm2_display, raw.rpm2, raw.rpm2_percent));
    out(Column{"MAP", 0, settings.map_unit == 1 ? "inHg" : "mb"},
        settings.map_display ? num(sens.map_disp, settings.map_unit == 1 ? 1 : 0) : NONE);
    const uint8_t egt = settings.egt_channels < TC_CHANNELS ? settings.egt_channels : TC_CHANNELS;
    const uint8_t cht = settings.cht_channels < TC_CHANNELS - egt ? settings.cht_channels : uint8_t(TC_CHANNELS - egt);
    for (uint8_t i = 0; i < egt; ++i) out(Column{"EGT", i + 1u, degrees(settings.temp_unit)}, thermocouple(i));
    for (uint8_t i = 0; i < cht; ++i)
        out(Column{"CHT", i + 1u, degrees(settings.temp_unit)}, thermocouple(uint8_t(egt + i)));
    out(Column{"VOLTS", 0, "V"}, num(sens.volts_x10, 1));
    out(Column{"AMPS", 0, "A"}, settings.current_display == 1 ? num(sens.current_x10, 1) : NONE);
    out(Column{"OAT", 0, degrees(settings.oat_unit)}, settings.oat_display ? num(sens.oat_disp) : NONE);
    for (uint8_t n = 0; n < 4; ++n) out(Column{"AIN", n + 1u, analog_unit(n)}, analog_value(n));
    out(Column{"FUEL PRESS", 0, pressure_unit(settings.fuel_pressure_cfg.unit)},
        settings.fuel_pressure_display == 1 ? pressure(senders.fuel_pressure, settings.fuel_pressure_cfg.unit) : NONE);
    const char* volume = gallons() ? "gal" : "L";
    const char* flow = gallons() ? "gal/h" : "L/h";
    out(Column{"FLOW", 1, flow}, settings.flow1_on ? num(fuel.fuel_flow[0], 1) : NONE);
    out(Column{"FLOW", 2, flow}, settings.flow2_on ? num(fuel.fuel_flow[1], 1) : NONE);
    out(Column{"TANK", 1, volume}, tank(0));
    out(Column{"TANK", 2, volume}, tank(1));
    // Fuel used per sender: whole litres, or tenths of a gallon.
    out(Column{"USED", 1, volume}, num(fuel.fuel_used[0], gallons() ? 1 : 0));
    out(Column{"USED", 2, volume}, num(fuel.fuel_used[1], gallons() ? 1 : 0));
    out(Column{"LAT", 0, "deg"}, gps_value(int64_t(double(gps.gps_latitude) * 100000.0), 5));
    out(Column{"LON", 0, "deg"}, gps_value(int64_t(double(gps.gps_longitude) * 100000.0), 5));
    out(Column{"SPEED", 0, speed_unit()}, gps_value(gps.gps_speed));
    const bool metres = settings.gps_altitude_unit == 1;
    out(Column{"ALT", 0, metres ? "m" : "ft"}, gps_value(metres ? gps.gps_altitude_m : gps.gps_altitude_ft));
    out(Column{"COURSE", 0, "deg"}, gps_value(settings.gps_cog == 1 ? gps.gps_course : gps.gps_course_mag));
    out(Column{"ALARM1", 0, ""}, num(alarms.alarm_flags));
    out(Column{"ALARM2", 0, ""}, num(alarms.alarm_acked));
}

// Appends to a fixed line; remembers when something did not fit.
struct Line {
    char* out;
    size_t size;
    size_t used = 0;
    bool fits = true;

    void add(const char* format, auto... args)
    {
        if (!fits) return;
        const int n = std::snprintf(out + used, size - used, format, args...);
        if (n < 0 || size_t(n) >= size - used) {
            fits = false;
            out[used] = 0;
            return;
        }
        used += size_t(n);
    }
    void value(const Value& v)
    {
        if (!v.ok) return;
        if (v.decimals == 0) return add("%" PRId64, v.v);
        int64_t scale = 1;
        for (uint8_t i = 0; i < v.decimals; ++i) scale *= 10;
        const uint64_t magnitude = v.v < 0 ? uint64_t(-v.v) : uint64_t(v.v);
        add("%s%" PRIu64 ".%0*" PRIu64, v.v < 0 ? "-" : "", magnitude / uint64_t(scale), int(v.decimals),
            magnitude % uint64_t(scale));
    }
};

} // namespace

bool recording_header(char* out, size_t size)
{
    Line line{out, size};
    line.add("%s", "UTC,T (s)");
    for_each_column([&](const Column& c, const Value&) {
        line.add(",%s", c.name);
        if (c.number) line.add("%u", c.number);
        if (*c.unit) line.add(" (%s)", c.unit);
    });
    return line.fits;
}

bool recording_record(char* out, size_t size, uint32_t utc_seconds, uint32_t t_seconds)
{
    ClockRecord r;
    seconds_to_clock(utc_seconds, r);
    Line line{out, size};
    line.add("%04u-%02u-%02u %02u:%02u:%02u,%" PRIu32, unsigned(r.year + 1900), unsigned(r.month), unsigned(r.day),
             unsigned(r.hour), unsigned(r.minute), unsigned(r.second), t_seconds);
    for_each_column([&](const Column&, const Value& v) {
        line.add("%s", ",");
        line.value(v);
    });
    return line.fits;
}

} // namespace ems
