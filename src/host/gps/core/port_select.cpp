#include "host/gps/core/port_select.h"

namespace host {

std::string port_name_for(std::string_view port_text)
{
    if (!port_text.empty() && port_text.front() == '/') return std::string(port_text);
    if (port_text == "COM1" || port_text == "COM 1") return "COM1";
    if (port_text == "COM2" || port_text == "COM 2") return "COM2";
    if (port_text == "COM3" || port_text == "COM 3") return "COM3";
    return "COM4";
}

std::string device_for(std::string_view port_name)
{
    if (!port_name.empty() && port_name.front() == '/') return std::string(port_name);
    if (port_name == "COM1") return "/dev/ttyS0";
    if (port_name == "COM2") return "/dev/ttyS1";
    if (port_name == "COM3") return "/dev/ttyS2";
    return "/dev/ttyS3";
}

int32_t baud_rate_for(std::string_view baud_text)
{
    static constexpr struct {
        std::string_view text;
        int32_t rate;
    } rates[] = {{"1200", 1200},   {"2400", 2400},   {"4800", 4800},  {"9600", 9600},
                 {"19200", 19200}, {"38400", 38400}, {"57600", 57600}};
    for (const auto& r : rates)
        if (baud_text == r.text) return r.rate;
    return 115200;
}

PortChoice select_port(std::string_view port_text, std::string_view baud_text)
{
    PortChoice choice;
    choice.port_name = port_name_for(port_text);
    choice.device = device_for(choice.port_name);
    choice.baud = baud_rate_for(baud_text);
    return choice;
}

} // namespace host
