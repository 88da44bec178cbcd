#include "system/platform.h"

namespace ems {
namespace {

// The defaults that serve every part nobody installed.
Clock null_clock;
CardStorage null_card;
Panel null_panel;
SerialEcho null_serial_echo;
HostInputs null_inputs;

Platform current;

template <typename Part>
Part& or_default(Part* part, Part& fallback)
{
    return part ? *part : fallback;
}

} // namespace

Clock& Platform::clock() const { return or_default(parts_.clock, null_clock); }
CardStorage& Platform::card() const { return or_default(parts_.card, null_card); }
Panel& Platform::panel() const { return or_default(parts_.panel, null_panel); }
SerialEcho& Platform::serial_echo() const { return or_default(parts_.serial_echo, null_serial_echo); }
HostInputs& Platform::inputs() const { return or_default(parts_.inputs, null_inputs); }

const Platform& platform() { return current; }
void set_platform(const PlatformParts& parts) { current = Platform(parts); }

} // namespace ems
