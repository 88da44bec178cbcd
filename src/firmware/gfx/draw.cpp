#include "gfx/draw.h"

#include <cstring>

#include "gfx/framebuffer.h"

namespace ems {

void clear_screen() { std::memset(Framebuffer, 0, FRAME_BYTES); }
void copy_background() { std::memcpy(Framebuffer, background_buffer, FRAME_BYTES); }
void clear_background() { std::memset(background_buffer, 0, FRAME_BYTES); }

} // namespace ems

namespace ems {

void draw_pixel(int16_t x, int16_t y, uint8_t colour)
{
    if (uint16_t(x) < LCD_WIDTH && uint16_t(y) < LCD_HEIGHT) Framebuffer[y * LCD_WIDTH + x] = colour;
}

} // namespace ems
