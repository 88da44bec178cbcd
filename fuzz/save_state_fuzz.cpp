// Fuzzes the save-state reader: any input is refused with a message or read
// whole; a state read, written out again, reads back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/state/core/save_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    host::SaveState state;
    std::string error;
    if (!host::decode_save_state(bytes, state, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    const std::string again = host::encode_save_state(state);
    host::SaveState back;
    if (!host::decode_save_state(again, back, error)) std::abort();
    if (host::encode_save_state(back) != again) std::abort();
    return 0;
}
