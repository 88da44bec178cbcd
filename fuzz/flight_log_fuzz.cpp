// Fuzzes the flight-log export over an old file: each input becomes
// SDCARD/FLIGHTS.CSV in a temporary card folder, and two logged flights are
// exported into it. A refused old file must stay byte for byte as it was; an
// accepted one must start the new file unchanged; no temporary file may stay.
// Unless the first input byte is odd the input is put behind the header, so
// the row matching gets exercised too.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "host/card/core/card_folder.h"
#include "ops/flight_log.h"
#include "settings/settings.h"
#include "system/clock.h"
#include "system/platform.h"

namespace {

std::filesystem::path card_dir;

void remove_card_dir() { std::filesystem::remove_all(card_dir); }

void setup()
{
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    card_dir = host::make_temp_card_dir("ems-flight-log-fuzz", base);
    std::atexit(remove_card_dir);
    static host::CardFolder card(card_dir);
    ems::set_platform({.card = &card});
    ems::settings_load_defaults();
}

std::string read_file(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (setup(), true);
    (void)ready;

    std::string old;
    if (size == 0 || (data[0] & 1) == 0) old = "START UTC,FLIGHT TIME,PILOT,REGISTRATION,HOBBS,MAINTENANCE\r\n";
    old.append(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path csv = card_dir / "SDCARD" / "FLIGHTS.CSV";
    {
        std::ofstream out(csv, std::ios::binary | std::ios::trunc);
        out << old;
    }

    ems::flight = {};
    for (int i = 0; i < 2; ++i) {
        ems::clk.utc_seconds = 1796000000u + 3600u * uint32_t(i);
        ems::flight_start();
        ems::flight.flight_time = 90;
        ems::flight_stop();
    }
    const bool ok = ems::flight_log_export();
    const std::string now = read_file(csv);
    if (!ok && now != old) std::abort();
    if (ok && !old.empty() && now.compare(0, old.size(), old) != 0) std::abort();
    if (std::filesystem::exists(card_dir / "SDCARD" / "FLIGHTS.TMP")) std::abort();
    return 0;
}
