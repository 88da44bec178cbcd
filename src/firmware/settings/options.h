// The option lists of the settings: one list per option field, in index order
// (the stored value is the index, first entry 0).
//
// `menu` is the text a setup row lists; `gauge` the shorter text a gauge,
// page or unit suffix shows where the two differ ("knots" / "kts"), else the
// same array. Text uses the display font's codes: "\xB0" is the degree sign.
#pragma once
#include <cstdint>
#include <iterator>

namespace ems {

struct OptionList {
    const char* const* menu;  // setup-row texts
    const char* const* gauge; // texts shown beside values
    uint8_t count;            // entries; the largest valid value is count - 1
};

// The text of entry `index`, for a value that may be out of the list: a value
// past the end gives the last entry, a negative one the first.
constexpr const char* option_menu_text(const OptionList& list, int index)
{
    return list.menu[index < 0 ? 0 : index >= list.count ? list.count - 1 : index];
}
constexpr const char* option_gauge_text(const OptionList& list, int index)
{
    return list.gauge[index < 0 ? 0 : index >= list.count ? list.count - 1 : index];
}

namespace option_texts {
#define EMS_OPTION_TEXTS(id, ...) inline constexpr const char* id[] = {__VA_ARGS__};
// Lists whose menu and gauge forms are the same.
EMS_OPTION_TEXTS(OFF_ON, "OFF", "ON")
EMS_OPTION_TEXTS(NO_YES, "NO", "YES")
EMS_OPTION_TEXTS(DEGREE_UNIT, "\xB0" "C", "\xB0" "F")
EMS_OPTION_TEXTS(MAP_FILTER, "NONE", "FAST", "SLOW")
EMS_OPTION_TEXTS(MAP_UNIT, "mb", "\"Hg")
EMS_OPTION_TEXTS(RPM_DISPLAY, "RPM", "PERCENT", "OFF")
EMS_OPTION_TEXTS(RPM_INCREMENT, "1 RPM", "5 RPM", "10 RPM", "50 RPM", "100 RPM")
EMS_OPTION_TEXTS(RPM2_POSITION, "RIGHT", "LEFT")
EMS_OPTION_TEXTS(RPM2_STYLE, "CLASSIC", "ARCS")
EMS_OPTION_TEXTS(GPS_POSITION_FORMAT, "d\xB0m.mmm", "d\xB0m's.s", "d.dddd\xB0")
EMS_OPTION_TEXTS(ALTITUDE_UNIT, "ft", "m")
EMS_OPTION_TEXTS(GPS_COG, "MAGNETIC", "TRUE")
EMS_OPTION_TEXTS(GPS_VARIATION, "AUTO", "MANUAL")
EMS_OPTION_TEXTS(GPS_BAUD, "1200", "2400", "4800", "9600", "14400", "19200", "28800", "38400",
                 "57600", "115200")
EMS_OPTION_TEXTS(GPS_SOURCE, "OFF", "EXTERNAL")
EMS_OPTION_TEXTS(FLIGHT_DETECT, "MANUAL", "AUTOMATIC")
EMS_OPTION_TEXTS(CHANNEL_MODE, "OFF", "PRESSURE", "TEMPERATURE", "CURRENT", "GENERIC")
EMS_OPTION_TEXTS(HOBBS_START, "POWER", "RPM 1", "RPM 2")
EMS_OPTION_TEXTS(HOBBS_FORMAT, "DECIMAL", "MINUTES")
EMS_OPTION_TEXTS(TC_SCANNING, "HIGHEST", "SCANNING")
EMS_OPTION_TEXTS(EGT_PROBE, "K-TYPE", "J-TYPE", "E-TYPE")
EMS_OPTION_TEXTS(CHT_PROBE, "K-TYPE", "J-TYPE", "E-TYPE", "NTC (AUX 1/2)")
EMS_OPTION_TEXTS(SCAN_TIME, "1S", "3S", "5S", "10S", "15S", "30S", "60S")
EMS_OPTION_TEXTS(FLOW_SOURCE, "FLOW SENDER", "INJECTOR")
EMS_OPTION_TEXTS(FUEL_UNIT, "LITRE/SM", "GAL/SM", "LITRE/NM", "GAL/NM", "LITRE/KM", "GAL/KM")
EMS_OPTION_TEXTS(FLOW_MODE, "DUAL", "DIFFERENTIAL", "SUMMATION")
EMS_OPTION_TEXTS(TANK_MODE, "SENDER", "CALCULATED", "OFF")
EMS_OPTION_TEXTS(INJECTOR_LEVEL, "LOW", "HIGH")
EMS_OPTION_TEXTS(TANK_FILTER, "NONE", "LOW", "MEDIUM", "HIGH")
EMS_OPTION_TEXTS(TANK_RESOLUTION, "1L", "0.1L")
EMS_OPTION_TEXTS(TANK_CAL_MODE, "SENDER", "MANUAL")
EMS_OPTION_TEXTS(DOC_KIND, "NONE", "PICTURE", "CHECKLIST")
EMS_OPTION_TEXTS(ECU_TYPE, "NONE", "ROTAX 912iS", "UL POWER")
EMS_OPTION_TEXTS(ECU_CONNECT, "VEXA", "DIRECT")
EMS_OPTION_TEXTS(ECU_LANE, "LANE A", "LANE B")
EMS_OPTION_TEXTS(PRESSURE_TYPE, "RESISTIVE", "VOLTAGE", "CURRENT")
EMS_OPTION_TEXTS(RESISTIVE_SENDER, "USER", "VDO")
EMS_OPTION_TEXTS(VOLTAGE_SENDER, "USER", "UMA", "0.5-4.5V")
EMS_OPTION_TEXTS(CURRENT_SENDER, "USER", "4-20mA")
EMS_OPTION_TEXTS(UMA_MODEL, "N1EU07", "N1EU35", "N1EU100", "T1EU07", "T1EU35", "T1EU100", "T1EU70",
                 "T1EU70A", "T1EU150", "N1EU70", "N1EU70A", "N1EU150")
EMS_OPTION_TEXTS(VDO_MODEL, "2 bar", "5 bar", "10 bar")
EMS_OPTION_TEXTS(TEMPERATURE_SENDER, "VDO 120\xB0" "C", "VDO 150\xB0" "C", "QOR NTC", "WESTACH",
                 "LM335", "USER")
EMS_OPTION_TEXTS(DECIMALS, "XXX", "XX.X", "X.XX")
// Lists with a shorter gauge form.
EMS_OPTION_TEXTS(SPEED_UNIT, "mph", "km/h", "knots")
EMS_OPTION_TEXTS(SPEED_UNIT_GAUGE, "mph", "km/h", "kts")
EMS_OPTION_TEXTS(PRESSURE_UNIT, "bar", "psi", "psi(0.1)")
EMS_OPTION_TEXTS(PRESSURE_UNIT_GAUGE, "bar", "psi", "psi")
#undef EMS_OPTION_TEXTS
} // namespace option_texts

namespace options {
#define EMS_OPTIONS(id) \
    inline constexpr OptionList id{option_texts::id, option_texts::id, uint8_t(std::size(option_texts::id))};
#define EMS_OPTIONS_GAUGE(id, gauge_id)                                                           \
    inline constexpr OptionList id{option_texts::id, option_texts::gauge_id,                      \
                                   uint8_t(std::size(option_texts::id))};                         \
    static_assert(std::size(option_texts::id) == std::size(option_texts::gauge_id));
EMS_OPTIONS(OFF_ON)
EMS_OPTIONS(NO_YES)
EMS_OPTIONS(DEGREE_UNIT)
EMS_OPTIONS(MAP_FILTER)
EMS_OPTIONS(MAP_UNIT)
EMS_OPTIONS(RPM_DISPLAY)
EMS_OPTIONS(RPM_INCREMENT)
EMS_OPTIONS(RPM2_POSITION)
EMS_OPTIONS(RPM2_STYLE)
EMS_OPTIONS(GPS_POSITION_FORMAT)
EMS_OPTIONS(ALTITUDE_UNIT)
EMS_OPTIONS(GPS_COG)
EMS_OPTIONS(GPS_VARIATION)
EMS_OPTIONS(GPS_BAUD)
EMS_OPTIONS(GPS_SOURCE)
EMS_OPTIONS(FLIGHT_DETECT)
EMS_OPTIONS(CHANNEL_MODE)
EMS_OPTIONS(HOBBS_START)
EMS_OPTIONS(HOBBS_FORMAT)
EMS_OPTIONS(TC_SCANNING)
EMS_OPTIONS(EGT_PROBE)
EMS_OPTIONS(CHT_PROBE)
EMS_OPTIONS(SCAN_TIME)
EMS_OPTIONS(FLOW_SOURCE)
EMS_OPTIONS(FUEL_UNIT)
EMS_OPTIONS(FLOW_MODE)
EMS_OPTIONS(TANK_MODE)
EMS_OPTIONS(INJECTOR_LEVEL)
EMS_OPTIONS(TANK_FILTER)
EMS_OPTIONS(TANK_RESOLUTION)
EMS_OPTIONS(TANK_CAL_MODE)
EMS_OPTIONS(DOC_KIND)
EMS_OPTIONS(ECU_TYPE)
EMS_OPTIONS(ECU_CONNECT)
EMS_OPTIONS(ECU_LANE)
EMS_OPTIONS(PRESSURE_TYPE)
EMS_OPTIONS(RESISTIVE_SENDER)
EMS_OPTIONS(VOLTAGE_SENDER)
EMS_OPTIONS(CURRENT_SENDER)
EMS_OPTIONS(UMA_MODEL)
EMS_OPTIONS(VDO_MODEL)
EMS_OPTIONS(TEMPERATURE_SENDER)
EMS_OPTIONS(DECIMALS)
EMS_OPTIONS_GAUGE(SPEED_UNIT, SPEED_UNIT_GAUGE)
EMS_OPTIONS_GAUGE(PRESSURE_UNIT, PRESSURE_UNIT_GAUGE)
#undef EMS_OPTIONS
#undef EMS_OPTIONS_GAUGE

// A pressure record's senders, by its type (RESISTIVE, VOLTAGE, CURRENT).
inline constexpr OptionList PRESSURE_SENDER[] = {RESISTIVE_SENDER, VOLTAGE_SENDER, CURRENT_SENDER};
} // namespace options

} // namespace ems
