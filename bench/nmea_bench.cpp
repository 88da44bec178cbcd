// Throughput of the NMEA receive path: a real receiver log fed through the
// framing state machine in serial-sized chunks, with the four sentence
// parsers run after each chunk as the main loop does. Reports bytes per
// second of raw stream.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "settings/settings.h"
#include "system/platform.h"

namespace {

// The log's byte stream without its leading "#" comment lines, with every
// bare LF made CR LF as a receiver sends it. Empty when the log is missing.
std::string load_stream(const char* name)
{
    const std::filesystem::path path =
        std::filesystem::path(EMS_SOURCE_DIR) / "tests" / "data" / "nmea" / name;
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string all = ss.str();
    size_t pos = 0;
    while (pos < all.size() && all[pos] == '#') {
        const size_t nl = all.find('\n', pos);
        pos = nl == std::string::npos ? all.size() : nl + 1;
    }
    std::string out;
    out.reserve(all.size() - pos + all.size() / 32);
    for (size_t i = pos; i < all.size(); ++i) {
        if (all[i] == '\n' && (i == pos || all[i - 1] != '\r')) out += '\r';
        out += all[i];
    }
    return out;
}

// What a main-loop pass does with the slots: every full one parsed, then freed. Returns
// the number of sentences parsed.
int parse_slots()
{
    int parsed = 0;
    for (const ems::NmeaSentence& s : ems::NMEA_SENTENCES) {
        std::atomic<uint8_t>& flag = ems::nmea.*s.flag;
        if (flag.load(std::memory_order_acquire) == 1) {
            s.parse();
            ++parsed;
            flag.store(0, std::memory_order_release);
        }
    }
    return parsed;
}

} // namespace

// Arg: chunk size in bytes (what one serial read event delivers).
static void BM_NmeaReceiveAndParse(benchmark::State& state)
{
    const std::string stream = load_stream("bu353s4.log");
    if (stream.empty()) {
        state.SkipWithError("tests/data/nmea/bu353s4.log not found");
        return;
    }
    {
        ems::set_platform({}); // the echo goes nowhere
        ems::settings_load_defaults();
        ems::nmea_rx = ems::NmeaRx{};
        ems::nmea = ems::NmeaLink{};
        ems::gps = ems::GpsState{};
        const size_t chunk = size_t(state.range(0));
        const auto* bytes = reinterpret_cast<const uint8_t*>(stream.data());
        int64_t parsed = 0;
        for (auto _ : state) {
            for (size_t at = 0; at < stream.size(); at += chunk) {
                const size_t n = stream.size() - at < chunk ? stream.size() - at : chunk;
                ems::ComPort1RxChar(bytes + at, n);
                parsed += parse_slots();
            }
            benchmark::DoNotOptimize(ems::gps);
        }
        // Sentences parsed per pass through the log: shows the stream really
        // reached the parsers. Large chunks parse fewer: a second sentence of
        // a type within one chunk finds its slot still full and is dropped.
        state.counters["sentences"] = benchmark::Counter(double(parsed) / double(state.iterations()));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(stream.size()));
}
BENCHMARK(BM_NmeaReceiveAndParse)->Arg(1)->Arg(16)->Arg(256);

// The reference for the receive path: finding the line ends of the same
// stream with memchr, the least any framing has to do.
static void BM_NmeaMemchrLines(benchmark::State& state)
{
    const std::string stream = load_stream("bu353s4.log");
    if (stream.empty()) {
        state.SkipWithError("tests/data/nmea/bu353s4.log not found");
        return;
    }
    for (auto _ : state) {
        size_t lines = 0;
        for (const char* p = stream.data(), *end = p + stream.size();
             (p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))) != nullptr; ++p)
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(stream.size()));
}
BENCHMARK(BM_NmeaMemchrLines);
