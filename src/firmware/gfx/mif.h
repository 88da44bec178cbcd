// MIF pictures: run-length coded palette images from the card, and pictures
// embedded in the firmware.
#pragma once
#include <cstdint>

namespace ems {

// Decodes a card picture into background_buffer with its top-left corner at
// (x, y). Returns false when the file is missing or not a MIF picture; what was
// decoded before an error stays in the buffer, nothing is written outside it.
bool load_mif_file(int16_t x, int16_t y, const char* path);

// Decodes an embedded picture into Framebuffer at (x, y), clipped at the edges.
void draw_image(int16_t x, int16_t y, const uint8_t* data);

void background_pixel(int16_t x, int16_t y, uint8_t colour);

} // namespace ems
