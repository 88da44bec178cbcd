// Fuzzes the sensor-preset parser: any input is refused with a message or
// parsed; a parsed preset, written out again, parses to the same entries.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/inputs/core/sensor_preset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    host::SensorPreset preset;
    std::string error;
    if (!host::parse_sensor_preset(text, preset, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    // Names with line breaks or '=' cannot be written back; the parser never yields them.
    host::SensorPreset again;
    if (!host::parse_sensor_preset(host::format_sensor_preset(preset), again, error)) std::abort();
    if (again.entries.size() != preset.entries.size()) std::abort();
    for (size_t i = 0; i < preset.entries.size(); ++i)
        if (again.entries[i].tab != preset.entries[i].tab || again.entries[i].caption != preset.entries[i].caption ||
            again.entries[i].value != preset.entries[i].value)
            std::abort();
    return 0;
}
