// What each of the seven LCD fonts must measure, and which character each code shows.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

namespace fontgen {

struct FontDesign {
    int size;         // size number used by draw_text
    double em;        // pixel size of the em the outlines are rendered at
    int height;       // rows per glyph cell
    int baseline;     // rows above the baseline
    int first, last;  // code range
    int narrowest;    // smallest glyph width
    int widest;       // largest glyph width
    int digit;        // width of every digit
    int one;          // width of the digit 1
    int space;        // width of the space
    int table_bytes;  // size of the whole table
    int tag;          // header byte 6
    std::vector<std::pair<int, int>> fixed; // further (code, width) pairs that must hold
};

// The seven fonts in size order.
const std::vector<FontDesign>& font_targets();

// Unicode code point shown for a code (Windows-1252 from 32, symbols below);
// 0 means the empty box.
uint32_t code_to_unicode(int code);

// Symbols whose hinted rendering is a blot at these sizes; drawn unhinted.
bool render_unhinted(uint32_t unicode);

// Unicode code points not taken from the outline font but drawn by the
// generator at a chosen width (the empty box).
constexpr uint32_t EMPTY_BOX = 0;

} // namespace fontgen
