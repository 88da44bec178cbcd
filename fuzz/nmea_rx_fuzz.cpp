// Arbitrary serial bytes through the NMEA framing state machine, with the main
// loop's parsers run whenever a slot has been handed over.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "gps/nmea_rx.h"
#include "system/platform.h"

namespace {

// Checks every echoed line: terminated within the body limit.
class EchoCheck final : public ems::SerialEcho {
public:
    void echo(const char* line) override
    {
        if (std::strlen(line) > ems::NMEA_BODY_MAX) std::abort();
    }
};

void parse_if_new(std::atomic<uint8_t>& flag, const char* slot, void (*parse)())
{
    if (flag.load(std::memory_order_acquire) != 1) return;
    if (std::memchr(slot, '\0', ems::NMEA_BODY_MAX + 1) == nullptr) std::abort();
    parse();
    flag.store(0, std::memory_order_release);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static EchoCheck check;
    ems::set_platform({.serial_echo = &check});

    // The first byte splits the input into two receive events, so that
    // sentences also cross event boundaries.
    size_t split = size ? data[0] % (size + 1) : 0;
    ems::ComPort1RxChar(data, split);
    parse_if_new(ems::nmea.nmea_rmc_new, ems::nmea.nmea_rmc, ems::nmea_parse_rmc);
    ems::ComPort1RxChar(data + split, size - split);
    parse_if_new(ems::nmea.nmea_rmc_new, ems::nmea.nmea_rmc, ems::nmea_parse_rmc);
    parse_if_new(ems::nmea.nmea_gga_new, ems::nmea.nmea_gga, ems::nmea_parse_gga);
    parse_if_new(ems::nmea.nmea_gsa_new, ems::nmea.nmea_gsa, ems::nmea_parse_gsa);
    parse_if_new(ems::nmea.nmea_gsv_new, ems::nmea.nmea_gsv, ems::nmea_parse_gsv);

    if (ems::nmea_rx.nmea_state > ems::NMEA_WAIT_LF || ems::nmea_rx.nmea_length > ems::NMEA_BODY_MAX)
        std::abort();
    return 0;
}
