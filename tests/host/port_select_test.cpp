// What "&Connect" opens for the texts of the "Com Port:" and "Baud Rate:" boxes.
#include <gtest/gtest.h>

#include "host/gps/core/port_select.h"

namespace {

TEST(PortSelect, ComPortTextSelectsOneOfFourPorts)
{
    struct {
        const char* text;
        const char* name;
        const char* device;
    } const cases[] = {
        {"COM1", "COM1", "/dev/ttyS0"},  {"COM 1", "COM1", "/dev/ttyS0"}, {"COM2", "COM2", "/dev/ttyS1"},
        {"COM 2", "COM2", "/dev/ttyS1"}, {"COM3", "COM3", "/dev/ttyS2"},  {"COM 3", "COM3", "/dev/ttyS2"},
        {"COM4", "COM4", "/dev/ttyS3"},  {"COM 4", "COM4", "/dev/ttyS3"}, {"COM7", "COM4", "/dev/ttyS3"},
        {"", "COM4", "/dev/ttyS3"},      {"com1", "COM4", "/dev/ttyS3"},  {" COM1", "COM4", "/dev/ttyS3"},
        {"COM1 ", "COM4", "/dev/ttyS3"}, {"COM10", "COM4", "/dev/ttyS3"}, {"ttyS0", "COM4", "/dev/ttyS3"},
    };
    for (const auto& c : cases) {
        const host::PortChoice p = host::select_port(c.text, "9600");
        EXPECT_EQ(p.port_name, c.name) << '"' << c.text << '"';
        EXPECT_EQ(p.device, c.device) << '"' << c.text << '"';
    }
}

TEST(PortSelect, TypedDevicePathIsOpenedAsGiven)
{
    for (const char* path : {"/dev/pts/5", "/dev/ttyUSB0", "/dev/serial/by-id/usb-GPS receiver-if00", "/"}) {
        const host::PortChoice p = host::select_port(path, "4800");
        EXPECT_EQ(p.port_name, path);
        EXPECT_EQ(p.device, path);
        EXPECT_EQ(p.baud, 4800);
    }
    EXPECT_EQ(host::select_port("dev/pts/5", "4800").device, "/dev/ttyS3"); // not a path
}

TEST(PortSelect, BaudTextSelectsListedRatesAndOtherwise115200)
{
    for (int rate : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
        EXPECT_EQ(host::baud_rate_for(std::to_string(rate)), rate);
    for (const char* other : {"300", "", "9600 ", "09600", "abc", "230400", "-1"})
        EXPECT_EQ(host::baud_rate_for(other), 115200) << '"' << other << '"';
}

} // namespace
