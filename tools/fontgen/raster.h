// Rendering the outline font into the fixed-height glyph cells of one LCD font.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "font_targets.h"

namespace fontgen {

struct Cell {
    int code = 0;
    uint32_t unicode = 0;   // EMPTY_BOX for the drawn box
    double natural = 0;     // the outline's own advance in pixels at the font's em
    int width = 0;          // chosen glyph width in pixels
    bool fixed = false;     // width prescribed, not to be moved by fitting
    std::vector<uint8_t> ink; // height x width, 1 = ink
};

struct Font {
    const FontDesign* design = nullptr;
    std::vector<Cell> cells; // one per code from first to last
    int clipped_rows = 0;    // ink rows that fell outside the cell (reported)
    int squeezed = 0;        // glyphs rendered narrower to fit their cell
};

// Table bytes one glyph of this width takes.
inline int glyph_bytes(int width, int height) { return (width + 7) / 8 * height; }

// Chooses every width of a font (prescribed widths, limits, table size) and
// renders the glyphs. Returns false with a message when the metrics cannot be met.
bool build_font(FT_Face face, const FontDesign& design, Font& font, std::string& error);

} // namespace fontgen
