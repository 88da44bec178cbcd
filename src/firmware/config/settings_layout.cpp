// The settings block's binary layout, pinned field by field: every field of
// UnitSettings and of its record types at its byte offset with its exact type.
// A settings file written by any unit of this family must load byte for byte,
// so nothing here may move.
#include <cstddef>
#include <type_traits>

#include "config/settings.h"

namespace ems {
namespace {

#define FIELD(T, name, offset, type)                                            \
    static_assert(offsetof(T, name) == (offset), #T "::" #name " offset");      \
    static_assert(std::is_same_v<decltype(T::name), type>, #T "::" #name " type")

// SenderCalibrationTable: count, then 21 slots of (display, adc).
FIELD(SenderCalibrationTable, count, 0, uint8_t);
FIELD(SenderCalibrationTable, point, 1, CalPoint[21]);
FIELD(CalPoint, display, 0, int16_t);
FIELD(CalPoint, adc, 2, int16_t);

// PressureSenderConfig
FIELD(PressureSenderConfig, type, 0, uint8_t);
FIELD(PressureSenderConfig, sender, 1, uint8_t);
FIELD(PressureSenderConfig, unit, 2, uint8_t);
FIELD(PressureSenderConfig, p_low_point, 3, int16_t);
FIELD(PressureSenderConfig, p_high_point, 5, int16_t);
FIELD(PressureSenderConfig, label, 7, char[7]);
FIELD(PressureSenderConfig, display_max, 14, int16_t);
FIELD(PressureSenderConfig, display_min, 16, int16_t);
FIELD(PressureSenderConfig, low_alarm, 18, int16_t);
FIELD(PressureSenderConfig, low_alarm_on, 20, uint8_t);
FIELD(PressureSenderConfig, high_alarm, 21, int16_t);
FIELD(PressureSenderConfig, low_caution, 23, int16_t);
FIELD(PressureSenderConfig, high_caution, 25, int16_t);
FIELD(PressureSenderConfig, high_alarm_on, 27, uint8_t);
FIELD(PressureSenderConfig, uma_model, 28, uint8_t);
FIELD(PressureSenderConfig, vdo_model, 29, uint8_t);
FIELD(PressureSenderConfig, cal, 30, SenderCalibrationTable);

// TemperatureSenderConfig
FIELD(TemperatureSenderConfig, label, 0, char[7]);
FIELD(TemperatureSenderConfig, display_max, 7, int16_t);
FIELD(TemperatureSenderConfig, display_min, 9, int16_t);
FIELD(TemperatureSenderConfig, low_alarm, 11, int16_t);
FIELD(TemperatureSenderConfig, low_alarm_on, 13, uint8_t);
FIELD(TemperatureSenderConfig, high_alarm, 14, int16_t);
FIELD(TemperatureSenderConfig, low_caution, 16, int16_t);
FIELD(TemperatureSenderConfig, high_caution, 18, int16_t);
FIELD(TemperatureSenderConfig, high_alarm_on, 20, uint8_t);
FIELD(TemperatureSenderConfig, sender, 21, uint8_t);
FIELD(TemperatureSenderConfig, cal_offset, 22, int8_t);
FIELD(TemperatureSenderConfig, cal, 23, SenderCalibrationTable);

// CurrentSensorConfig
FIELD(CurrentSensorConfig, display_max, 0, int16_t);
FIELD(CurrentSensorConfig, display_min, 2, int16_t);
FIELD(CurrentSensorConfig, low_alarm, 4, int16_t);
FIELD(CurrentSensorConfig, low_alarm_on, 6, uint8_t);
FIELD(CurrentSensorConfig, high_alarm, 7, int16_t);
FIELD(CurrentSensorConfig, low_caution, 9, int16_t);
FIELD(CurrentSensorConfig, high_caution, 11, int16_t);
FIELD(CurrentSensorConfig, high_alarm_on, 13, uint8_t);
FIELD(CurrentSensorConfig, gain, 14, int16_t);

// GenericSensorConfig
FIELD(GenericSensorConfig, label, 0, char[5]);
FIELD(GenericSensorConfig, unit_label, 5, char[4]);
FIELD(GenericSensorConfig, decimals, 9, uint8_t);
FIELD(GenericSensorConfig, display_max, 10, int16_t);
FIELD(GenericSensorConfig, display_min, 12, int16_t);
FIELD(GenericSensorConfig, low_alarm, 14, int16_t);
FIELD(GenericSensorConfig, low_alarm_on, 16, uint8_t);
FIELD(GenericSensorConfig, high_alarm, 17, int16_t);
FIELD(GenericSensorConfig, low_caution, 19, int16_t);
FIELD(GenericSensorConfig, high_caution, 21, int16_t);
FIELD(GenericSensorConfig, high_alarm_on, 23, uint8_t);
FIELD(GenericSensorConfig, cal, 24, SenderCalibrationTable);

// UnitSettings
FIELD(UnitSettings, version, 0, uint16_t);
FIELD(UnitSettings, data_recording, 2, uint8_t);
FIELD(UnitSettings, oat_display, 3, uint8_t);
FIELD(UnitSettings, oat_display_max, 4, int16_t);
FIELD(UnitSettings, oat_display_min, 6, int16_t);
FIELD(UnitSettings, oat_low_alarm, 8, int16_t);
FIELD(UnitSettings, oat_high_alarm, 10, int16_t);
FIELD(UnitSettings, oat_low_alarm_on, 12, uint8_t);
FIELD(UnitSettings, oat_high_alarm_on, 13, uint8_t);
FIELD(UnitSettings, temp_unit, 14, uint8_t);
FIELD(UnitSettings, oat_unit, 15, uint8_t);
FIELD(UnitSettings, volts_display_max, 16, int16_t);
FIELD(UnitSettings, volts_display_min, 18, int16_t);
FIELD(UnitSettings, volts_low_alarm, 20, int16_t);
FIELD(UnitSettings, volts_high_alarm, 22, int16_t);
FIELD(UnitSettings, volts_low_alarm_on, 24, uint8_t);
FIELD(UnitSettings, volts_high_alarm_on, 25, uint8_t);
FIELD(UnitSettings, volts_low_caution, 26, int16_t);
FIELD(UnitSettings, volts_high_caution, 28, int16_t);
FIELD(UnitSettings, volts_label, 30, char[7]);
FIELD(UnitSettings, map_display, 37, uint8_t);
FIELD(UnitSettings, map_display_max, 38, int16_t);
FIELD(UnitSettings, map_display_min, 40, int16_t);
FIELD(UnitSettings, map_low_alarm, 42, int16_t);
FIELD(UnitSettings, map_low_alarm_on, 44, uint8_t);
FIELD(UnitSettings, map_high_alarm, 45, int16_t);
FIELD(UnitSettings, map_low_caution, 47, int16_t);
FIELD(UnitSettings, map_high_caution, 49, int16_t);
FIELD(UnitSettings, map_high_alarm_on, 51, uint8_t);
FIELD(UnitSettings, map_filter, 52, uint8_t);
FIELD(UnitSettings, map_unit, 53, uint8_t);
FIELD(UnitSettings, rpm1_display, 54, uint8_t);
FIELD(UnitSettings, rpm1_full_scale, 55, uint32_t);
FIELD(UnitSettings, rpm1_display_max, 59, uint32_t);
FIELD(UnitSettings, rpm1_display_min, 63, uint32_t);
FIELD(UnitSettings, rpm1_low_alarm, 67, uint32_t);
FIELD(UnitSettings, rpm1_low_alarm_on, 71, uint8_t);
FIELD(UnitSettings, rpm1_high_alarm, 72, uint32_t);
FIELD(UnitSettings, rpm1_high_alarm_on, 76, uint8_t);
FIELD(UnitSettings, rpm1_low_caution, 77, uint32_t);
FIELD(UnitSettings, rpm1_high_caution, 81, uint32_t);
FIELD(UnitSettings, reserved_85, 85, uint8_t[2]);
FIELD(UnitSettings, rpm1_increment, 87, uint8_t);
FIELD(UnitSettings, rpm1_label, 88, char[7]);
FIELD(UnitSettings, rpm2_display, 95, uint8_t);
FIELD(UnitSettings, rpm2_full_scale, 96, uint32_t);
FIELD(UnitSettings, rpm2_display_max, 100, uint32_t);
FIELD(UnitSettings, rpm2_display_min, 104, uint32_t);
FIELD(UnitSettings, rpm2_low_alarm, 108, uint32_t);
FIELD(UnitSettings, rpm2_low_alarm_on, 112, uint8_t);
FIELD(UnitSettings, rpm2_high_alarm, 113, uint32_t);
FIELD(UnitSettings, rpm2_high_alarm_on, 117, uint8_t);
FIELD(UnitSettings, rpm2_low_caution, 118, uint32_t);
FIELD(UnitSettings, rpm2_high_caution, 122, uint32_t);
FIELD(UnitSettings, reserved_126, 126, uint8_t[2]);
FIELD(UnitSettings, rpm2_increment, 128, uint8_t);
FIELD(UnitSettings, rpm2_position, 129, uint8_t);
FIELD(UnitSettings, rpm2_style, 130, uint8_t);
FIELD(UnitSettings, rpm2_label, 131, char[7]);
FIELD(UnitSettings, gps_position_format, 138, uint8_t);
FIELD(UnitSettings, gps_altitude_unit, 139, uint8_t);
FIELD(UnitSettings, gps_cog, 140, uint8_t);
FIELD(UnitSettings, gps_local_variation, 141, uint8_t);
FIELD(UnitSettings, gps_manual_variation, 142, int16_t);
FIELD(UnitSettings, gps_baud, 144, uint8_t);
FIELD(UnitSettings, speed_unit, 145, uint8_t);
FIELD(UnitSettings, registration, 146, char[9]);
FIELD(UnitSettings, flight_detect, 155, uint8_t);
FIELD(UnitSettings, flight_detect_min_rpm1, 156, uint32_t);
FIELD(UnitSettings, flight_detect_min_rpm2, 160, uint32_t);
FIELD(UnitSettings, flight_detect_min_speed, 164, uint16_t);
FIELD(UnitSettings, pilot_number, 166, uint8_t);
FIELD(UnitSettings, channel_mode, 167, uint8_t[4]);
FIELD(UnitSettings, pressure_cfg, 171, PressureSenderConfig[4]);
FIELD(UnitSettings, temperature_cfg, 631, TemperatureSenderConfig[4]);
FIELD(UnitSettings, current_cfg, 1063, CurrentSensorConfig[4]);
FIELD(UnitSettings, hobbs_min_rpm, 1127, uint32_t);
FIELD(UnitSettings, hobbs_code, 1131, uint16_t);
FIELD(UnitSettings, utc_offset, 1133, int16_t);
FIELD(UnitSettings, hobbs_start, 1135, uint8_t);
FIELD(UnitSettings, egt_channels, 1136, uint8_t);
FIELD(UnitSettings, egt_scanning, 1137, uint8_t);
FIELD(UnitSettings, egt_display_max, 1138, int16_t);
FIELD(UnitSettings, egt_display_min, 1140, int16_t);
FIELD(UnitSettings, egt_high_alarm, 1142, int16_t);
FIELD(UnitSettings, egt_high_caution, 1144, int16_t);
FIELD(UnitSettings, egt_high_alarm_on, 1146, uint8_t);
FIELD(UnitSettings, egt_probe, 1147, uint8_t);
FIELD(UnitSettings, egt_scan_time, 1148, uint8_t);
FIELD(UnitSettings, cht_channels, 1149, uint8_t);
FIELD(UnitSettings, cht_scanning, 1150, uint8_t);
FIELD(UnitSettings, cht_display_max, 1151, int16_t);
FIELD(UnitSettings, cht_display_min, 1153, int16_t);
FIELD(UnitSettings, cht_high_alarm, 1155, int16_t);
FIELD(UnitSettings, cht_high_caution, 1157, int16_t);
FIELD(UnitSettings, cht_high_alarm_on, 1159, uint8_t);
FIELD(UnitSettings, cht_probe, 1160, uint8_t);
FIELD(UnitSettings, cht_scan_time, 1161, uint8_t);
FIELD(UnitSettings, fuel_flow_source, 1162, uint8_t);
FIELD(UnitSettings, cruise_speed, 1163, uint16_t);
FIELD(UnitSettings, fuel_unit, 1165, uint8_t);
FIELD(UnitSettings, flow1_on, 1166, uint8_t);
FIELD(UnitSettings, k_factor1, 1167, uint16_t);
FIELD(UnitSettings, flow2_on, 1169, uint8_t);
FIELD(UnitSettings, k_factor2, 1170, uint16_t);
FIELD(UnitSettings, flow_mode, 1172, uint8_t);
FIELD(UnitSettings, tank1_mode, 1173, uint8_t);
FIELD(UnitSettings, tank2_mode, 1174, uint8_t);
FIELD(UnitSettings, injector_level, 1175, uint8_t);
FIELD(UnitSettings, tank1_size, 1176, int16_t);
FIELD(UnitSettings, tank1_low_alarm_on, 1178, uint8_t);
FIELD(UnitSettings, tank1_low_alarm, 1179, int16_t);
FIELD(UnitSettings, tank1_low_caution, 1181, int16_t);
FIELD(UnitSettings, tank1_cal, 1183, uint16_t[6]);
FIELD(UnitSettings, tank1_filter, 1195, uint8_t);
FIELD(UnitSettings, tank2_size, 1196, int16_t);
FIELD(UnitSettings, tank2_low_alarm_on, 1198, uint8_t);
FIELD(UnitSettings, tank2_low_alarm, 1199, int16_t);
FIELD(UnitSettings, tank2_low_caution, 1201, int16_t);
FIELD(UnitSettings, tank2_cal, 1203, uint16_t[6]);
FIELD(UnitSettings, tank2_filter, 1215, uint8_t);
FIELD(UnitSettings, tank_resolution, 1216, uint8_t);
FIELD(UnitSettings, tank1_add_to_range, 1217, uint8_t);
FIELD(UnitSettings, tank2_add_to_range, 1218, uint8_t);
FIELD(UnitSettings, backlight, 1219, uint8_t);
FIELD(UnitSettings, gps_source, 1220, uint8_t);
FIELD(UnitSettings, reserved_1221, 1221, uint8_t);
FIELD(UnitSettings, doc_last_kind, 1222, uint8_t);
FIELD(UnitSettings, doc_last_name, 1223, char[50]);
FIELD(UnitSettings, fuel_pressure_display, 1273, uint8_t);
FIELD(UnitSettings, fuel_pressure_cfg, 1274, PressureSenderConfig);
FIELD(UnitSettings, current_display, 1389, uint8_t);
FIELD(UnitSettings, main_current_cfg, 1390, CurrentSensorConfig);
FIELD(UnitSettings, ecu_type, 1406, uint8_t);
FIELD(UnitSettings, ecu_air_temp_unit, 1407, uint8_t);
FIELD(UnitSettings, hobbs_format, 1408, uint8_t);
FIELD(UnitSettings, ecu_connect, 1409, uint8_t);
FIELD(UnitSettings, ecu_lane, 1410, uint8_t);
FIELD(UnitSettings, rpm1_pulses, 1411, uint32_t);
FIELD(UnitSettings, rpm2_pulses, 1415, uint32_t);
FIELD(UnitSettings, generic_cfg, 1419, GenericSensorConfig[4]);
FIELD(UnitSettings, rpm1_avoid_high, 1855, uint32_t);
FIELD(UnitSettings, rpm1_avoid_low, 1859, uint32_t);
FIELD(UnitSettings, rpm1_avoid_zone, 1863, uint8_t);
FIELD(UnitSettings, rpm2_avoid_high, 1864, uint32_t);
FIELD(UnitSettings, rpm2_avoid_low, 1868, uint32_t);
FIELD(UnitSettings, rpm2_avoid_zone, 1872, uint8_t);

#undef FIELD

static_assert(sizeof(CalPoint) == 4);
static_assert(sizeof(SenderCalibrationTable) == 85);
static_assert(sizeof(PressureSenderConfig) == 115);
static_assert(sizeof(TemperatureSenderConfig) == 108);
static_assert(sizeof(CurrentSensorConfig) == 16);
static_assert(sizeof(GenericSensorConfig) == 109);
static_assert(sizeof(UnitSettings) == 1873);
static_assert(SETTINGS_FILE_BYTES == sizeof(UnitSettings) + 2);
static_assert(std::is_trivially_copyable_v<UnitSettings>);
static_assert(std::is_standard_layout_v<UnitSettings>);

// The fuel and hobbs counters: 22 bytes in this order, zeroed as one.
static_assert(sizeof(FuelData) == 16);
static_assert(sizeof(HobbsMaintenance) == 6);
static_assert(sizeof(FuelHobbs) == 22);
static_assert(offsetof(FuelHobbs, fuel) == 0 && offsetof(FuelHobbs, hobbs) == 16);
static_assert(offsetof(FuelData, fuel_used1) == 0 && offsetof(FuelData, fuel_used2) == 4 &&
              offsetof(FuelData, tank1_contents) == 8 && offsetof(FuelData, tank2_contents) == 12);
static_assert(offsetof(HobbsMaintenance, hobbs_minutes) == 0 &&
              offsetof(HobbsMaintenance, hobbs_hours) == 1 &&
              offsetof(HobbsMaintenance, maint_minutes) == 3 &&
              offsetof(HobbsMaintenance, maint_hours) == 4);

} // namespace
} // namespace ems
