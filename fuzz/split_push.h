// Both line converters of the NMEA feed (gpsd's stream, "Adapt modern
// receivers") keep a partial line between reads. The fuzzers hand them the
// input after its first byte in two reads, cut where that byte says, so that
// a line cut anywhere is fuzzed too.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// size is at least 1; returns what the converter passed on.
template <class Converter>
std::string push_in_two_reads(Converter& converter, const uint8_t* data, size_t size)
{
    const size_t split = data[0] % size;
    std::string out;
    converter.push(data + 1, split, out);
    converter.push(data + 1 + split, size - 1 - split, out);
    return out;
}
