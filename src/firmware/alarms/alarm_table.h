// Every alarm once: its bit in the alarm words and the message its box shows,
// listed in the order the box shows pending alarms (tank 1 first, analog
// input 4 last). The bit names (ALARM_VOLTS ...) and the box's table both come
// from ALARM_TABLE.
//
// A message is an optional label from the settings, a text and, for an alarm
// with two limits, " LOW" or " HIGH" as recorded by alarm_on_limits
// (alarm_words.h). An analog input's message follows its channel_mode.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace ems {

// Where a message's leading label comes from.
enum class AlarmLabel : uint8_t {
    NONE,
    RPM1,  // rpm1_label
    RPM2,  // rpm2_label
    INPUT, // the label of the analog input's record for its channel_mode
};

struct AlarmText {
    AlarmLabel label = AlarmLabel::NONE;
    const char* text = nullptr;  // after the label; nullptr for an analog input (see analog_input)
    bool sided = false;          // followed by " LOW" or " HIGH"
    const char* line2 = nullptr; // second line of a two-line box
    int8_t input = -1;           // analog input 0..3 whose channel_mode picks the text
};

// The message forms the table's rows are written in.
namespace alarm_rows {
constexpr AlarmText fixed(const char* text, const char* line2 = nullptr)
{
    return {AlarmLabel::NONE, text, false, line2};
}
constexpr AlarmText sided(const char* text) { return {AlarmLabel::NONE, text, true}; }
constexpr AlarmText sided(AlarmLabel label, const char* text) { return {label, text, true}; }
constexpr AlarmText analog_input(int8_t n) { return {AlarmLabel::INPUT, nullptr, true, nullptr, n}; }
} // namespace alarm_rows

// NAME, bit, message; in priority order. Nothing raises RPM2 or
// UL_TURBO_BOOST_SENSOR yet; their boxes show if something does.
#define ALARM_TABLE(X)                                                                  \
    X(TANK1, 0x40, fixed("FUEL LEVEL 1"))                                               \
    X(TANK2, 0x80, fixed("FUEL LEVEL 2"))                                               \
    X(RPM1, 0x01, sided(AlarmLabel::RPM1, " RPM"))                                      \
    X(RPM2, 0x02, sided(AlarmLabel::RPM2, " RPM"))                                      \
    X(EGT_CHT, 0x200, fixed("EGT/CHT HIGH"))                                            \
    X(MAP, 0x04, sided("MAP"))                                                          \
    X(VOLTS, 0x10, sided("VOLTS"))                                                      \
    X(OAT, 0x08, sided("OAT"))                                                          \
    X(FUEL_PRESSURE, 0x100, sided(" FUEL PRESSURE"))                                    \
    X(CURRENT, 0x20, sided("CURRENT"))                                                  \
    X(UL_AIR_TEMP_SENSOR, 0x4000, fixed("AIR TEMP SENSOR FAULT"))                       \
    X(UL_THROTTLE_POS_SENSOR, 0x8000, fixed("THROTTLE POSITION", "SENSOR FAULT"))       \
    X(UL_MAP_SENSOR, 0x10000, fixed("MAP SENSOR FAULT"))                                \
    X(UL_OIL_TEMP_SENSOR, 0x20000, fixed("OIL TEMP SENSOR FAULT"))                      \
    X(UL_TURBO_BOOST_SENSOR, 0x80000, fixed("TURBO BOOST SENSOR FAULT"))                \
    X(UL_POS_SYNC_SENSOR, 0x40000, fixed("POS-/SYNC SENSOR FAULT"))                     \
    X(AUX1, 0x400, analog_input(0))                                                     \
    X(AUX2, 0x800, analog_input(1))                                                     \
    X(AUX3, 0x1000, analog_input(2))                                                    \
    X(AUX4, 0x2000, analog_input(3))

// One bit per alarm. Analog input n is ALARM_AUX1 << n.
enum AlarmBit : uint32_t {
#define ALARM_BIT(name, bit, text) ALARM_##name = bit,
    ALARM_TABLE(ALARM_BIT)
#undef ALARM_BIT
};

struct AlarmRow {
    AlarmBit bit;
    AlarmText message;
};

namespace alarm_rows {
inline constexpr AlarmRow ALARM_ROWS[] = {
#define ALARM_ROW(name, bit, text) {ALARM_##name, text},
    ALARM_TABLE(ALARM_ROW)
#undef ALARM_ROW
};

// An analog input's message by channel_mode (CHANNEL_PRESSURE .. CHANNEL_GENERIC
// are 1..4); an input that is switched off has none.
inline constexpr AlarmText ANALOG_INPUT_TEXTS[4] = {
    sided(AlarmLabel::INPUT, " PRESSURE"), // label of pressure_cfg[n]
    sided(AlarmLabel::INPUT, " TEMP"),     // label of temperature_cfg[n]
    sided("CURRENT"),
    sided(AlarmLabel::INPUT, ""),          // label of generic_cfg[n]
};
} // namespace alarm_rows
using alarm_rows::ALARM_ROWS;
using alarm_rows::ANALOG_INPUT_TEXTS;

constexpr size_t ALARM_PRIORITY_COUNT = std::size(ALARM_ROWS);

// The bits alone, in priority order.
inline constexpr std::array<uint32_t, ALARM_PRIORITY_COUNT> ALARM_PRIORITY = [] {
    std::array<uint32_t, ALARM_PRIORITY_COUNT> bits{};
    for (size_t i = 0; i < ALARM_PRIORITY_COUNT; ++i) bits[i] = ALARM_ROWS[i].bit;
    return bits;
}();

} // namespace ems
