// The seven proportional bitmap fonts of the LCD (sizes 6, 8, 9, 10, 12, 16, 20)
// and read access to their constant tables.
//
// Font table, one contiguous block per font (multi-byte fields little-endian):
//   offset 0  2 bytes   0
//   offset 2  2 bytes   first character code
//   offset 4  2 bytes   last character code
//   offset 6  1 byte    font tag, not used by text drawing (0 in fonts 8 and 10, 44..68 in the others)
//   offset 7  1 byte    glyph height in rows, the same for every glyph
//   offset 8  4 bytes per code from first to last: the character entry
//   then      the glyph bitmaps in code order, without gaps
// Character entry: byte 0 = offset bits 16..23, byte 1 = glyph width in pixels,
// byte 2 = offset bits 0..7, byte 3 = offset bits 8..15; the offset counts from
// the start of the block. Glyph bitmap: height rows from the top, each
// ceil(width / 8) bytes; the most significant bit is the leftmost pixel, a set
// bit is ink; bits beyond the width are clear.
//
// Fonts 8 and 10 hold codes 0..255: Windows-1252 from 32 up (0x80 euro sign,
// 0xB0 degree sign) and the symbols below. Codes without a character (0, 127,
// 0x81, 0x8D, 0x8F, 0x90, 0x9D) show an empty box. Fonts 6, 9, 12, 16 and 20
// hold printable ASCII, codes 32..127, with the empty box at 127.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ems {

// Table layout.
constexpr size_t FONT_OFFSET_FIRST = 2;  // first code, 16-bit
constexpr size_t FONT_OFFSET_LAST = 4;   // last code, 16-bit
constexpr size_t FONT_OFFSET_TAG = 6;    // unused by drawing
constexpr size_t FONT_OFFSET_HEIGHT = 7; // rows per glyph
constexpr size_t FONT_HEADER_BYTES = 8;  // the character table starts here
constexpr size_t FONT_ENTRY_BYTES = 4;   // one character entry
static_assert(FONT_OFFSET_HEIGHT + 1 == FONT_HEADER_BYTES, "header is 8 bytes");

// Size numbers of the seven fonts; any other size number selects font 8.
constexpr uint8_t FONT_SIZES[7] = {6, 8, 9, 10, 12, 16, 20};
constexpr uint8_t FONT_DEFAULT_SIZE = 8;

// Table sizes in bytes. Font 20 ends with 40 zero bytes after its last glyph
// (glyph data of 41 rows comes in multiples of 41 bytes).
constexpr size_t FONT_6_BYTES = 1820;
constexpr size_t FONT_8_BYTES = 6712;
constexpr size_t FONT_9_BYTES = 3527;
constexpr size_t FONT_10_BYTES = 10776;
constexpr size_t FONT_12_BYTES = 4496;
constexpr size_t FONT_16_BYTES = 7817;
constexpr size_t FONT_20_BYTES = 11912;

// The generated tables (src/firmware/gfx/fonts_generated/, made by tools/fontgen).
extern const uint8_t font_6_data[];
extern const uint8_t font_8_data[];
extern const uint8_t font_9_data[];
extern const uint8_t font_10_data[];
extern const uint8_t font_12_data[];
extern const uint8_t font_16_data[];
extern const uint8_t font_20_data[];

// Symbol codes below 32 in fonts 8 and 10 (use as "\x18" etc. in strings).
constexpr uint8_t CHAR_CHECK = 1;             // check mark
constexpr uint8_t CHAR_CROSS = 2;             // ballot cross
constexpr uint8_t CHAR_WARNING = 3;           // warning triangle with "!"
constexpr uint8_t CHAR_DIAMOND = 4;           // filled diamond
constexpr uint8_t CHAR_DISC = 5;              // filled circle
constexpr uint8_t CHAR_CIRCLE = 6;            // open circle
constexpr uint8_t CHAR_BULLET = 7;            // small bullet
constexpr uint8_t CHAR_SQUARE = 8;            // filled square
constexpr uint8_t CHAR_OPEN_SQUARE = 9;       // open square
constexpr uint8_t CHAR_OPEN_UP = 10;          // open triangle pointing up
constexpr uint8_t CHAR_OPEN_DOWN = 11;        // open triangle pointing down
constexpr uint8_t CHAR_ARROW_UP_RIGHT = 12;   // arrow up and right (rising)
constexpr uint8_t CHAR_ARROW_DOWN_RIGHT = 13; // arrow down and right (falling)
constexpr uint8_t CHAR_CLOCKWISE = 14;        // clockwise turn (knob +)
constexpr uint8_t CHAR_SUN = 15;              // sun
constexpr uint8_t CHAR_POINT_RIGHT = 16;      // triangle pointing right
constexpr uint8_t CHAR_POINT_LEFT = 17;       // triangle pointing left
constexpr uint8_t CHAR_ARROW_UP_DOWN = 18;    // arrow up and down
constexpr uint8_t CHAR_ANTICLOCKWISE = 19;    // anticlockwise turn (knob -)
constexpr uint8_t CHAR_MENU = 20;             // three bars (menu)
constexpr uint8_t CHAR_AIRCRAFT = 21;         // aeroplane
constexpr uint8_t CHAR_GEAR = 22;             // gear wheel (setup)
constexpr uint8_t CHAR_LIGHTNING = 23;        // lightning (electrical)
constexpr uint8_t CHAR_ARROW_UP = 24;         // arrow up
constexpr uint8_t CHAR_ARROW_DOWN = 25;       // arrow down
constexpr uint8_t CHAR_ARROW_RIGHT = 26;      // arrow right
constexpr uint8_t CHAR_ARROW_LEFT = 27;       // arrow left
constexpr uint8_t CHAR_SNOWFLAKE = 28;        // snowflake (icing)
constexpr uint8_t CHAR_ARROW_LEFT_RIGHT = 29; // arrow left and right
constexpr uint8_t CHAR_POINT_UP = 30;         // filled triangle pointing up
constexpr uint8_t CHAR_POINT_DOWN = 31;       // filled triangle pointing down
constexpr uint8_t CHAR_EURO = 0x80;           // euro sign
constexpr uint8_t CHAR_DEGREE = 0xB0;         // degree sign, as in "\xB0C"

// One glyph as stored in a table.
struct Glyph {
    const uint8_t* bits; // height rows of row_bytes bytes each
    uint8_t width;       // pixels; the text advances by width + 1
    uint8_t height;      // rows
    uint8_t row_bytes;   // ceil(width / 8)
    uint8_t ink_first;   // rows ink_first .. ink_end - 1 hold all the ink; the
    uint8_t ink_end;     //   others are blank (none at all: both 0)
};

// The table of a size number; sizes other than the seven select font 8.
const uint8_t* font_table(uint8_t size);

// Header fields of a table.
uint16_t font_first_code(const uint8_t* font);
uint16_t font_last_code(const uint8_t* font);
uint8_t font_height(const uint8_t* font);

// The glyph of a code; false (glyph untouched) when the code is outside the font's range.
bool font_glyph(const uint8_t* font, uint8_t code, Glyph& glyph);

// Width in pixels of a code's glyph; 0 when the code is outside the font's range.
uint8_t glyph_width(const uint8_t* font, uint8_t code);

// Sum of (width + 1) over the characters of a NUL-terminated string, skipping
// codes outside the font's range: the advance of the whole text in pixels.
int32_t text_advance(const uint8_t* font, const char* text);

} // namespace ems
