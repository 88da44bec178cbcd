// gpsd's side of a TCP connection. gpsd greets every client with a VERSION
// report; asked with GPSD_WATCH it then sends its reports as JSON lines and
// relays its receivers' NMEA, as they sent it: often GN, GL or GA talkers
// and bare LF line ends, which the unit does not read. GpsdStream splits the
// two: every NMEA sentence comes out as the unit reads it (GP talker, CR LF,
// host/gps/core/nmea_adapt.h), and the reports are read for what the source's
// status tells the user (has gpsd a device, has it a fix) and not passed on.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/gps/core/nmea_adapt.h"

namespace host {

// Reports and NMEA, on a watch of every device.
constexpr char GPSD_WATCH[] = "?WATCH={\"enable\":true,\"json\":true,\"nmea\":true};\n";
// How every gpsd connection begins.
constexpr char GPSD_BANNER[] = "{\"class\":\"VERSION\"";
// Longest line read (a report of many satellites is long); a longer one is
// dropped whole.
constexpr size_t GPSD_LINE_MAX = 16384;

class GpsdStream {
public:
    // Appends the NMEA sentences among bytes to out, adapted; reads the
    // reports on the way. A line is held until its end.
    void push(const uint8_t* bytes, size_t count, std::string& out);

    // -1 until gpsd has listed its devices, then how many it has.
    int devices() const { return devices_; }
    // gpsd's fix mode from its last position report: -1 none yet, 0 or 1 no
    // fix, 2 a 2D fix, 3 a 3D fix.
    int fix_mode() const { return fix_mode_; }

private:
    void end_line(std::string& out);
    void read_report();

    std::string line_;      // held until its end
    bool dropping_ = false; // the line grew too long: dropped until its end
    NmeaAdapter adapter_;
    int devices_ = -1;
    int fix_mode_ = -1;
};

} // namespace host
