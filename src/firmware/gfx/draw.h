// Drawing primitives on the frame buffer. Coordinates are signed 16-bit,
// colours palette indices. draw_pixel and everything drawn through it clip at
// the screen edges; draw_hline, draw_vline, draw_rect and fill_rect expect
// on-screen coordinates but never write outside the buffer.
#pragma once
#include <cstdint>

namespace ems {

void draw_pixel(int16_t x, int16_t y, uint8_t colour);
void draw_hline(int16_t x1, int16_t x2, int16_t y, uint8_t colour);
void draw_vline(int16_t y1, int16_t y2, int16_t x, uint8_t colour);
void draw_hline_dashed(int16_t x1, int16_t x2, int16_t y, uint8_t colour);
void draw_line(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour);
void draw_thick_line(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour);
void draw_rect(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour);
void fill_rect(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour);
void draw_circle(int16_t xc, int16_t yc, int16_t r, uint8_t colour);
void draw_arc(int16_t xc, int16_t yc, int16_t r, int16_t a_from, int16_t a_to, uint8_t colour);
void draw_arc_mirrored(int16_t xc, int16_t yc, int16_t r, int16_t a_from, int16_t a_to, uint8_t colour);
void draw_radial_band(int16_t xc, int16_t yc, int16_t length, int16_t r_outer, int16_t a_from,
                      int16_t a_to, uint8_t colour);
void draw_radial_band_mirrored(int16_t xc, int16_t yc, int16_t length, int16_t r_outer,
                               int16_t a_from, int16_t a_to, uint8_t colour);

void clear_screen();      // every Framebuffer byte = 0
void copy_background();   // Framebuffer = background_buffer
void clear_background();  // every background_buffer byte = 0

// Angle tables for whole degrees, built at power-on.
void build_trig_tables();
float sin_deg(int16_t a); // a in -360..360
float cos_deg(int16_t a);

} // namespace ems
