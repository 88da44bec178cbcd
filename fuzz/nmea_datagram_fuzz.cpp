// Arbitrary UDP payloads, cut into datagrams at the 0xFF bytes, through the
// datagram reassembly of the UDP NMEA source. What comes out is whole lines
// only, each shorter than the reassembly's limit, and never more than came in
// plus a line end per sentence.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/gps/core/nmea_adapt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    host::NmeaDatagrams datagrams;
    std::string out;
    size_t start = 0;
    size_t sentences = 0;
    for (size_t i = 0; i <= size; ++i) {
        if (i < size && data[i] != 0xFF) {
            if (data[i] == '$') ++sentences;
            continue;
        }
        datagrams.push(data + start, i - start, out);
        start = i + 1;
    }
    if (out.size() > size + 2 * sentences) std::abort();
    if (!out.empty() && out.back() != '\n') std::abort();
    size_t line = 0;
    for (char c : out) {
        line = c == '\n' ? 0 : line + 1;
        if (line > host::NMEA_REWRITE_LINE_MAX + 1) std::abort(); // a kept line and its CR
    }
    return 0;
}
