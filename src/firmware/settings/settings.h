// The unit settings block, the calibration constants, the fuel and hobbs
// counters, and the values derived from the settings.
//
// UnitSettings is the instrument's whole configuration: 1873 bytes, packed,
// little-endian, byte for byte the first part of the settings file
// "SDCARD\SORVIK2.EMS". Every field also has its row in the settings schema
// (settings_schema.h: offset, type, range or option list), which pins the
// layout field by field and drives the recall check and the variables by
// path. Flags are 0 OFF / 1 ON; option fields hold an index into the list of
// config/options.h named in their comment (first entry 0); text fields are
// NUL-terminated within their array. Units: temperatures in whole degrees of
// the selected unit, volts in 0.1 V, MAP in mb (map_unit 0) or 0.1 inHg
// (map_unit 1), RPM in revolutions per minute, pressures in the record's own
// unit (0.1 bar, 1 psi or 0.1 psi), currents in amperes, tank quantities in
// the tank unit (whole litres, 0.1 L with tank_resolution 1, 0.1 gal with
// gallon fuel units).
//
// The block is packed, so multi-byte fields sit at odd addresses: use them by
// value (copy in, copy out); never bind a reference or pointer to one, which
// is a misaligned access (std::min(settings.x, ..), const T& parameters).
//
// Section index: record types; UnitSettings; CalibrationConstants; fuel and
// hobbs counters; derived values; operations.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>


namespace ems {

static_assert(std::endian::native == std::endian::little,
              "the settings block is kept in memory in its little-endian file layout");

constexpr uint16_t FIRMWARE_VERSION = 218; // version x 100 written into every recalled block
constexpr size_t CAL_POINT_SLOTS = 21;     // point slots of a SenderCalibrationTable

#pragma pack(push, 1)

// ---- Record types ----------------------------------------------------------

struct CalPoint {
    int16_t display; // engineering value in the record's resolution
    int16_t adc;     // raw 12-bit converter reading 0..4095
};

// A sender curve: the first `count` points are used. 85 bytes.
struct SenderCalibrationTable {
    uint8_t count;                       // points in use, 2..21 (edited 2..16); other values invalid
    CalPoint point[CAL_POINT_SLOTS];     // unused slots are zero
};

// Pressure sender on an analog channel or the fuel-pressure input. 115 bytes.
struct PressureSenderConfig {
    uint8_t type;          // options::PRESSURE_TYPE
    uint8_t sender;        // options::PRESSURE_SENDER[type]
    uint8_t unit;          // options::PRESSURE_UNIT: values in 0.1 bar, 1 psi, 0.1 psi
    int16_t p_low_point;   // pressure at 0.5 V or 4 mA
    int16_t p_high_point;  // pressure at 4.5 V or 20 mA
    char label[7];         // 4 editable characters
    int16_t display_max;   // gauge top
    int16_t display_min;   // gauge bottom
    int16_t low_alarm;
    uint8_t low_alarm_on;  // flag
    int16_t high_alarm;
    int16_t low_caution;
    int16_t high_caution;
    uint8_t high_alarm_on; // flag
    uint8_t uma_model;     // options::UMA_MODEL
    uint8_t vdo_model;     // options::VDO_MODEL
    SenderCalibrationTable cal; // user curve (sender USER)
};

// Temperature sender on an analog channel. 108 bytes.
struct TemperatureSenderConfig {
    char label[7];         // 4 editable characters
    int16_t display_max;
    int16_t display_min;
    int16_t low_alarm;
    uint8_t low_alarm_on;  // flag
    int16_t high_alarm;
    int16_t low_caution;
    int16_t high_caution;
    uint8_t high_alarm_on; // flag
    uint8_t sender;        // options::TEMPERATURE_SENDER
    int8_t cal_offset;     // degrees added to the LM335 reading
    SenderCalibrationTable cal; // user curve (sender USER)
};

// Current sensor on an analog channel or the main current input. 16 bytes.
struct CurrentSensorConfig {
    int16_t display_max;   // amperes
    int16_t display_min;
    int16_t low_alarm;
    uint8_t low_alarm_on;  // flag
    int16_t high_alarm;
    int16_t low_caution;
    int16_t high_caution;
    uint8_t high_alarm_on; // flag
    int16_t gain;          // full-scale current in amperes, 1..1000
};

// Generic sensor on an analog channel; values have `decimals` decimals. 109 bytes.
struct GenericSensorConfig {
    char label[5];         // 4 editable characters
    char unit_label[4];    // 3 editable characters
    uint8_t decimals;      // options::DECIMALS
    int16_t display_max;
    int16_t display_min;
    int16_t low_alarm;
    uint8_t low_alarm_on;  // flag
    int16_t high_alarm;
    int16_t low_caution;
    int16_t high_caution;
    uint8_t high_alarm_on; // flag
    SenderCalibrationTable cal; // sender curve
};

// Analog channel modes (channel_mode).
constexpr uint8_t CHANNEL_OFF = 0;
constexpr uint8_t CHANNEL_PRESSURE = 1;
constexpr uint8_t CHANNEL_TEMPERATURE = 2;
constexpr uint8_t CHANNEL_CURRENT = 3;
constexpr uint8_t CHANNEL_GENERIC = 4;

// The mode analog channel 0..3 is processed, shown and alarmed in: its
// channel_mode, except where another setting claims the input. With the
// "NTC (AUX 1/2)" CHT probe, channel 2 and (unless there is exactly one CHT)
// channel 3 read the cylinder heads and are OFF as analog channels; with a
// ROTAX 912iS engine computer channel 2 is the coolant temperature input.
uint8_t channel_mode_in_use(uint8_t channel);

// Engine computers (ecu_type) and how they are connected (ecu_connect).
constexpr uint8_t ECU_NONE = 0;        // ecu_type "NONE"
constexpr uint8_t ECU_ROTAX_912IS = 1; // ecu_type "ROTAX 912iS"
constexpr uint8_t ECU_UL_POWER = 2;    // ecu_type "UL POWER"
constexpr uint8_t ECU_CONNECT_VEXA = 0;   // ecu_connect: relayed by the VEXA unit
constexpr uint8_t ECU_CONNECT_DIRECT = 1; // ecu_connect: both lanes read directly

constexpr uint8_t CHT_PROBE_NTC = 3; // cht_probe: NTC senders on analog inputs 3 and 4

// Tank modes (tank1_mode, tank2_mode).
constexpr uint8_t TANK_SENDER = 0;
constexpr uint8_t TANK_CALCULATED = 1;
constexpr uint8_t TANK_OFF = 2;

// ---- UnitSettings (1873 bytes) ---------------------------------------------

struct UnitSettings {
    uint16_t version;              // firmware version x 100 that wrote the block
    uint8_t data_recording;        // flag
    uint8_t oat_display;           // flag
    int16_t oat_display_max;       // OAT gauge top
    int16_t oat_display_min;       // OAT gauge bottom
    int16_t oat_low_alarm;
    int16_t oat_high_alarm;
    uint8_t oat_low_alarm_on;      // flag
    uint8_t oat_high_alarm_on;     // flag
    uint8_t temp_unit;             // engine temperatures: options::DEGREE_UNIT
    uint8_t oat_unit;              // options::DEGREE_UNIT
    int16_t volts_display_max;     // 0.1 V
    int16_t volts_display_min;
    int16_t volts_low_alarm;
    int16_t volts_high_alarm;
    uint8_t volts_low_alarm_on;    // flag
    uint8_t volts_high_alarm_on;   // flag
    int16_t volts_low_caution;
    int16_t volts_high_caution;
    char volts_label[7];           // 4 editable characters
    uint8_t map_display;           // flag
    int16_t map_display_max;       // MAP unit
    int16_t map_display_min;
    int16_t map_low_alarm;
    uint8_t map_low_alarm_on;      // flag
    int16_t map_high_alarm;
    int16_t map_low_caution;
    int16_t map_high_caution;
    uint8_t map_high_alarm_on;     // flag
    uint8_t map_filter;            // options::MAP_FILTER
    uint8_t map_unit;              // options::MAP_UNIT (mb, inHg)
    uint8_t rpm1_display;          // options::RPM_DISPLAY
    uint32_t rpm1_full_scale;      // RPM shown as 100 %; 0 invalid (divisor)
    uint32_t rpm1_display_max;
    uint32_t rpm1_display_min;
    uint32_t rpm1_low_alarm;
    uint8_t rpm1_low_alarm_on;     // flag
    uint32_t rpm1_high_alarm;
    uint8_t rpm1_high_alarm_on;    // flag
    uint32_t rpm1_low_caution;
    uint32_t rpm1_high_caution;
    uint8_t reserved_85[2];        // never read or written
    uint8_t rpm1_increment;        // display step: options::RPM_INCREMENT
    char rpm1_label[7];            // 6 editable characters
    uint8_t rpm2_display;          // options::RPM_DISPLAY
    uint32_t rpm2_full_scale;      // RPM shown as 100 %; 0 invalid (divisor)
    uint32_t rpm2_display_max;
    uint32_t rpm2_display_min;
    uint32_t rpm2_low_alarm;
    uint8_t rpm2_low_alarm_on;     // flag
    uint32_t rpm2_high_alarm;
    uint8_t rpm2_high_alarm_on;    // flag
    uint32_t rpm2_low_caution;
    uint32_t rpm2_high_caution;
    uint8_t reserved_126[2];       // never read or written
    uint8_t rpm2_increment;        // as rpm1_increment
    uint8_t rpm2_position;         // options::RPM2_POSITION
    uint8_t rpm2_style;            // options::RPM2_STYLE
    char rpm2_label[7];            // 6 editable characters
    uint8_t gps_position_format;   // options::GPS_POSITION_FORMAT
    uint8_t gps_altitude_unit;     // options::ALTITUDE_UNIT
    uint8_t gps_cog;               // options::GPS_COG
    uint8_t gps_local_variation;   // options::GPS_VARIATION
    int16_t gps_manual_variation;  // degrees, -180..180, negative west
    uint8_t gps_baud;              // options::GPS_BAUD
    uint8_t speed_unit;            // options::SPEED_UNIT
    char registration[9];          // 8 characters
    uint8_t flight_detect;         // options::FLIGHT_DETECT
    uint32_t flight_detect_min_rpm1;
    uint32_t flight_detect_min_rpm2;
    uint16_t flight_detect_min_speed; // ground speed in speed_unit
    uint8_t pilot_number;          // 0..255
    uint8_t channel_mode[4];       // per analog channel: CHANNEL_OFF..CHANNEL_GENERIC
    PressureSenderConfig pressure_cfg[4];       // per analog channel
    TemperatureSenderConfig temperature_cfg[4]; // per analog channel
    CurrentSensorConfig current_cfg[4];         // per analog channel
    uint32_t hobbs_min_rpm;        // RPM that runs the hobbs
    uint16_t hobbs_code;           // 0..9999, 0 = no code set
    int16_t utc_offset;            // minutes, -780..780
    uint8_t hobbs_start;           // options::HOBBS_START
    uint8_t egt_channels;          // EGT inputs, 0 = not shown; egt + cht at most 12
    uint8_t egt_scanning;          // options::TC_SCANNING
    int16_t egt_display_max;
    int16_t egt_display_min;
    int16_t egt_high_alarm;
    int16_t egt_high_caution;
    uint8_t egt_high_alarm_on;     // flag
    uint8_t egt_probe;             // options::EGT_PROBE
    uint8_t egt_scan_time;         // 0..6: dwell 1, 3, 5, 10, 15, 30, 60 slow ticks
    uint8_t cht_channels;          // CHT inputs, 0 = not shown
    uint8_t cht_scanning;          // options::TC_SCANNING
    int16_t cht_display_max;
    int16_t cht_display_min;
    int16_t cht_high_alarm;
    int16_t cht_high_caution;
    uint8_t cht_high_alarm_on;     // flag
    uint8_t cht_probe;             // options::CHT_PROBE
    uint8_t cht_scan_time;         // as egt_scan_time
    uint8_t fuel_flow_source;      // options::FLOW_SOURCE
    uint16_t cruise_speed;         // 0..999 in speed_unit
    uint8_t fuel_unit;             // options::FUEL_UNIT
    uint8_t flow1_on;              // flag
    uint16_t k_factor1;            // flow sender 1 pulses per litre; 0 invalid (divisor)
    uint8_t flow2_on;              // flag
    uint16_t k_factor2;            // flow sender 2 pulses per litre; 0 invalid (divisor)
    uint8_t flow_mode;             // options::FLOW_MODE
    uint8_t tank1_mode;            // TANK_SENDER, TANK_CALCULATED, TANK_OFF
    uint8_t tank2_mode;            // as tank1_mode
    uint8_t injector_level;        // options::INJECTOR_LEVEL
    int16_t tank1_size;            // tank unit, 0..999
    uint8_t tank1_low_alarm_on;    // flag
    int16_t tank1_low_alarm;
    int16_t tank1_low_caution;
    uint16_t tank1_cal[6];         // sender readings at 0, 20, .., 100 %; neighbours never equal
    uint8_t tank1_filter;          // options::TANK_FILTER
    int16_t tank2_size;
    uint8_t tank2_low_alarm_on;    // flag
    int16_t tank2_low_alarm;
    int16_t tank2_low_caution;
    uint16_t tank2_cal[6];
    uint8_t tank2_filter;          // as tank1_filter
    uint8_t tank_resolution;       // litre units: options::TANK_RESOLUTION; 0 whenever both tanks are OFF
    uint8_t tank1_add_to_range;    // options::NO_YES
    uint8_t tank2_add_to_range;    // options::NO_YES
    uint8_t backlight;             // 2..31
    uint8_t gps_source;            // options::GPS_SOURCE
    uint8_t reserved_1221;         // written 0 by the defaults, never read
    uint8_t doc_last_kind;         // card document last opened: options::DOC_KIND
    char doc_last_name[50];        // its full card path
    uint8_t fuel_pressure_display; // flag
    PressureSenderConfig fuel_pressure_cfg; // fuel pressure sender
    uint8_t current_display;       // flag
    CurrentSensorConfig main_current_cfg;   // the CURRENT SETUP sensor
    uint8_t ecu_type;              // options::ECU_TYPE
    uint8_t ecu_air_temp_unit;     // options::DEGREE_UNIT
    uint8_t hobbs_format;          // options::HOBBS_FORMAT
    uint8_t ecu_connect;           // options::ECU_CONNECT
    uint8_t ecu_lane;              // options::ECU_LANE
    uint32_t rpm1_pulses;          // pulses per revolution x 100, 1..99000; 0 invalid (divisor)
    uint32_t rpm2_pulses;          // as rpm1_pulses
    GenericSensorConfig generic_cfg[4]; // per analog channel
    uint32_t rpm1_avoid_high;      // upper end of the RPM 1 avoid zone
    uint32_t rpm1_avoid_low;       // lower end
    uint8_t rpm1_avoid_zone;       // flag
    uint32_t rpm2_avoid_high;
    uint32_t rpm2_avoid_low;
    uint8_t rpm2_avoid_zone;       // flag
};

// ---- Fuel and hobbs counters (22 bytes, zeroed as one at power-on) ----------

struct FuelData {
    uint32_t fuel_used1;     // flow sender 1 pulses used
    uint32_t fuel_used2;     // flow sender 2 pulses used
    uint32_t tank1_contents; // calculated tank 1 contents in flow-sender pulses
    uint32_t tank2_contents; // calculated tank 2 contents in flow-sender pulses
};

struct HobbsMaintenance {
    uint8_t hobbs_minutes;  // 0..59
    uint16_t hobbs_hours;
    uint8_t maint_minutes;  // 0..59, maintenance countdown
    uint16_t maint_hours;   // maintenance countdown; 0 h 0 min = expired
};

struct FuelHobbs {
    FuelData fuel;
    HobbsMaintenance hobbs;
};

#pragma pack(pop)

// ---- CalibrationConstants (factory trims, not in the settings file) --------

struct CalibrationConstants {
    uint8_t volts_cal_percent = 100;  // volts factor in percent, 50..150
    int8_t oat_cal_offset = 0;        // degrees C, -20..20
    int8_t map_cal_offset = 0;        // converter counts, -50..50
    uint16_t current_zero[4] = {32768, 32768, 32768, 32768}; // zero-current readings, 1/16 counts
    uint16_t main_current_zero = 32768; // zero-current reading of the main sensor, 1/16 counts
    int32_t serial_number = 0;        // unit serial number, kept across power cycles
};

// ---- Derived values (recomputed from the settings, never stored) -----------

struct DerivedSettings {
    int32_t rpm1_scale = 0;  // 935160000 / rpm1_pulses (60000 x 15586 / pulses): RPM x rpm_period
    uint8_t fuel_config = 0; // combination of flow senders and tanks, 0..14; 9 = unsupported
};

extern UnitSettings settings;
extern CalibrationConstants calibration;
extern FuelHobbs fuel_hobbs;
extern DerivedSettings derived;

// ---- Operations -------------------------------------------------------------

// Factory defaults for every field, in the power-on order; calls
// rpm1_scale_update, fuel_config_derive and finally settings_changed.
void settings_load_defaults();
// Calibration defaults; serial_number is left as it is.
void calibration_load_defaults();

// rpm1_scale from rpm1_pulses (left unchanged when rpm1_pulses is 0).
void rpm1_scale_update();
// fuel_config from the flow and tank settings; may equalise the K-factors
// (one flow sender feeding two tanks) and clear tank_resolution (no tanks).
void fuel_config_derive();

// CRC-16/MODBUS (reflected 0xA001, initial 0xFFFF, no final XOR).
uint16_t settings_crc16(const uint8_t* data, size_t length);

// nullptr when every checked field of the block is usable, otherwise the name
// of the first field out of range (an option past its list, an unterminated
// text, a zero divisor, a bad point count, a zero-width tank step, ...), valid
// until the next call.
const char* settings_validate(const UnitSettings& s);

// Settings file on the card: the block followed by its CRC, high byte first.
constexpr const char* SETTINGS_FILE = "SDCARD\\SORVIK2.EMS";
constexpr const char* SETTINGS_TEMP_FILE = "SDCARD\\SORVIK2.TMP";
constexpr size_t SETTINGS_FILE_BYTES = 1875;

// Writes the file (through a temporary file, so a failed save keeps the old
// one). TempInTheWay: the temporary SORVIK2.TMP is on the card but cannot
// be written or replaced (a link, a FIFO, a folder), which only the user can
// clear.
enum class SettingsWrite : uint8_t { Ok, Failed, TempInTheWay };
SettingsWrite settings_write_file();
// Reads and checks the file; on success replaces the settings, sets version,
// calls settings_changed, fuel_config_derive and rpm1_scale_update. A missing,
// short or corrupt file, a CRC mismatch or a field out of range changes
// nothing and returns false.
bool settings_read_file();

} // namespace ems
