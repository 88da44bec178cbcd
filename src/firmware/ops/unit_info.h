// Unit information: the INFORMATION page (model, firmware version, serial
// number, registration; from MISCELLANEOUS SETUP), the service entry of the
// serial number behind it, and the SENSOR INFO page of raw readings (main
// menu tile 6).
#pragma once
#include <cstdint>

namespace ems {

constexpr uint8_t SERIAL_DIGITS = 7;

struct UnitInfoState {
    uint8_t service_progress = 0;          // keys of the service sequence pressed so far
    char serial_digits[SERIAL_DIGITS + 1] = "0000000"; // the number being entered
    uint8_t sensor_page = 0;               // SENSOR INFO page, 0 or 1
};
extern UnitInfoState unit_info;

// The service sequence on the INFORMATION page that opens ENTER SERIAL
// NUMBER: soft keys 5, 3, 5, 3 (not labelled there), then the rotary push.
// A wrong key starts it again.
constexpr uint8_t SERVICE_SEQUENCE[] = {5, 3, 5, 3, 6};

void screen_information();
// ENTER SERIAL NUMBER: seven digits, starting from the present number; 6
// selects the next digit, 7 / 8 raise / lower it with wrap; 1 SAVE stores
// the number (calibration_changed) and returns to the run screen; 2 BACK
// returns to INFORMATION with the number unchanged.
void screen_serial_number();
// SENSOR INFO: the raw readings on two pages (7 and 8 switch), EXIT, BACK.
void screen_sensor_info();

} // namespace ems
