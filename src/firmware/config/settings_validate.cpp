// Range check of a settings block read from the card. A file with a correct
// CRC can still carry values that no setup page can produce (written by a
// damaged unit or by hand); the fields checked here index tables and arrays or
// divide, so such a block is refused as a whole instead of being used.
//
// Checked:
// - every option field and flag: at most the last index of its list;
// - every text field: NUL-terminated within its array;
// - the divisors rpm1_full_scale, rpm2_full_scale, rpm1_pulses, rpm2_pulses,
//   k_factor1, k_factor2: not zero;
// - egt_channels + cht_channels: at most 12 thermocouple inputs;
// - every SenderCalibrationTable count: 2..21 (its point slots);
// - tank1_cal, tank2_cal: no two neighbouring readings equal.
// Not checked: limits, display ranges, sizes and other plain numbers, which
// the readers use as numbers only (and which the setup pages wrap anyway).
#include <cstring>

#include "config/settings.h"

namespace ems {

namespace {

// A one-byte option or flag at a byte offset with the largest valid value.
struct ByteLimit {
    uint16_t offset;
    uint8_t max;
    const char* name;
};

// A text field: a NUL must occur within its size.
struct TextField {
    uint16_t offset;
    uint16_t size;
    const char* name;
};

#define LIMIT(T, field, max) ByteLimit{uint16_t(offsetof(T, field)), max, #T "::" #field}
#define TEXT(T, field) \
    TextField{uint16_t(offsetof(T, field)), uint16_t(sizeof(T::field)), #T "::" #field}

constexpr uint8_t FLAG = 1;

constexpr ByteLimit UNIT_LIMITS[] = {
    LIMIT(UnitSettings, data_recording, FLAG),
    LIMIT(UnitSettings, oat_display, FLAG),
    LIMIT(UnitSettings, oat_low_alarm_on, FLAG),
    LIMIT(UnitSettings, oat_high_alarm_on, FLAG),
    LIMIT(UnitSettings, temp_unit, 1),
    LIMIT(UnitSettings, oat_unit, 1),
    LIMIT(UnitSettings, volts_low_alarm_on, FLAG),
    LIMIT(UnitSettings, volts_high_alarm_on, FLAG),
    LIMIT(UnitSettings, map_display, FLAG),
    LIMIT(UnitSettings, map_low_alarm_on, FLAG),
    LIMIT(UnitSettings, map_high_alarm_on, FLAG),
    LIMIT(UnitSettings, map_filter, 2),
    LIMIT(UnitSettings, map_unit, 1),
    LIMIT(UnitSettings, rpm1_display, 2),
    LIMIT(UnitSettings, rpm1_low_alarm_on, FLAG),
    LIMIT(UnitSettings, rpm1_high_alarm_on, FLAG),
    LIMIT(UnitSettings, rpm1_increment, 4),
    LIMIT(UnitSettings, rpm2_display, 2),
    LIMIT(UnitSettings, rpm2_low_alarm_on, FLAG),
    LIMIT(UnitSettings, rpm2_high_alarm_on, FLAG),
    LIMIT(UnitSettings, rpm2_increment, 4),
    LIMIT(UnitSettings, rpm2_position, 1),
    LIMIT(UnitSettings, rpm2_style, 1),
    LIMIT(UnitSettings, gps_position_format, 2),
    LIMIT(UnitSettings, gps_altitude_unit, 1),
    LIMIT(UnitSettings, gps_cog, 1),
    LIMIT(UnitSettings, gps_local_variation, 1),
    LIMIT(UnitSettings, gps_baud, 9),
    LIMIT(UnitSettings, speed_unit, 2),
    LIMIT(UnitSettings, flight_detect, 1),
    LIMIT(UnitSettings, channel_mode[0], CHANNEL_GENERIC),
    LIMIT(UnitSettings, channel_mode[1], CHANNEL_GENERIC),
    LIMIT(UnitSettings, channel_mode[2], CHANNEL_GENERIC),
    LIMIT(UnitSettings, channel_mode[3], CHANNEL_GENERIC),
    LIMIT(UnitSettings, hobbs_start, 2),
    LIMIT(UnitSettings, egt_channels, 12),
    LIMIT(UnitSettings, egt_scanning, 1),
    LIMIT(UnitSettings, egt_high_alarm_on, FLAG),
    LIMIT(UnitSettings, egt_probe, 2),
    LIMIT(UnitSettings, egt_scan_time, 6),
    LIMIT(UnitSettings, cht_channels, 12),
    LIMIT(UnitSettings, cht_scanning, 1),
    LIMIT(UnitSettings, cht_high_alarm_on, FLAG),
    LIMIT(UnitSettings, cht_probe, 3),
    LIMIT(UnitSettings, cht_scan_time, 6),
    LIMIT(UnitSettings, fuel_flow_source, 1),
    LIMIT(UnitSettings, fuel_unit, 5),
    LIMIT(UnitSettings, flow1_on, FLAG),
    LIMIT(UnitSettings, flow2_on, FLAG),
    LIMIT(UnitSettings, flow_mode, 2),
    LIMIT(UnitSettings, tank1_mode, TANK_OFF),
    LIMIT(UnitSettings, tank2_mode, TANK_OFF),
    LIMIT(UnitSettings, injector_level, 1),
    LIMIT(UnitSettings, tank1_low_alarm_on, FLAG),
    LIMIT(UnitSettings, tank1_filter, 3),
    LIMIT(UnitSettings, tank2_low_alarm_on, FLAG),
    LIMIT(UnitSettings, tank2_filter, 3),
    LIMIT(UnitSettings, tank_resolution, 1),
    LIMIT(UnitSettings, tank1_add_to_range, 1),
    LIMIT(UnitSettings, tank2_add_to_range, 1),
    LIMIT(UnitSettings, gps_source, 1),
    LIMIT(UnitSettings, doc_last_kind, 2),
    LIMIT(UnitSettings, fuel_pressure_display, FLAG),
    LIMIT(UnitSettings, current_display, FLAG),
    LIMIT(UnitSettings, ecu_type, 2),
    LIMIT(UnitSettings, ecu_air_temp_unit, 1),
    LIMIT(UnitSettings, hobbs_format, 1),
    LIMIT(UnitSettings, ecu_connect, 1),
    LIMIT(UnitSettings, ecu_lane, 1),
    LIMIT(UnitSettings, rpm1_avoid_zone, FLAG),
    LIMIT(UnitSettings, rpm2_avoid_zone, FLAG),
};

// A pressure record's sender is checked against the longest per-type list
// (VOLTAGE, 3 entries): the channel page itself turns a sender beyond the list
// of the present type back into USER, so that state is expected, not broken.
constexpr ByteLimit PRESSURE_LIMITS[] = {
    LIMIT(PressureSenderConfig, type, 2),
    LIMIT(PressureSenderConfig, sender, 2),
    LIMIT(PressureSenderConfig, unit, 2),
    LIMIT(PressureSenderConfig, low_alarm_on, FLAG),
    LIMIT(PressureSenderConfig, high_alarm_on, FLAG),
    LIMIT(PressureSenderConfig, uma_model, 11),
    LIMIT(PressureSenderConfig, vdo_model, 2),
};

constexpr ByteLimit TEMPERATURE_LIMITS[] = {
    LIMIT(TemperatureSenderConfig, low_alarm_on, FLAG),
    LIMIT(TemperatureSenderConfig, high_alarm_on, FLAG),
    LIMIT(TemperatureSenderConfig, sender, 5),
};

constexpr ByteLimit CURRENT_LIMITS[] = {
    LIMIT(CurrentSensorConfig, low_alarm_on, FLAG),
    LIMIT(CurrentSensorConfig, high_alarm_on, FLAG),
};

constexpr ByteLimit GENERIC_LIMITS[] = {
    LIMIT(GenericSensorConfig, decimals, 2),
    LIMIT(GenericSensorConfig, low_alarm_on, FLAG),
    LIMIT(GenericSensorConfig, high_alarm_on, FLAG),
};

constexpr TextField UNIT_TEXTS[] = {
    TEXT(UnitSettings, volts_label),
    TEXT(UnitSettings, rpm1_label),
    TEXT(UnitSettings, rpm2_label),
    TEXT(UnitSettings, registration),
    TEXT(UnitSettings, doc_last_name),
};
constexpr TextField PRESSURE_TEXTS[] = {TEXT(PressureSenderConfig, label)};
constexpr TextField TEMPERATURE_TEXTS[] = {TEXT(TemperatureSenderConfig, label)};
constexpr TextField GENERIC_TEXTS[] = {
    TEXT(GenericSensorConfig, label),
    TEXT(GenericSensorConfig, unit_label),
};

#undef LIMIT
#undef TEXT

// The checks of one record (or of the block itself) at a byte position.
template <size_t NL, size_t NT>
const char* check_record(const uint8_t* base, const ByteLimit (&limits)[NL],
                         const TextField (&texts)[NT])
{
    for (const ByteLimit& l : limits)
        if (base[l.offset] > l.max) return l.name;
    for (const TextField& t : texts)
        if (!std::memchr(base + t.offset, 0, t.size)) return t.name;
    return nullptr;
}

template <size_t NL>
const char* check_record(const uint8_t* base, const ByteLimit (&limits)[NL])
{
    for (const ByteLimit& l : limits)
        if (base[l.offset] > l.max) return l.name;
    return nullptr;
}

bool cal_count_ok(const SenderCalibrationTable& t)
{
    return t.count >= 2 && t.count <= CAL_POINT_SLOTS;
}

const char* check_pressure(const PressureSenderConfig& r)
{
    const char* bad = check_record(reinterpret_cast<const uint8_t*>(&r), PRESSURE_LIMITS,
                                   PRESSURE_TEXTS);
    if (bad) return bad;
    return cal_count_ok(r.cal) ? nullptr : "PressureSenderConfig::cal.count";
}

bool tank_steps_ok(const uint16_t (&cal)[6])
{
    for (int k = 1; k < 6; ++k)
        if (cal[k] == cal[k - 1]) return false;
    return true;
}

} // namespace

const char* settings_validate(const UnitSettings& s)
{
    const uint8_t* block = reinterpret_cast<const uint8_t*>(&s);
    if (const char* bad = check_record(block, UNIT_LIMITS, UNIT_TEXTS)) return bad;

    for (int i = 0; i < 4; ++i) {
        if (const char* bad = check_pressure(s.pressure_cfg[i])) return bad;

        const TemperatureSenderConfig& t = s.temperature_cfg[i];
        if (const char* bad = check_record(reinterpret_cast<const uint8_t*>(&t),
                                           TEMPERATURE_LIMITS, TEMPERATURE_TEXTS))
            return bad;
        if (!cal_count_ok(t.cal)) return "TemperatureSenderConfig::cal.count";

        if (const char* bad = check_record(reinterpret_cast<const uint8_t*>(&s.current_cfg[i]),
                                           CURRENT_LIMITS))
            return bad;

        const GenericSensorConfig& g = s.generic_cfg[i];
        if (const char* bad = check_record(reinterpret_cast<const uint8_t*>(&g), GENERIC_LIMITS,
                                           GENERIC_TEXTS))
            return bad;
        if (!cal_count_ok(g.cal)) return "GenericSensorConfig::cal.count";
    }
    if (const char* bad = check_pressure(s.fuel_pressure_cfg)) return bad;
    if (const char* bad = check_record(reinterpret_cast<const uint8_t*>(&s.main_current_cfg),
                                       CURRENT_LIMITS))
        return bad;

    if (s.egt_channels + s.cht_channels > 12) return "UnitSettings::egt_channels + cht_channels";

    if (s.rpm1_full_scale == 0) return "UnitSettings::rpm1_full_scale";
    if (s.rpm2_full_scale == 0) return "UnitSettings::rpm2_full_scale";
    if (s.rpm1_pulses == 0) return "UnitSettings::rpm1_pulses";
    if (s.rpm2_pulses == 0) return "UnitSettings::rpm2_pulses";
    if (s.k_factor1 == 0) return "UnitSettings::k_factor1";
    if (s.k_factor2 == 0) return "UnitSettings::k_factor2";

    // Copies: the arrays sit at odd offsets in the packed block.
    uint16_t cal[6];
    std::memcpy(cal, s.tank1_cal, sizeof cal);
    if (!tank_steps_ok(cal)) return "UnitSettings::tank1_cal";
    std::memcpy(cal, s.tank2_cal, sizeof cal);
    if (!tank_steps_ok(cal)) return "UnitSettings::tank2_cal";
    return nullptr;
}

} // namespace ems
