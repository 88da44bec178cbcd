#include "gfx/framebuffer.h"

namespace ems {

alignas(64) uint8_t Framebuffer[FRAME_BYTES];
uint8_t background_buffer[FRAME_BYTES];

} // namespace ems
