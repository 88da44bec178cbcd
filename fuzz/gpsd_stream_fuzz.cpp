// Arbitrary bytes as gpsd's side of a connection, split where the input's
// first byte says, then through the receive handler. No report line may pass
// on, every line that comes out ends in LF, and the device count and the fix
// mode stay in their ranges.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gps/nmea_rx.h"
#include "host/gps/core/gpsd_stream.h"
#include "split_push.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    host::GpsdStream stream;
    const std::string out = push_in_two_reads(stream, data, size);
    if (out.size() > 2 * size + 2) std::abort(); // at most a CR per LF is added
    if (!out.empty() && out.back() != '\n') std::abort();
    for (size_t at = 0; at < out.size(); at = out.find('\n', at) + 1)
        if (out[at] == '{') std::abort();
    if (stream.devices() < -1 || stream.fix_mode() < -1 || stream.fix_mode() > 999) std::abort();
    ems::ComPort1RxChar(reinterpret_cast<const uint8_t*>(out.data()), out.size());
    return 0;
}
