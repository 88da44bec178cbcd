// Arbitrary bytes through "Adapt modern receivers", split where the input's
// first byte says, then through the receive handler. Every adapted line must
// still be one the framing accepts or leaves alone, and a sentence the
// adapter rewrote must carry a good checksum.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gps/nmea_rx.h"
#include "host/gps/core/nmea_adapt.h"
#include "host/gps/core/nmea_watch.h"
#include "split_push.h"

namespace {

// A rewritten GN/GL/GA sentence is GP with a checksum that matches.
void check_rewrite(const std::string& sentence)
{
    const std::string out = host::nmea_as_gp(sentence);
    if (out.size() != sentence.size()) std::abort();
    if (out == sentence) return;
    if (out[2] != 'P') std::abort();
    uint8_t sum = 0;
    for (size_t i = 1; i + 3 < out.size(); ++i) sum ^= uint8_t(out[i]);
    if (ems::nmea_hex_value(out.c_str() + out.size() - 2) != sum) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    host::NmeaAdapter adapter;
    std::string out = push_in_two_reads(adapter, data, size);
    adapter.flush(out);
    if (out.size() > 2 * size + 2) std::abort(); // at most a CR per LF is added

    check_rewrite(std::string(reinterpret_cast<const char*>(data), size));
    host::nmea_watch().observe(reinterpret_cast<const uint8_t*>(out.data()), out.size());
    ems::ComPort1RxChar(reinterpret_cast<const uint8_t*>(out.data()), out.size());
    return 0;
}
