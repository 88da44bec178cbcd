// The serial connect rules of the "GPS (NMEA Protocol)" tab: what the
// "Com Port:" and "Baud Rate:" texts select. Pure functions, no Qt.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace host {

// What "&Connect" opens.
struct PortChoice {
    std::string port_name; // "COM1".."COM4", or a typed device path as given
    std::string device;    // the device to open: /dev/ttyS0../dev/ttyS3, or the typed path
    int32_t baud = 115200; // 1200..115200
};

// "COM1" or the list entry "COM 1" selects "COM1", likewise 2 and 3; a text
// starting with "/" is a device path and is kept as given; any other text
// (including "COM 4", "COM7" and empty) selects "COM4".
std::string port_name_for(std::string_view port_text);

// The Linux device behind a port name: COM1..COM4 are /dev/ttyS0../dev/ttyS3;
// a path is returned unchanged; any other name maps to /dev/ttyS3.
std::string device_for(std::string_view port_name);

// "1200", "2400", "4800", "9600", "19200", "38400" and "57600" select that
// rate; any other text selects 115200.
int32_t baud_rate_for(std::string_view baud_text);

// Both rules together, as "&Connect" applies them.
PortChoice select_port(std::string_view port_text, std::string_view baud_text);

} // namespace host
