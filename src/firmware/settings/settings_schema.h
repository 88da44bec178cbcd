// The settings schema: every field of UnitSettings and of its record types,
// written once, in layout order. A row gives the field's name, byte offset,
// declared type (element type and count) and what it holds:
//
//   number(min, max)   a plain number; min..max is the range its setup row
//                      edits, which a recalled block is not held to
//   whole()            a plain number over its type's whole range (32-bit
//                      fields: the int32 range)
//   by_unit(ranges)    a plain number whose setup range follows a unit setting
//   checked(min, max)  a number a recalled block must keep within min..max
//   divisor(min, max)  a number a recalled block must not hold as 0 (it
//                      divides); min..max is its setup range
//   flag()             0 OFF / 1 ON
//   option(list)       an index into an option list (config/options.h)
//   option_by(lists)   an index into one of several lists, chosen by another
//                      field; a recalled block is held to the longest
//   text()             characters, NUL-terminated within the array
//   record(schema)     a record (or an array of records) with its own rows
//   reserved()         bytes never read or written
//
// From these rows come the compile-time offset and type pins of the binary
// layout (the record structs below), the range check of recalled blocks
// (settings_validate.cpp), the variables by path of the scenario runner
// (system/var_registry_settings.cpp) and the ranges and option texts of the
// setup rows (SETUP_OPTIONS, SETUP_RANGE in ui/setup_keys.h). The struct
// declarations in settings.h stay the firmware's way to the fields; the
// layout pins check that the two agree field by field. Defaults stay code
// (settings_defaults.cpp), in their power-on order.
//
// A new field: its member in settings.h, its row here, its default.
#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "settings/options.h"
#include "settings/settings.h"

namespace ems {

enum class FieldType : uint8_t { U8, I8, U16, I16, U32, I32, Char, Record };

enum class FieldKind : uint8_t { Number, Checked, Divisor, Flag, Option, Text, Record, Reserved };

struct FieldRange {
    int32_t min;
    int32_t max;
};

// Setup ranges that follow a unit option: by_unit[v] while that option is v.
struct UnitRanges {
    const char* unit_field; // the unit option: in the same record, else in UnitSettings
    const FieldRange* by_unit;
    uint8_t count;
};

struct RecordSchema;

// What a row says about a field, apart from its name, offset and type.
struct FieldShape {
    FieldKind kind = FieldKind::Number;
    FieldRange range{0, 0};
    bool whole_type = false;             // range: the element type's own
    const OptionList* options = nullptr; // Flag, Option: the list (or the first of option_sets lists)
    uint8_t option_sets = 0;
    const UnitRanges* unit_ranges = nullptr;
    const RecordSchema* record = nullptr;
};

struct SettingsField {
    const char* name;
    uint16_t offset;     // within its record
    FieldType type;      // element type
    uint16_t count;      // elements; 1 for a scalar
    uint16_t size;       // bytes of one element
    FieldKind kind;
    FieldRange range;    // numbers: the setup range (the first unit's for by_unit);
                         // Flag, Option: 0..entries - 1 (the longest list)
    const OptionList* options;
    uint8_t option_sets;
    const UnitRanges* unit_ranges;
    const RecordSchema* record;
};

struct RecordSchema {
    const char* name; // the C++ type name
    uint16_t size;
    const SettingsField* fields;
    uint16_t field_count;
};

// ---- Row kinds -----------------------------------------------------------------

namespace schema_rows {

constexpr FieldShape number(int32_t min, int32_t max) { return {FieldKind::Number, {min, max}}; }
constexpr FieldShape whole() { return {FieldKind::Number, {0, 0}, true}; }
constexpr FieldShape by_unit(const UnitRanges& r)
{
    return {FieldKind::Number, r.by_unit[0], false, nullptr, 0, &r};
}
constexpr FieldShape checked(int32_t min, int32_t max) { return {FieldKind::Checked, {min, max}}; }
constexpr FieldShape divisor(int32_t min, int32_t max) { return {FieldKind::Divisor, {min, max}}; }
constexpr FieldShape flag() { return {FieldKind::Flag, {0, 1}, false, &options::OFF_ON, 1}; }
constexpr FieldShape option(const OptionList& list)
{
    return {FieldKind::Option, {0, list.count - 1}, false, &list, 1};
}
template <size_t N>
constexpr FieldShape option_by(const OptionList (&lists)[N])
{
    int32_t longest = 0;
    for (const OptionList& l : lists) longest = l.count > longest ? l.count : longest;
    return {FieldKind::Option, {0, longest - 1}, false, &lists[0], uint8_t(N)};
}
constexpr FieldShape text() { return {FieldKind::Text}; }
constexpr FieldShape record(const RecordSchema& r) { return {FieldKind::Record, {}, false, nullptr, 0, nullptr, &r}; }
constexpr FieldShape reserved() { return {FieldKind::Reserved}; }

// Setup ranges by unit.
constexpr FieldRange OAT_RANGE[] = {{-50, 150}, {-58, 302}};            // oat_unit
constexpr FieldRange ENGINE_TEMP_RANGE[] = {{-40, 300}, {-40, 570}};    // temp_unit
constexpr FieldRange TC_RANGE[] = {{0, 1200}, {30, 2190}};              // temp_unit
constexpr FieldRange MAP_RANGE[] = {{250, 2500}, {73, 738}};            // map_unit
constexpr FieldRange PRESSURE_RANGE[] = {{1, 100}, {1, 150}, {1, 999}}; // the record's unit
constexpr FieldRange PRESSURE_POINT_RANGE[] = {{0, 100}, {0, 150}, {0, 999}};
constexpr UnitRanges OAT{"oat_unit", OAT_RANGE, 2};
constexpr UnitRanges ENGINE_TEMP{"temp_unit", ENGINE_TEMP_RANGE, 2};
constexpr UnitRanges TC{"temp_unit", TC_RANGE, 2};
constexpr UnitRanges MAP{"map_unit", MAP_RANGE, 2};
constexpr UnitRanges PRESSURE{"unit", PRESSURE_RANGE, 3};
constexpr UnitRanges PRESSURE_POINT{"unit", PRESSURE_POINT_RANGE, 3};

constexpr int32_t RPM_MAX = 99000;

template <typename T>
constexpr FieldType field_type_of()
{
    using U = std::remove_all_extents_t<T>;
    if constexpr (std::is_same_v<U, char>) return FieldType::Char;
    else if constexpr (std::is_same_v<U, uint8_t>) return FieldType::U8;
    else if constexpr (std::is_same_v<U, int8_t>) return FieldType::I8;
    else if constexpr (std::is_same_v<U, uint16_t>) return FieldType::U16;
    else if constexpr (std::is_same_v<U, int16_t>) return FieldType::I16;
    else if constexpr (std::is_same_v<U, uint32_t>) return FieldType::U32;
    else if constexpr (std::is_same_v<U, int32_t>) return FieldType::I32;
    else return FieldType::Record;
}

template <typename T>
constexpr SettingsField make_field(const char* name, uint16_t offset, FieldShape shape)
{
    using U = std::remove_all_extents_t<T>;
    static_assert(std::rank_v<T> <= 1, "one array dimension at most");
    FieldRange range = shape.range;
    if (shape.whole_type) {
        if constexpr (std::is_integral_v<U> && sizeof(U) < 4) {
            range = {std::numeric_limits<U>::min(), std::numeric_limits<U>::max()};
        } else {
            range = {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
        }
    }
    return {name,      offset,     field_type_of<T>(), uint16_t(sizeof(T) / sizeof(U)), uint16_t(sizeof(U)),
            shape.kind, range,      shape.options,       shape.option_sets,                shape.unit_ranges,
            shape.record};
}

// Whether the rows cover the record exactly: each field starts where the one
// before ends and the last ends at the record's size. A member missing from
// the rows, or a row in the wrong place, fails this.
template <size_t N>
constexpr bool rows_cover(const SettingsField (&fields)[N], size_t record_size)
{
    size_t at = 0;
    for (const SettingsField& f : fields) {
        if (f.offset != at) return false;
        at += size_t(f.count) * f.size;
    }
    return at == record_size;
}

} // namespace schema_rows

// ---- The rows ------------------------------------------------------------------
// X(name, offset, type, what)

#define EMS_CAL_POINT_ROWS(X)                                                                     \
    X(display, 0, int16_t, number(0, 999))                                                        \
    X(adc, 2, int16_t, number(0, 4095))

// The point count is held to the slots; the calibration screens use 2..16.
#define EMS_CAL_TABLE_ROWS(X)                                                                     \
    X(count, 0, uint8_t, checked(2, CAL_POINT_SLOTS))                                             \
    X(point, 1, CalPoint[CAL_POINT_SLOTS], record(CAL_POINT_SCHEMA))

#define EMS_PRESSURE_ROWS(X)                                                                      \
    X(type, 0, uint8_t, option(options::PRESSURE_TYPE))                                           \
    X(sender, 1, uint8_t, option_by(options::PRESSURE_SENDER))                                    \
    X(unit, 2, uint8_t, option(options::PRESSURE_UNIT))                                           \
    X(p_low_point, 3, int16_t, by_unit(PRESSURE_POINT))                                           \
    X(p_high_point, 5, int16_t, by_unit(PRESSURE_POINT))                                          \
    X(label, 7, char[7], text())                                                                  \
    X(display_max, 14, int16_t, by_unit(PRESSURE))                                                \
    X(display_min, 16, int16_t, by_unit(PRESSURE))                                                \
    X(low_alarm, 18, int16_t, by_unit(PRESSURE))                                                  \
    X(low_alarm_on, 20, uint8_t, flag())                                                          \
    X(high_alarm, 21, int16_t, by_unit(PRESSURE))                                                 \
    X(low_caution, 23, int16_t, by_unit(PRESSURE))                                                \
    X(high_caution, 25, int16_t, by_unit(PRESSURE))                                               \
    X(high_alarm_on, 27, uint8_t, flag())                                                         \
    X(uma_model, 28, uint8_t, option(options::UMA_MODEL))                                         \
    X(vdo_model, 29, uint8_t, option(options::VDO_MODEL))                                         \
    X(cal, 30, SenderCalibrationTable, record(CAL_TABLE_SCHEMA))

#define EMS_TEMPERATURE_ROWS(X)                                                                   \
    X(label, 0, char[7], text())                                                                  \
    X(display_max, 7, int16_t, by_unit(ENGINE_TEMP))                                              \
    X(display_min, 9, int16_t, by_unit(ENGINE_TEMP))                                              \
    X(low_alarm, 11, int16_t, by_unit(ENGINE_TEMP))                                               \
    X(low_alarm_on, 13, uint8_t, flag())                                                          \
    X(high_alarm, 14, int16_t, by_unit(ENGINE_TEMP))                                              \
    X(low_caution, 16, int16_t, by_unit(ENGINE_TEMP))                                             \
    X(high_caution, 18, int16_t, by_unit(ENGINE_TEMP))                                            \
    X(high_alarm_on, 20, uint8_t, flag())                                                         \
    X(sender, 21, uint8_t, option(options::TEMPERATURE_SENDER))                                   \
    X(cal_offset, 22, int8_t, whole())                                                            \
    X(cal, 23, SenderCalibrationTable, record(CAL_TABLE_SCHEMA))

#define EMS_CURRENT_ROWS(X)                                                                       \
    X(display_max, 0, int16_t, number(-100, 100))                                                 \
    X(display_min, 2, int16_t, number(-100, 100))                                                 \
    X(low_alarm, 4, int16_t, number(-100, 100))                                                   \
    X(low_alarm_on, 6, uint8_t, flag())                                                           \
    X(high_alarm, 7, int16_t, number(-100, 100))                                                  \
    X(low_caution, 9, int16_t, number(-100, 100))                                                 \
    X(high_caution, 11, int16_t, number(-100, 100))                                               \
    X(high_alarm_on, 13, uint8_t, flag())                                                         \
    X(gain, 14, int16_t, number(1, 1000))

#define EMS_GENERIC_ROWS(X)                                                                       \
    X(label, 0, char[5], text())                                                                  \
    X(unit_label, 5, char[4], text())                                                             \
    X(decimals, 9, uint8_t, option(options::DECIMALS))                                            \
    X(display_max, 10, int16_t, number(-999, 999))                                                \
    X(display_min, 12, int16_t, number(-999, 999))                                                \
    X(low_alarm, 14, int16_t, number(-999, 999))                                                  \
    X(low_alarm_on, 16, uint8_t, flag())                                                          \
    X(high_alarm, 17, int16_t, number(-999, 999))                                                 \
    X(low_caution, 19, int16_t, number(-999, 999))                                                \
    X(high_caution, 21, int16_t, number(-999, 999))                                               \
    X(high_alarm_on, 23, uint8_t, flag())                                                         \
    X(cal, 24, SenderCalibrationTable, record(CAL_TABLE_SCHEMA))

// The RPM rows of one RPM input (n = 1 or 2) sit apart in the block, so they
// are written out per input.
#define EMS_UNIT_ROWS(X)                                                                          \
    X(version, 0, uint16_t, whole())                                                              \
    X(data_recording, 2, uint8_t, flag())                                                         \
    X(oat_display, 3, uint8_t, flag())                                                            \
    X(oat_display_max, 4, int16_t, by_unit(OAT))                                                  \
    X(oat_display_min, 6, int16_t, by_unit(OAT))                                                  \
    X(oat_low_alarm, 8, int16_t, by_unit(OAT))                                                    \
    X(oat_high_alarm, 10, int16_t, by_unit(OAT))                                                  \
    X(oat_low_alarm_on, 12, uint8_t, flag())                                                      \
    X(oat_high_alarm_on, 13, uint8_t, flag())                                                     \
    X(temp_unit, 14, uint8_t, option(options::DEGREE_UNIT))                                       \
    X(oat_unit, 15, uint8_t, option(options::DEGREE_UNIT))                                        \
    X(volts_display_max, 16, int16_t, number(80, 300))                                            \
    X(volts_display_min, 18, int16_t, number(80, 300))                                            \
    X(volts_low_alarm, 20, int16_t, number(80, 300))                                              \
    X(volts_high_alarm, 22, int16_t, number(80, 300))                                             \
    X(volts_low_alarm_on, 24, uint8_t, flag())                                                    \
    X(volts_high_alarm_on, 25, uint8_t, flag())                                                   \
    X(volts_low_caution, 26, int16_t, number(80, 300))                                            \
    X(volts_high_caution, 28, int16_t, number(80, 300))                                           \
    X(volts_label, 30, char[7], text())                                                           \
    X(map_display, 37, uint8_t, flag())                                                           \
    X(map_display_max, 38, int16_t, by_unit(MAP))                                                 \
    X(map_display_min, 40, int16_t, by_unit(MAP))                                                 \
    X(map_low_alarm, 42, int16_t, by_unit(MAP))                                                   \
    X(map_low_alarm_on, 44, uint8_t, flag())                                                      \
    X(map_high_alarm, 45, int16_t, by_unit(MAP))                                                  \
    X(map_low_caution, 47, int16_t, by_unit(MAP))                                                 \
    X(map_high_caution, 49, int16_t, by_unit(MAP))                                                \
    X(map_high_alarm_on, 51, uint8_t, flag())                                                     \
    X(map_filter, 52, uint8_t, option(options::MAP_FILTER))                                       \
    X(map_unit, 53, uint8_t, option(options::MAP_UNIT))                                           \
    X(rpm1_display, 54, uint8_t, option(options::RPM_DISPLAY))                                    \
    X(rpm1_full_scale, 55, uint32_t, divisor(100, RPM_MAX))                                       \
    X(rpm1_display_max, 59, uint32_t, number(100, RPM_MAX))                                       \
    X(rpm1_display_min, 63, uint32_t, number(0, RPM_MAX))                                         \
    X(rpm1_low_alarm, 67, uint32_t, number(0, RPM_MAX))                                           \
    X(rpm1_low_alarm_on, 71, uint8_t, flag())                                                     \
    X(rpm1_high_alarm, 72, uint32_t, number(100, RPM_MAX))                                        \
    X(rpm1_high_alarm_on, 76, uint8_t, flag())                                                    \
    X(rpm1_low_caution, 77, uint32_t, number(0, RPM_MAX))                                         \
    X(rpm1_high_caution, 81, uint32_t, number(100, RPM_MAX))                                      \
    X(reserved_85, 85, uint8_t[2], reserved())                                                    \
    X(rpm1_increment, 87, uint8_t, option(options::RPM_INCREMENT))                                \
    X(rpm1_label, 88, char[7], text())                                                            \
    X(rpm2_display, 95, uint8_t, option(options::RPM_DISPLAY))                                    \
    X(rpm2_full_scale, 96, uint32_t, divisor(100, RPM_MAX))                                       \
    X(rpm2_display_max, 100, uint32_t, number(100, RPM_MAX))                                      \
    X(rpm2_display_min, 104, uint32_t, number(0, RPM_MAX))                                        \
    X(rpm2_low_alarm, 108, uint32_t, number(0, RPM_MAX))                                          \
    X(rpm2_low_alarm_on, 112, uint8_t, flag())                                                    \
    X(rpm2_high_alarm, 113, uint32_t, number(100, RPM_MAX))                                       \
    X(rpm2_high_alarm_on, 117, uint8_t, flag())                                                   \
    X(rpm2_low_caution, 118, uint32_t, number(0, RPM_MAX))                                        \
    X(rpm2_high_caution, 122, uint32_t, number(100, RPM_MAX))                                     \
    X(reserved_126, 126, uint8_t[2], reserved())                                                  \
    X(rpm2_increment, 128, uint8_t, option(options::RPM_INCREMENT))                               \
    X(rpm2_position, 129, uint8_t, option(options::RPM2_POSITION))                                \
    X(rpm2_style, 130, uint8_t, option(options::RPM2_STYLE))                                      \
    X(rpm2_label, 131, char[7], text())                                                           \
    X(gps_position_format, 138, uint8_t, option(options::GPS_POSITION_FORMAT))                    \
    X(gps_altitude_unit, 139, uint8_t, option(options::ALTITUDE_UNIT))                            \
    X(gps_cog, 140, uint8_t, option(options::GPS_COG))                                            \
    X(gps_local_variation, 141, uint8_t, option(options::GPS_VARIATION))                          \
    X(gps_manual_variation, 142, int16_t, number(-180, 180))                                      \
    X(gps_baud, 144, uint8_t, option(options::GPS_BAUD))                                          \
    X(speed_unit, 145, uint8_t, option(options::SPEED_UNIT))                                      \
    X(registration, 146, char[9], text())                                                         \
    X(flight_detect, 155, uint8_t, option(options::FLIGHT_DETECT))                                \
    X(flight_detect_min_rpm1, 156, uint32_t, number(100, 99000))                                  \
    X(flight_detect_min_rpm2, 160, uint32_t, number(100, 99000))                                  \
    X(flight_detect_min_speed, 164, uint16_t, number(10, 250))                                    \
    X(pilot_number, 166, uint8_t, number(0, 255))                                                 \
    X(channel_mode, 167, uint8_t[4], option(options::CHANNEL_MODE))                               \
    X(pressure_cfg, 171, PressureSenderConfig[4], record(PRESSURE_SCHEMA))                        \
    X(temperature_cfg, 631, TemperatureSenderConfig[4], record(TEMPERATURE_SCHEMA))               \
    X(current_cfg, 1063, CurrentSensorConfig[4], record(CURRENT_SCHEMA))                          \
    X(hobbs_min_rpm, 1127, uint32_t, number(100, 99000))                                         \
    X(hobbs_code, 1131, uint16_t, number(0, 9999))                                                \
    X(utc_offset, 1133, int16_t, number(-780, 780))                                               \
    X(hobbs_start, 1135, uint8_t, option(options::HOBBS_START))                                   \
    X(egt_channels, 1136, uint8_t, checked(0, 12))                                                \
    X(egt_scanning, 1137, uint8_t, option(options::TC_SCANNING))                                  \
    X(egt_display_max, 1138, int16_t, by_unit(TC))                                                \
    X(egt_display_min, 1140, int16_t, by_unit(TC))                                                \
    X(egt_high_alarm, 1142, int16_t, by_unit(TC))                                                 \
    X(egt_high_caution, 1144, int16_t, by_unit(TC))                                               \
    X(egt_high_alarm_on, 1146, uint8_t, flag())                                                   \
    X(egt_probe, 1147, uint8_t, option(options::EGT_PROBE))                                       \
    X(egt_scan_time, 1148, uint8_t, option(options::SCAN_TIME))                                   \
    X(cht_channels, 1149, uint8_t, checked(0, 12))                                                \
    X(cht_scanning, 1150, uint8_t, option(options::TC_SCANNING))                                  \
    X(cht_display_max, 1151, int16_t, by_unit(TC))                                                \
    X(cht_display_min, 1153, int16_t, by_unit(TC))                                                \
    X(cht_high_alarm, 1155, int16_t, by_unit(TC))                                                 \
    X(cht_high_caution, 1157, int16_t, by_unit(TC))                                               \
    X(cht_high_alarm_on, 1159, uint8_t, flag())                                                   \
    X(cht_probe, 1160, uint8_t, option(options::CHT_PROBE))                                       \
    X(cht_scan_time, 1161, uint8_t, option(options::SCAN_TIME))                                   \
    X(fuel_flow_source, 1162, uint8_t, option(options::FLOW_SOURCE))                              \
    X(cruise_speed, 1163, uint16_t, number(0, 999))                                               \
    X(fuel_unit, 1165, uint8_t, option(options::FUEL_UNIT))                                       \
    X(flow1_on, 1166, uint8_t, flag())                                                            \
    X(k_factor1, 1167, uint16_t, divisor(10, 60000))                                              \
    X(flow2_on, 1169, uint8_t, flag())                                                            \
    X(k_factor2, 1170, uint16_t, divisor(10, 60000))                                              \
    X(flow_mode, 1172, uint8_t, option(options::FLOW_MODE))                                       \
    X(tank1_mode, 1173, uint8_t, option(options::TANK_MODE))                                      \
    X(tank2_mode, 1174, uint8_t, option(options::TANK_MODE))                                      \
    X(injector_level, 1175, uint8_t, option(options::INJECTOR_LEVEL))                             \
    X(tank1_size, 1176, int16_t, number(0, 999))                                                  \
    X(tank1_low_alarm_on, 1178, uint8_t, flag())                                                  \
    X(tank1_low_alarm, 1179, int16_t, whole())                                                    \
    X(tank1_low_caution, 1181, int16_t, whole())                                                  \
    X(tank1_cal, 1183, uint16_t[6], whole())                                                      \
    X(tank1_filter, 1195, uint8_t, option(options::TANK_FILTER))                                  \
    X(tank2_size, 1196, int16_t, number(0, 999))                                                  \
    X(tank2_low_alarm_on, 1198, uint8_t, flag())                                                  \
    X(tank2_low_alarm, 1199, int16_t, whole())                                                    \
    X(tank2_low_caution, 1201, int16_t, whole())                                                  \
    X(tank2_cal, 1203, uint16_t[6], whole())                                                      \
    X(tank2_filter, 1215, uint8_t, option(options::TANK_FILTER))                                  \
    X(tank_resolution, 1216, uint8_t, option(options::TANK_RESOLUTION))                           \
    X(tank1_add_to_range, 1217, uint8_t, option(options::NO_YES))                                 \
    X(tank2_add_to_range, 1218, uint8_t, option(options::NO_YES))                                 \
    X(backlight, 1219, uint8_t, number(2, 31))                                                    \
    X(gps_source, 1220, uint8_t, option(options::GPS_SOURCE))                                     \
    X(reserved_1221, 1221, uint8_t, reserved())                                                   \
    X(doc_last_kind, 1222, uint8_t, option(options::DOC_KIND))                                    \
    X(doc_last_name, 1223, char[50], text())                                                      \
    X(fuel_pressure_display, 1273, uint8_t, flag())                                               \
    X(fuel_pressure_cfg, 1274, PressureSenderConfig, record(PRESSURE_SCHEMA))                     \
    X(current_display, 1389, uint8_t, flag())                                                     \
    X(main_current_cfg, 1390, CurrentSensorConfig, record(CURRENT_SCHEMA))                        \
    X(ecu_type, 1406, uint8_t, option(options::ECU_TYPE))                                         \
    X(ecu_air_temp_unit, 1407, uint8_t, option(options::DEGREE_UNIT))                             \
    X(hobbs_format, 1408, uint8_t, option(options::HOBBS_FORMAT))                                 \
    X(ecu_connect, 1409, uint8_t, option(options::ECU_CONNECT))                                   \
    X(ecu_lane, 1410, uint8_t, option(options::ECU_LANE))                                         \
    X(rpm1_pulses, 1411, uint32_t, divisor(1, RPM_MAX))                                           \
    X(rpm2_pulses, 1415, uint32_t, divisor(1, RPM_MAX))                                           \
    X(generic_cfg, 1419, GenericSensorConfig[4], record(GENERIC_SCHEMA))                          \
    X(rpm1_avoid_high, 1855, uint32_t, number(100, RPM_MAX))                                      \
    X(rpm1_avoid_low, 1859, uint32_t, number(100, RPM_MAX))                                       \
    X(rpm1_avoid_zone, 1863, uint8_t, flag())                                                     \
    X(rpm2_avoid_high, 1864, uint32_t, number(100, RPM_MAX))                                      \
    X(rpm2_avoid_low, 1868, uint32_t, number(100, RPM_MAX))                                       \
    X(rpm2_avoid_zone, 1872, uint8_t, flag())

// ---- The schema objects ---------------------------------------------------------
// Per record a struct of its rows: one constant per field, by the field's own
// name (unit_fields::speed_unit, pressure_fields::unit), and `all`, the rows
// in layout order. The struct also pins each field's offset and type.

#define EMS_SCHEMA_MEMBER(n, off, T, what)                                                        \
    static_assert(offsetof(R, n) == (off), "offset of " #n);                                      \
    static_assert(std::is_same_v<decltype(R::n), T>, "type of " #n);                              \
    static constexpr SettingsField n = schema_rows::make_field<T>(#n, off, schema_rows::what);
#define EMS_SCHEMA_ELEMENT(n, off, T, what) n,

#define EMS_RECORD_SCHEMA(fields_struct, record_type, ROWS, schema_name)                          \
    struct fields_struct {                                                                        \
        using R = record_type;                                                                    \
        ROWS(EMS_SCHEMA_MEMBER)                                                                   \
        static constexpr SettingsField all[] = {ROWS(EMS_SCHEMA_ELEMENT)};                        \
        static_assert(schema_rows::rows_cover(all, sizeof(R)), #record_type " rows cover it");    \
    };                                                                                            \
    inline constexpr RecordSchema schema_name{#record_type, uint16_t(sizeof(record_type)),        \
                                              fields_struct::all,                                 \
                                              uint16_t(std::size(fields_struct::all))};

// Each record's rows see the row kinds and the schemas of the records before it.
namespace schema_detail {
using namespace schema_rows;
EMS_RECORD_SCHEMA(cal_point_fields, CalPoint, EMS_CAL_POINT_ROWS, CAL_POINT_SCHEMA)
EMS_RECORD_SCHEMA(cal_table_fields, SenderCalibrationTable, EMS_CAL_TABLE_ROWS, CAL_TABLE_SCHEMA)
EMS_RECORD_SCHEMA(pressure_fields, PressureSenderConfig, EMS_PRESSURE_ROWS, PRESSURE_SCHEMA)
EMS_RECORD_SCHEMA(temperature_fields, TemperatureSenderConfig, EMS_TEMPERATURE_ROWS, TEMPERATURE_SCHEMA)
EMS_RECORD_SCHEMA(current_fields, CurrentSensorConfig, EMS_CURRENT_ROWS, CURRENT_SCHEMA)
EMS_RECORD_SCHEMA(generic_fields, GenericSensorConfig, EMS_GENERIC_ROWS, GENERIC_SCHEMA)
EMS_RECORD_SCHEMA(unit_fields, UnitSettings, EMS_UNIT_ROWS, UNIT_SETTINGS_SCHEMA)
} // namespace schema_detail

using schema_detail::cal_point_fields;
using schema_detail::cal_table_fields;
using schema_detail::current_fields;
using schema_detail::generic_fields;
using schema_detail::pressure_fields;
using schema_detail::temperature_fields;
using schema_detail::unit_fields;
using schema_detail::CAL_POINT_SCHEMA;
using schema_detail::CAL_TABLE_SCHEMA;
using schema_detail::CURRENT_SCHEMA;
using schema_detail::GENERIC_SCHEMA;
using schema_detail::PRESSURE_SCHEMA;
using schema_detail::TEMPERATURE_SCHEMA;
using schema_detail::UNIT_SETTINGS_SCHEMA;

#undef EMS_SCHEMA_MEMBER
#undef EMS_SCHEMA_ELEMENT
#undef EMS_RECORD_SCHEMA

// ---- Use ------------------------------------------------------------------------

// A number field's setup range while its unit option holds `unit` (ignored
// for fields with a fixed range); a unit past the list gives the last range.
constexpr FieldRange field_range(const SettingsField& f, int unit)
{
    if (!f.unit_ranges) return f.range;
    const UnitRanges& r = *f.unit_ranges;
    return r.by_unit[unit < 0 ? 0 : unit >= r.count ? r.count - 1 : unit];
}

// The option list of an option field; for a field with several lists, the
// one at `set` (the value of the field that chooses, clamped to the lists).
constexpr const OptionList& field_options(const SettingsField& f, int set = 0)
{
    const int last = f.option_sets ? f.option_sets - 1 : 0;
    return f.options[set < 0 ? 0 : set > last ? last : set];
}

// The field of a record by name (`length` characters), or null.
const SettingsField* schema_find(const RecordSchema& record, const char* name, size_t length);

// One element of a number, flag or option field, read from or written to its
// bytes (little-endian, any alignment); 0 / nothing for text and records.
int64_t schema_read(const SettingsField& f, const uint8_t* element);
void schema_write(const SettingsField& f, uint8_t* element, int64_t value);

} // namespace ems
