// Save states: everything a user has set up for an exercise, in one file, so
// that it can be closed and carried on later.
//
// The file is binary, little-endian:
//   "SORVSTAT"      8 bytes, the magic
//   version         u16, SAVE_STATE_VERSION of the program that wrote it
//   reserved        u16, 0
//   payload length  u32
//   payload CRC     u32, CRC-32 (IEEE, as zip) of the payload
//   payload         sections: a 4-letter tag, a u32 length, its bytes
//
// Sections, each exactly once: SETS the settings block as the settings file
// holds it, CALI the calibration constants, CNTS the fuel and hobbs counters,
// FLOG the flight and its log, PAGE the run screen's page, HOST the window's
// part as "key=value" lines (the inputs by "TAB/CAPTION", the GPS source,
// whether the unit was on). A file is read whole into a SaveState and every
// section checked before the caller applies anything, so a damaged,
// truncated or newer file changes nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ops/flight_log.h"
#include "settings/settings.h"

namespace host {

constexpr uint16_t SAVE_STATE_VERSION = 1;
// Larger files are refused unread; a state is a few kilobytes.
constexpr size_t SAVE_STATE_MAX_BYTES = 256 * 1024;
// The window's part: at most so many lines, each key and value at most so long.
constexpr size_t SAVE_STATE_HOST_LINES = 1024;
constexpr size_t SAVE_STATE_HOST_TEXT = 4096;

struct SaveState {
    ems::UnitSettings settings{};
    ems::CalibrationConstants calibration{};
    ems::FuelHobbs counters{};
    ems::FlightLogState flight{};
    uint8_t run_page = 0;
    std::vector<std::pair<std::string, std::string>> host; // in file order
};

// The file's bytes.
std::string encode_save_state(const SaveState& state);
// Reads and checks a whole file. On failure returns false with a sentence
// for the user in error and leaves out untouched.
bool decode_save_state(std::string_view bytes, SaveState& out, std::string& error);

// The firmware's part as it stands, host left empty.
SaveState capture_firmware_state();
// Puts the firmware's part of a decoded state in place (settings with their
// derived values, calibration, counters, flight log) and shows the run
// screen on the saved page.
void apply_firmware_state(const SaveState& state);

// The value of key in the window's part, or null.
const std::string* save_state_value(const SaveState& state, std::string_view key);

} // namespace host
