// Factory defaults of the settings block and the calibration constants.
#include <cstring>

#include "settings/settings.h"
#include "system/hooks.h"

namespace ems {

UnitSettings settings;
CalibrationConstants calibration;
FuelHobbs fuel_hobbs;
DerivedSettings derived;

namespace {

// Table A: 16 points, display = ADC / 10 (10 at 100 up to 160 at 1600).
constexpr SenderCalibrationTable make_table_a()
{
    SenderCalibrationTable t{};
    t.count = 16;
    for (int i = 0; i < 16; ++i) {
        t.point[i].display = int16_t(10 * (i + 1));
        t.point[i].adc = int16_t(100 * (i + 1));
    }
    return t;
}

// Table B: 2 points, display 0 at ADC 0 and 100 at ADC 4095.
constexpr SenderCalibrationTable make_table_b()
{
    SenderCalibrationTable t{};
    t.count = 2;
    t.point[0] = {0, 0};
    t.point[1] = {100, 4095};
    return t;
}

constexpr SenderCalibrationTable TABLE_A = make_table_a();
constexpr SenderCalibrationTable TABLE_B = make_table_b();

// Copies a text into a fixed field and pads the rest with NULs.
template <size_t N>
void put_text(char (&field)[N], const char* text)
{
    static_assert(N > 0);
    const size_t len = std::strlen(text);
    std::memset(field, 0, N);
    std::memcpy(field, text, len < N ? len : N - 1);
}

PressureSenderConfig default_pressure_record()
{
    PressureSenderConfig r{};
    r.type = 0;
    r.sender = 1;
    r.unit = 0;
    r.p_low_point = 0;
    r.p_high_point = 100;
    put_text(r.label, "AUX ");
    r.display_max = 100;
    r.display_min = 0;
    r.low_alarm = 15;
    r.low_alarm_on = 1;
    r.high_alarm = 80;
    r.low_caution = 25;
    r.high_caution = 70;
    r.high_alarm_on = 1;
    r.uma_model = 0;
    r.vdo_model = 2;
    r.cal = TABLE_A;
    return r;
}

TemperatureSenderConfig default_temperature_record()
{
    TemperatureSenderConfig r{};
    put_text(r.label, "AUX ");
    r.display_max = 150;
    r.display_min = 50;
    r.low_alarm = 70;
    r.low_alarm_on = 1;
    r.high_alarm = 135;
    r.low_caution = 90;
    r.high_caution = 120;
    r.high_alarm_on = 1;
    r.sender = 1;
    r.cal_offset = 0;
    r.cal = TABLE_A;
    return r;
}

CurrentSensorConfig default_current_record()
{
    CurrentSensorConfig r{};
    r.display_max = 50;
    r.display_min = -50;
    r.low_alarm = -40;
    r.low_alarm_on = 1;
    r.high_alarm = 40;
    r.low_caution = -30;
    r.high_caution = 30;
    r.high_alarm_on = 1;
    r.gain = 315;
    return r;
}

GenericSensorConfig default_generic_record()
{
    GenericSensorConfig r{};
    put_text(r.label, "GEN ");
    put_text(r.unit_label, "%  ");
    r.decimals = 0;
    r.display_max = 100;
    r.display_min = 0;
    r.low_alarm = 10;
    r.low_alarm_on = 1;
    r.high_alarm = 90;
    r.low_caution = 20;
    r.high_caution = 80;
    r.high_alarm_on = 1;
    r.cal = TABLE_B;
    return r;
}

constexpr uint16_t DEFAULT_TANK_CAL[6] = {809, 680, 520, 427, 356, 251};

} // namespace

void calibration_load_defaults()
{
    calibration.volts_cal_percent = 100;
    calibration.oat_cal_offset = 0;
    calibration.map_cal_offset = 0;
    for (uint16_t& zero : calibration.current_zero) zero = 32768;
    calibration.main_current_zero = 32768;
}

void settings_load_defaults()
{
    UnitSettings& s = settings;

    s.version = FIRMWARE_VERSION;
    s.data_recording = 1;

    // OAT
    s.oat_display = 1;
    s.oat_display_max = 100;
    s.oat_display_min = -50;
    s.oat_low_alarm = 0;
    s.oat_high_alarm = 60;
    s.oat_low_alarm_on = 1;
    s.oat_high_alarm_on = 1;
    s.temp_unit = 0;
    s.oat_unit = 0;

    // Volts
    s.volts_display_max = 200;
    s.volts_display_min = 80;
    s.volts_low_alarm = 100;
    s.volts_high_alarm = 150;
    s.volts_low_alarm_on = 1;
    s.volts_high_alarm_on = 1;
    s.volts_low_caution = 110;
    s.volts_high_caution = 140;
    put_text(s.volts_label, "BAT ");

    // MAP
    s.map_display = 0;
    s.map_display_max = 443;
    s.map_display_min = 266;
    s.map_low_alarm = 278;
    s.map_low_alarm_on = 1;
    s.map_high_alarm = 413;
    s.map_low_caution = 292;
    s.map_high_caution = 354;
    s.map_high_alarm_on = 1;
    s.map_filter = 1;
    s.map_unit = 1;

    // RPM 1 (the reserved bytes after it are left alone)
    s.rpm1_display = 0;
    s.rpm1_full_scale = 6000;
    s.rpm1_display_max = 6000;
    s.rpm1_display_min = 0;
    s.rpm1_low_alarm = 500;
    s.rpm1_low_alarm_on = 0;
    s.rpm1_high_alarm = 5800;
    s.rpm1_high_alarm_on = 1;
    s.rpm1_low_caution = 1000;
    s.rpm1_high_caution = 5500;
    s.rpm1_increment = 0;
    put_text(s.rpm1_label, "ENGINE");
    s.rpm1_avoid_high = 3500;
    s.rpm1_avoid_low = 3000;
    s.rpm1_avoid_zone = 0;
    s.rpm1_pulses = 600;
    rpm1_scale_update();

    // RPM 2
    s.rpm2_display = 2;
    s.rpm2_full_scale = 1000;
    s.rpm2_display_max = 1500;
    s.rpm2_display_min = 0;
    s.rpm2_low_alarm = 100;
    s.rpm2_low_alarm_on = 1;
    s.rpm2_high_alarm = 1200;
    s.rpm2_high_alarm_on = 1;
    s.rpm2_low_caution = 600;
    s.rpm2_high_caution = 1100;
    s.rpm2_increment = 0;
    s.rpm2_position = 0;
    s.rpm2_style = 0;
    put_text(s.rpm2_label, "ROTOR ");
    s.rpm2_avoid_high = 900;
    s.rpm2_avoid_low = 800;
    s.rpm2_avoid_zone = 0;
    s.rpm2_pulses = 100;

    // GPS
    s.gps_position_format = 2;
    s.gps_altitude_unit = 0;
    s.gps_cog = 0;
    s.gps_local_variation = 0;
    s.gps_manual_variation = 0;
    s.gps_baud = 3;
    s.speed_unit = 0;

    // Registration and flight detection
    put_text(s.registration, "REG NO  ");
    s.flight_detect = 0;
    s.flight_detect_min_rpm1 = 1000;
    s.flight_detect_min_rpm2 = 1000;
    s.flight_detect_min_speed = 30;
    s.pilot_number = 0;

    // The four records of every channel kind
    const PressureSenderConfig pressure = default_pressure_record();
    const TemperatureSenderConfig temperature = default_temperature_record();
    const CurrentSensorConfig current = default_current_record();
    const GenericSensorConfig generic = default_generic_record();
    for (int i = 0; i < 4; ++i) {
        s.pressure_cfg[i] = pressure;
        s.temperature_cfg[i] = temperature;
        s.current_cfg[i] = current;
        s.generic_cfg[i] = generic;
    }

    // Channel modes and their labels
    s.channel_mode[0] = CHANNEL_TEMPERATURE; // oil temperature
    s.channel_mode[1] = CHANNEL_PRESSURE;    // oil pressure
    s.channel_mode[2] = CHANNEL_PRESSURE;
    s.channel_mode[3] = CHANNEL_GENERIC;
    put_text(s.temperature_cfg[0].label, "OILT");
    put_text(s.pressure_cfg[1].label, "OILP");

    // Hobbs
    s.hobbs_min_rpm = 1000;
    s.hobbs_code = 0;
    s.utc_offset = 0;
    s.hobbs_start = 1;
    s.hobbs_format = 0;

    // EGT
    s.egt_channels = 2;
    s.egt_scanning = 1;
    s.egt_display_max = 850;
    s.egt_display_min = 400;
    s.egt_high_alarm = 800;
    s.egt_high_caution = 700;
    s.egt_high_alarm_on = 1;
    s.egt_probe = 0;
    s.egt_scan_time = 0;

    // CHT
    s.cht_channels = 2;
    s.cht_scanning = 1;
    s.cht_display_max = 150;
    s.cht_display_min = 0;
    s.cht_high_alarm = 130;
    s.cht_high_caution = 100;
    s.cht_high_alarm_on = 1;
    s.cht_probe = 0;
    s.cht_scan_time = 0;

    // Fuel
    s.fuel_flow_source = 0;
    s.cruise_speed = 50;
    s.fuel_unit = 0;
    s.flow1_on = 1;
    s.k_factor1 = 7000;
    s.flow2_on = 0;
    s.k_factor2 = 7000;
    s.flow_mode = 0;
    s.tank1_mode = TANK_SENDER;
    s.tank2_mode = TANK_OFF;
    s.injector_level = 0;
    s.tank1_size = 45;
    s.tank1_low_alarm_on = 1;
    s.tank1_low_alarm = 10;
    s.tank1_low_caution = 20;
    std::memcpy(s.tank1_cal, DEFAULT_TANK_CAL, sizeof s.tank1_cal);
    s.tank1_filter = 3;
    s.tank2_size = 45;
    s.tank2_low_alarm_on = 1;
    s.tank2_low_alarm = 10;
    s.tank2_low_caution = 20;
    std::memcpy(s.tank2_cal, DEFAULT_TANK_CAL, sizeof s.tank2_cal);
    s.tank2_filter = 3;
    s.tank_resolution = 0;
    s.tank1_add_to_range = 1;
    s.tank2_add_to_range = 1;
    fuel_config_derive();

    // Backlight, GPS source, documents
    s.backlight = 31;
    s.gps_source = 1;
    s.reserved_1221 = 0;
    s.doc_last_kind = 0;
    put_text(s.doc_last_name, "");

    // Fuel pressure sender: a 0.5-4.5 V sender reading 0.1 psi, no label
    s.fuel_pressure_display = 1;
    s.fuel_pressure_cfg = pressure;
    s.fuel_pressure_cfg.type = 1;
    s.fuel_pressure_cfg.sender = 2;
    s.fuel_pressure_cfg.unit = 2;
    put_text(s.fuel_pressure_cfg.label, "");

    // Main current sensor
    s.current_display = 0;
    s.main_current_cfg = current;

    // Engine computer
    s.ecu_type = 0;
    s.ecu_air_temp_unit = 0;
    s.ecu_connect = 0;
    s.ecu_lane = 0;

    settings_changed();
}

} // namespace ems
