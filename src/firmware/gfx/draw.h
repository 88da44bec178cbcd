// Drawing primitives on the frame buffer. Coordinates are signed 16-bit
// (x 0..479 to the right, y 0..271 downward), colours palette indices.
// draw_pixel and everything drawn through it clip per pixel at the screen
// edges; a negative coordinate counts as off the screen. draw_hline,
// draw_vline, draw_rect and fill_rect expect on-screen coordinates; pixels
// given to them off the screen are dropped, never written elsewhere.
#pragma once
#include <cstdint>

namespace ems {

// One pixel; ignored unless 0 <= x < 480 and 0 <= y < 272.
void draw_pixel(int16_t x, int16_t y, uint8_t colour);
// Pixels x1..x2 (inclusive) of row y; nothing when x1 > x2.
void draw_hline(int16_t x1, int16_t x2, int16_t y, uint8_t colour);
// Pixels y1..y2 (inclusive) of column x; nothing when y1 > y2. The y values come first.
void draw_vline(int16_t y1, int16_t y2, int16_t x, uint8_t colour);
// Row y from x1 to x2: a 5-pixel dash, then groups of 6 blank and 4 drawn pixels,
// the pattern counted over on-screen pixels only.
void draw_hline_dashed(int16_t x1, int16_t x2, int16_t y, uint8_t colour);
// One-pixel Bresenham line, both end points included; diagonal step only when d > 0.
void draw_line(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour);
// The draw_line path with a five-pixel plus sign at every step.
void draw_thick_line(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour);
// Outline: left, top, right, bottom edge; nothing at all when y1 == y2.
void draw_rect(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour);
// Rows y1..y2, each from x1 to x2; nothing at all when y1 == y2.
void fill_rect(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour);
// Midpoint circle of radius r (r = 0: the centre pixel).
void draw_circle(int16_t xc, int16_t yc, int16_t r, uint8_t colour);
// One point per whole degree from a_from to a_to - 1 (-360..360, a_from < a_to;
// otherwise only the point at a_from). 0 degrees points right, 90 down.
void draw_arc(int16_t xc, int16_t yc, int16_t r, int16_t a_from, int16_t a_to, uint8_t colour);
// draw_arc mirrored left-right about xc, each point two pixels wide (x and x + 1).
void draw_arc_mirrored(int16_t xc, int16_t yc, int16_t r, int16_t a_from, int16_t a_to, uint8_t colour);
// Per degree a_from..a_to - 1 a thick radial stroke from radius r_outer inward by
// length; the strokes merge into a solid ring sector.
void draw_radial_band(int16_t xc, int16_t yc, int16_t length, int16_t r_outer, int16_t a_from,
                      int16_t a_to, uint8_t colour);
// draw_radial_band mirrored left-right about xc.
void draw_radial_band_mirrored(int16_t xc, int16_t yc, int16_t length, int16_t r_outer,
                               int16_t a_from, int16_t a_to, uint8_t colour);

void clear_screen();      // every Framebuffer byte = 0
void copy_background();   // Framebuffer = background_buffer
void clear_background();  // every background_buffer byte = 0

// Angle tables for whole degrees 0..360: sine and cosine of +d and of -d,
// single precision. All zero until build_trig_tables runs at power-on.
constexpr int TRIG_TABLE_SIZE = 361;
struct TrigTables {
    float sin_pos[TRIG_TABLE_SIZE]; // sin(+d)
    float sin_neg[TRIG_TABLE_SIZE]; // sin(-d)
    float cos_pos[TRIG_TABLE_SIZE]; // cos(+d)
    float cos_neg[TRIG_TABLE_SIZE]; // cos(-d)
};
extern TrigTables trig_tables;

// Fills trig_tables.
void build_trig_tables();
// Table value for a whole-degree angle. a in -360..360 reads the table directly
// (a < 0 the table of -d); angles beyond are first reduced by whole turns
// (a % 360, keeping the sign), so no read leaves the tables.
float sin_deg(int16_t a);
float cos_deg(int16_t a);

} // namespace ems
