// Drawing primitives. Sections: whole-buffer operations, the clipped pixel
// writer, straight lines and rectangles, line paths, circles, arcs and bands.
//
// Internally coordinates are carried as int, so sums such as xc + dx never
// wrap around a 16-bit range back onto the screen; every pixel still passes
// the same on-screen test as draw_pixel.
#include "gfx/draw.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "gfx/framebuffer.h"

namespace ems {

// --- Whole-buffer operations -------------------------------------------------

void clear_screen() { std::memset(Framebuffer, 0, FRAME_BYTES); }
void copy_background() { std::memcpy(Framebuffer, background_buffer, FRAME_BYTES); }
void clear_background() { std::memset(background_buffer, 0, FRAME_BYTES); }

// --- The clipped pixel writer --------------------------------------------------

namespace {

inline bool on_screen(int x, int y)
{
    return unsigned(x) < unsigned(LCD_WIDTH) && unsigned(y) < unsigned(LCD_HEIGHT);
}

inline void plot(int x, int y, uint8_t colour)
{
    if (on_screen(x, y)) Framebuffer[y * LCD_WIDTH + x] = colour;
}

// n pixels of one colour from p, as overlapping 16-, 8-, 4- or 2-byte stores.
// The runs the pages fill are short (bar rows, box edges, pointer marks) or
// a box of a few hundred rows of about a hundred pixels; for either, a call
// to memset (or the string store a compiler puts in its place) costs more
// than the stores.
inline void fill_span(uint8_t* p, size_t n, uint8_t colour)
{
    const uint64_t fill = 0x0101010101010101ull * colour;
    if (n >= 16) {
        const uint64_t block[2] = {fill, fill};
        uint8_t* const last = p + n - 16;
        for (; p < last; p += 16) std::memcpy(p, block, 16);
        std::memcpy(last, block, 16);
    } else if (n >= 8) {
        std::memcpy(p, &fill, 8);
        std::memcpy(p + n - 8, &fill, 8);
    } else if (n >= 4) {
        std::memcpy(p, &fill, 4);
        std::memcpy(p + n - 4, &fill, 4);
    } else if (n >= 2) {
        std::memcpy(p, &fill, 2);
        std::memcpy(p + n - 2, &fill, 2);
    } else if (n == 1) {
        *p = colour;
    }
}

} // namespace

void draw_pixel(int16_t x, int16_t y, uint8_t colour) { plot(x, y, colour); }

// --- Straight lines and rectangles ---------------------------------------------

void draw_hline(int16_t x1, int16_t x2, int16_t y, uint8_t colour)
{
    if (x1 > x2 || unsigned(y) >= unsigned(LCD_HEIGHT)) return;
    const int lo = std::max<int>(x1, 0);
    const int hi = std::min<int>(x2, LCD_WIDTH - 1);
    if (lo > hi) return;
    fill_span(Framebuffer + y * LCD_WIDTH + lo, size_t(hi - lo + 1), colour);
}

void draw_vline(int16_t y1, int16_t y2, int16_t x, uint8_t colour)
{
    if (y1 > y2 || unsigned(x) >= unsigned(LCD_WIDTH)) return;
    const int lo = std::max<int>(y1, 0);
    const int hi = std::min<int>(y2, LCD_HEIGHT - 1);
    for (int y = lo; y <= hi; ++y) Framebuffer[y * LCD_WIDTH + x] = colour;
}

void draw_hline_dashed(int16_t x1, int16_t x2, int16_t y, uint8_t colour)
{
    if (unsigned(y) >= unsigned(LCD_HEIGHT)) return;
    // Off-screen pixels neither draw nor advance the pattern, so only the
    // on-screen part of the row is walked.
    const int lo = std::max<int>(x1, 0);
    const int hi = std::min<int>(x2, LCD_WIDTH - 1);
    uint8_t* row = Framebuffer + y * LCD_WIDTH;
    int k = 0;
    for (int x = lo; x <= hi; ++x) {
        if (k < 5) row[x] = colour;
        if (k >= 10) k = 0;
        ++k;
    }
}

void draw_rect(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour)
{
    if (y1 == y2) return;
    draw_vline(y1, y2, x1, colour);
    draw_hline(x1, x2, y1, colour);
    draw_vline(y1, y2, x2, colour);
    draw_hline(x1, x2, y2, colour);
}

void fill_rect(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour)
{
    if (y1 == y2 || x1 > x2) return;
    const int top = std::max<int>(y1, 0);
    const int bottom = std::min<int>(y2, LCD_HEIGHT - 1);
    const int left = std::max<int>(x1, 0);
    const int right = std::min<int>(x2, LCD_WIDTH - 1);
    if (left > right) return;
    uint8_t* row = Framebuffer + top * LCD_WIDTH + left;
    for (int y = top; y <= bottom; ++y, row += LCD_WIDTH) fill_span(row, size_t(right - left + 1), colour);
}

// --- Line paths ------------------------------------------------------------------

namespace {

// Plots the five-pixel plus sign of a thick line step.
inline void plot_plus(int x, int y, uint8_t colour)
{
    plot(x, y, colour);
    plot(x - 1, y, colour);
    plot(x + 1, y, colour);
    plot(x, y - 1, colour);
    plot(x, y + 1, colour);
}

// Bresenham from (x1, y1) to (x2, y2), both ends included; a step goes
// diagonal only while the decision value is strictly positive.
template <bool THICK>
void line_path(int x1, int y1, int x2, int y2, uint8_t colour)
{
    // A path stays inside the box of its end points; a thick one reaches one
    // pixel beyond. Nothing of a path wholly off one side can show.
    const int m = THICK ? 1 : 0;
    if (std::max(x1, x2) < -m || std::min(x1, x2) >= LCD_WIDTH + m || std::max(y1, y2) < -m ||
        std::min(y1, y2) >= LCD_HEIGHT + m)
        return;

    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int sx = x1 > x2 ? -1 : 1, sy = y1 > y2 ? -1 : 1;
    int x = x1, y = y1;
    if (dx >= dy) {
        int d = 2 * dy - dx;
        for (int i = 0; i <= dx; ++i) {
            if (THICK) plot_plus(x, y, colour); else plot(x, y, colour);
            if (d > 0) {
                x += sx;
                y += sy;
                d += 2 * dy - 2 * dx;
            } else {
                x += sx;
                d += 2 * dy;
            }
        }
    } else {
        int d = 2 * dx - dy;
        for (int i = 0; i <= dy; ++i) {
            if (THICK) plot_plus(x, y, colour); else plot(x, y, colour);
            if (d > 0) {
                x += sx;
                y += sy;
                d += 2 * dx - 2 * dy;
            } else {
                y += sy;
                d += 2 * dx;
            }
        }
    }
}

} // namespace

void draw_line(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour)
{
    line_path<false>(x1, y1, x2, y2, colour);
}

void draw_thick_line(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour)
{
    line_path<true>(x1, y1, x2, y2, colour);
}

// --- Circles, arcs and bands -------------------------------------------------------

namespace {

void plot_symmetric(int xc, int yc, int x, int y, uint8_t colour)
{
    if (x == 0) {
        plot(xc, yc + y, colour);
        plot(xc, yc - y, colour);
        plot(xc + y, yc, colour);
        plot(xc - y, yc, colour);
    } else if (x == y) {
        plot(xc + x, yc + y, colour);
        plot(xc - x, yc + y, colour);
        plot(xc + x, yc - y, colour);
        plot(xc - x, yc - y, colour);
    } else if (x < y) {
        plot(xc + x, yc + y, colour);
        plot(xc - x, yc + y, colour);
        plot(xc + x, yc - y, colour);
        plot(xc - x, yc - y, colour);
        plot(xc + y, yc + x, colour);
        plot(xc - y, yc + x, colour);
        plot(xc + y, yc - x, colour);
        plot(xc - y, yc - x, colour);
    }
}

// Offset of the point at angle a and radius r from the centre, each part
// truncated toward zero (single-precision product, as on the unit).
inline int offset_x(int a, int r) { return int(cos_deg(int16_t(a)) * float(r)); }
inline int offset_y(int a, int r) { return int(sin_deg(int16_t(a)) * float(r)); }

// One point per degree a_from .. a_to - 1; at least the point at a_from.
// mirror = -1 reflects the x offsets about xc; wide adds the pixel at x + 1.
void arc(int xc, int yc, int r, int a_from, int a_to, int mirror, bool wide, uint8_t colour)
{
    int a = a_from;
    do {
        const int px = xc + mirror * offset_x(a, r);
        const int py = yc + offset_y(a, r);
        plot(px, py, colour);
        if (wide) plot(px + 1, py, colour);
        ++a;
    } while (a < a_to);
}

void radial_band(int xc, int yc, int length, int r_outer, int a_from, int a_to, int mirror,
                 uint8_t colour)
{
    const int r_inner = r_outer - length;
    int a = a_from;
    do {
        const int px = xc + mirror * offset_x(a, r_outer);
        const int py = yc + offset_y(a, r_outer);
        const int qx = xc + mirror * offset_x(a, r_inner);
        const int qy = yc + offset_y(a, r_inner);
        line_path<true>(px, py, qx, qy, colour);
        plot(px, py, colour);
        ++a;
    } while (a < a_to);
}

} // namespace

void draw_circle(int16_t xc, int16_t yc, int16_t r, uint8_t colour)
{
    int x = 0, y = r;
    int p = (5 - 4 * int(r)) / 4;
    plot_symmetric(xc, yc, x, y, colour);
    while (x < y) {
        ++x;
        if (p < 0) {
            p += 2 * x + 1;
        } else {
            --y;
            p += 2 * (x - y) + 1;
        }
        plot_symmetric(xc, yc, x, y, colour);
    }
}

void draw_arc(int16_t xc, int16_t yc, int16_t r, int16_t a_from, int16_t a_to, uint8_t colour)
{
    arc(xc, yc, r, a_from, a_to, 1, false, colour);
}

void draw_arc_mirrored(int16_t xc, int16_t yc, int16_t r, int16_t a_from, int16_t a_to, uint8_t colour)
{
    arc(xc, yc, r, a_from, a_to, -1, true, colour);
}

void draw_radial_band(int16_t xc, int16_t yc, int16_t length, int16_t r_outer, int16_t a_from,
                      int16_t a_to, uint8_t colour)
{
    radial_band(xc, yc, length, r_outer, a_from, a_to, 1, colour);
}

void draw_radial_band_mirrored(int16_t xc, int16_t yc, int16_t length, int16_t r_outer,
                               int16_t a_from, int16_t a_to, uint8_t colour)
{
    radial_band(xc, yc, length, r_outer, a_from, a_to, -1, colour);
}

} // namespace ems
