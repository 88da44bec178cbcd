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
class EchoCheck final : public ems::Platform {
public:
    ems::LocalTime local_time() override { return {}; }
    int file_open(const char*, ems::FileMode) override { return -1; }
    size_t file_read(int, uint8_t*, size_t) override { return 0; }
    size_t file_write(int, const uint8_t*, size_t) override { return 0; }
    bool file_close(int) override { return false; }
    bool file_replace(const char*, const char*) override { return false; }
    bool file_remove(const char*) override { return false; }
    int dir_open(const char*) override { return -1; }
    bool dir_next(int, char*, size_t) override { return false; }
    void dir_close(int) override {}
    void message_box(const char*) override {}
    void present() override {}
    bool check_box(ems::CheckBox) override { return false; }
    void serial_echo(const char* line) override
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
    static EchoCheck platform;
    ems::set_platform(&platform);

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
