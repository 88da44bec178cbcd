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

void parse_if_new(const ems::NmeaSentence& s)
{
    std::atomic<uint8_t>& flag = ems::nmea.*s.flag;
    if (flag.load(std::memory_order_acquire) != 1) return;
    if (std::memchr(ems::nmea.*s.slot, '\0', ems::NMEA_BODY_MAX + 1) == nullptr) std::abort();
    s.parse();
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
    for (const ems::NmeaSentence& s : ems::NMEA_SENTENCES) parse_if_new(s);
    ems::ComPort1RxChar(data + split, size - split);
    for (const ems::NmeaSentence& s : ems::NMEA_SENTENCES) parse_if_new(s);

    if (ems::nmea_rx.nmea_state > ems::NMEA_WAIT_LF || ems::nmea_rx.nmea_length > ems::NMEA_BODY_MAX)
        std::abort();
    return 0;
}
