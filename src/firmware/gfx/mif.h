// MIF pictures: run-length coded palette images from the card, and pictures
// embedded in the firmware.
//
// Stream layout (all pictures):
//   offset 0  width,  16-bit little-endian, pixels
//   offset 2  height, 16-bit little-endian, pixels
//   offset 4  packets, row after row from the top. Control byte c:
//             c >= 0x80  run: the next byte is a palette index, repeated c & 0x7F times
//             c <  0x80  literal: the next c bytes are palette indices
//   A row takes packets until its column count reaches the width; a packet is
//   not split at the row end (its excess lands beyond the width on the same row).
#pragma once
#include <cstddef>
#include <cstdint>

namespace ems {

constexpr size_t MIF_WIDTH_OFFSET = 0;
constexpr size_t MIF_HEIGHT_OFFSET = 2;
constexpr size_t MIF_HEADER_BYTES = 4;  // packets start here
constexpr size_t MIF_READ_BLOCK = 128;  // card reads go through one buffer of this size

// The card reader's state: one static block buffer and the open file.
struct MifReader {
    uint8_t block[MIF_READ_BLOCK]; // bytes of the file read last
    size_t used = 0;               // bytes of block already taken
    size_t filled = 0;             // valid bytes in block (short at the end of the file)
    int file = -1;                 // platform file handle, -1 when none is open
};
extern MifReader mif_reader;

// Decodes a card picture into background_buffer with its top-left corner at
// (x, y). Returns true when the whole picture was decoded. Returns false, with
// the buffer untouched, when the file is missing or its header is short or
// gives a width of 0 or above 480 or a height of 0 or above 272; returns false
// when the data end before the picture is complete, keeping what was decoded.
// Pixels that fall off the buffer are dropped.
bool load_mif_file(int16_t x, int16_t y, const char* path);

// Decodes an embedded picture into Framebuffer at (x, y) through draw_pixel,
// so it is clipped at the edges. The picture must be complete (compiled-in data).
void draw_image(int16_t x, int16_t y, const uint8_t* data);
// The same for a picture of `size` bytes from anywhere: decoding stops at the
// end of the data and never reads beyond it. False when the data ended early.
bool draw_image(int16_t x, int16_t y, const uint8_t* data, size_t size);

// Writes one background_buffer pixel at y * 480 + x; dropped unless
// 0 <= x < 480 and 0 <= y < 272.
void background_pixel(int16_t x, int16_t y, uint8_t colour);

} // namespace ems
