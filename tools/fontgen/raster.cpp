#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace fontgen {
namespace {

// Box shown for codes without a character, in em units.
constexpr double BOX_ADVANCE = 0.62;
constexpr double BOX_TOP = 0.73;

bool is_digit(int code) { return code >= '0' && code <= '9'; }

// Sets the rendering size; x_em differs from em only for squeezed glyphs.
void set_size(FT_Face face, double x_em, double em)
{
    FT_Set_Char_Size(face, FT_F26Dot6(std::lround(x_em * 64)), FT_F26Dot6(std::lround(em * 64)), 72, 72);
}

// One rendered glyph: pixels 1 = ink, placed relative to the pen.
struct Raster {
    int width = 0, rows = 0, left = 0, top = 0, advance = 0;
    std::vector<uint8_t> px;
    bool at(int x, int y) const { return px[size_t(y * width + x)] != 0; }
};

// Renders one outline glyph at the current size. Letters and figures are
// rendered monochrome with the font's own TrueType hinting, which keeps stems
// whole pixels wide. A few detailed symbols come out of the hinting as blots at
// these sizes (the heads of the double arrow merge), so they are rendered
// unhinted with grey levels and cut at a threshold a little under half coverage.
bool render(FT_Face face, FT_UInt index, bool unhinted, Raster& r)
{
    constexpr int UNHINTED_THRESHOLD = 110;
    if (FT_Load_Glyph(face, index, unhinted ? FT_LOAD_NO_HINTING : FT_LOAD_TARGET_MONO)) return false;
    if (FT_Render_Glyph(face->glyph, unhinted ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO)) return false;
    const FT_GlyphSlot g = face->glyph;
    const FT_Bitmap& bm = g->bitmap;
    r.width = int(bm.width);
    r.rows = int(bm.rows);
    r.left = g->bitmap_left;
    r.top = g->bitmap_top;
    r.advance = int(std::lround(g->advance.x / 64.0));
    r.px.assign(size_t(r.width * r.rows), 0);
    for (int y = 0; y < r.rows; ++y) {
        const uint8_t* row = bm.buffer + y * bm.pitch;
        for (int x = 0; x < r.width; ++x)
            r.px[size_t(y * r.width + x)] = unhinted ? row[x] >= UNHINTED_THRESHOLD : (row[x / 8] >> (7 - x % 8)) & 1;
    }
    return true;
}

// Ink columns [a, b) of the rendered glyph; a == b when it is empty.
void ink_columns(const Raster& r, int& a, int& b)
{
    a = r.width;
    b = 0;
    for (int y = 0; y < r.rows; ++y)
        for (int x = 0; x < r.width; ++x)
            if (r.at(x, y)) {
                a = std::min(a, x);
                b = std::max(b, x + 1);
            }
    if (a >= b) a = b = 0;
}

void draw_box(const FontDesign& design, Cell& cell)
{
    const int w = cell.width;
    const int t = design.em >= 24 ? 2 : 1;
    const int bottom = design.baseline - 1;
    const int top = design.baseline - int(std::lround(BOX_TOP * design.em));
    for (int y = top; y <= bottom; ++y)
        for (int x = 1; x < w - 1; ++x) {
            const bool edge = y < top + t || y > bottom - t || x < 1 + t || x >= w - 1 - t;
            if (edge) cell.ink[size_t(y * w + x)] = 1;
        }
}

// Renders an outline glyph into its cell: the width change from the outline's
// own advance is shared between both sides; ink wider than the cell is
// rendered again with a narrower em until it fits.
void render_cell(FT_Face face, const FontDesign& design, Cell& cell, Font& font)
{
    const FT_UInt index = FT_Get_Char_Index(face, cell.unicode);
    const int w = cell.width;
    double x_em = design.em;
    for (int attempt = 0; attempt < 40; ++attempt) {
        set_size(face, x_em, design.em);
        Raster g;
        if (!render(face, index, render_unhinted(cell.unicode), g)) return;
        int a, b;
        ink_columns(g, a, b);
        const int ink_w = b - a;
        if (ink_w > w) {
            x_em *= double(w) / ink_w - 0.01;
            continue;
        }
        if (attempt > 0) {
            ++font.squeezed;
            std::printf("  font %d: code %d drawn narrower to fit width %d\n", design.size, cell.code, w);
        }
        const int advance = g.advance;
        int x0 = g.left + a + int(std::floor((w + 1 - advance) / 2.0));
        x0 = std::clamp(x0, 0, w - ink_w);
        const int y0 = design.baseline - g.top;
        for (int y = 0; y < g.rows; ++y)
            for (int x = a; x < b; ++x) {
                if (!g.at(x, y)) continue;
                const int cy = y0 + y;
                if (cy < 0 || cy >= design.height) {
                    ++font.clipped_rows;
                    continue;
                }
                cell.ink[size_t(cy * w + x0 + x - a)] = 1;
            }
        return;
    }
}

int total_units(const Font& font)
{
    int units = 0;
    for (const Cell& c : font.cells) units += (c.width + 7) / 8;
    return units;
}

// How much worse a width fits the outline's own advance than the current one,
// relative to the glyph's size; capitals and digits count double.
double move_cost(const Cell& c, int to)
{
    const double before = std::fabs(c.width + 1 - c.natural);
    const double after = std::fabs(to + 1 - c.natural);
    const bool prominent = (c.code >= 'A' && c.code <= 'Z') || is_digit(c.code);
    return (after - before) / std::max(c.natural, 1.0) * (prominent ? 2.0 : 1.0);
}

// Moves single glyphs across a byte boundary (the cheapest first) until the
// bitmaps take exactly `target` bytes per row.
bool fit_units(Font& font, int target)
{
    const FontDesign& design = *font.design;
    for (int units = total_units(font); units != target; units = total_units(font)) {
        const bool grow = units < target;
        Cell* best = nullptr;
        int best_to = 0;
        double best_cost = 1e9;
        for (Cell& c : font.cells) {
            if (c.fixed) continue;
            const int bytes = (c.width + 7) / 8;
            const int to = grow ? bytes * 8 + 1 : (bytes - 1) * 8;
            if (to < design.narrowest || to > design.widest || to < 1) continue;
            const double cost = move_cost(c, to);
            if (cost < best_cost) best = &c, best_to = to, best_cost = cost;
        }
        if (!best) return false;
        std::printf("  font %d: code %d width %d -> %d for the table size (outline %.2f)\n", design.size,
                    best->code, best->width, best_to, best->natural - 1);
        best->width = best_to;
    }
    return true;
}

} // namespace

bool build_font(FT_Face face, const FontDesign& design, Font& font, std::string& error)
{
    font.design = &design;
    font.cells.clear();
    set_size(face, design.em, design.em);
    for (int code = design.first; code <= design.last; ++code) {
        Cell c;
        c.code = code;
        c.unicode = code_to_unicode(code);
        if (c.unicode != EMPTY_BOX && FT_Get_Char_Index(face, c.unicode) == 0) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "U+%04X (code %d) is missing from the font", c.unicode, code);
            error = buf;
            return false;
        }
        if (c.unicode == EMPTY_BOX) {
            c.natural = BOX_ADVANCE * design.em;
        } else {
            FT_Load_Glyph(face, FT_Get_Char_Index(face, c.unicode), FT_LOAD_TARGET_MONO);
            c.natural = face->glyph->linearHoriAdvance / 65536.0;
        }
        c.width = std::clamp(int(std::lround(c.natural)) - 1, design.narrowest, design.widest);
        font.cells.push_back(c);
    }
    auto cell = [&](int code) -> Cell& { return font.cells[size_t(code - design.first)]; };
    auto fix = [&](int code, int width) {
        cell(code).width = width;
        cell(code).fixed = true;
    };
    for (int d = '0'; d <= '9'; ++d) fix(d, design.digit);
    fix('1', design.one);
    fix(' ', design.space);
    for (const auto& [code, width] : design.fixed) fix(code, width);

    // The narrowest and widest widths must both occur: the glyphs closest to
    // them take them when no glyph reaches them on its own.
    for (const bool widest : {false, true}) {
        const int limit = widest ? design.widest : design.narrowest;
        auto reached = std::any_of(font.cells.begin(), font.cells.end(),
                                   [&](const Cell& c) { return c.width == limit; });
        Cell* pick = nullptr;
        for (Cell& c : font.cells) {
            if (reached && c.width == limit && !pick) pick = &c;
            if (reached || c.fixed) continue;
            if (!pick || (widest ? c.natural > pick->natural : c.natural < pick->natural)) pick = &c;
        }
        if (!pick) {
            error = "no glyph can take the limit width";
            return false;
        }
        pick->width = limit;
        pick->fixed = true;
    }

    const int n = design.last - design.first + 1;
    const int bitmap_bytes = design.table_bytes - 8 - 4 * n;
    const int target = bitmap_bytes / design.height;
    if (!fit_units(font, target)) {
        error = "cannot fit the glyph widths to the table size";
        return false;
    }

    for (Cell& c : font.cells) {
        c.ink.assign(size_t(c.width * design.height), 0);
        if (c.unicode == EMPTY_BOX)
            draw_box(design, c);
        else if (c.code != ' ')
            render_cell(face, design, c, font);
    }
    return true;
}

} // namespace fontgen
