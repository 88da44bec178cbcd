// MIF decoding: one packet decoder fed either from a card file (through the
// 128-byte block buffer) or from memory, writing into background_buffer or
// through draw_pixel into Framebuffer.
#include "gfx/mif.h"

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "system/platform.h"

namespace ems {

static_assert(MIF_HEIGHT_OFFSET == MIF_WIDTH_OFFSET + 2 && MIF_HEADER_BYTES == MIF_HEIGHT_OFFSET + 2,
              "MIF header: width then height, 16 bits each");
static_assert(sizeof(MifReader::block) == 128, "card pictures are read in 128-byte blocks");

MifReader mif_reader;

namespace {

constexpr uint8_t RUN_FLAG = 0x80;
constexpr uint8_t COUNT_MASK = 0x7F;

inline uint16_t read_le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

inline bool in_frame(int x, int y)
{
    return unsigned(x) < unsigned(LCD_WIDTH) && unsigned(y) < unsigned(LCD_HEIGHT);
}

// Bytes of the open card file, refilling mif_reader.block whenever it has
// been used up. False at the end of the file (or on a read error).
struct CardSource {
    bool next(uint8_t& byte)
    {
        MifReader& r = mif_reader;
        if (r.used >= r.filled) {
            size_t got = platform().card().file_read(r.file, r.block, MIF_READ_BLOCK);
            r.filled = got > MIF_READ_BLOCK ? MIF_READ_BLOCK : got;
            r.used = 0;
            if (r.filled == 0) return false;
        }
        byte = r.block[r.used++];
        return true;
    }
};

// Bytes of a picture in memory; never past `end` when one is given.
struct MemorySource {
    const uint8_t* at;
    const uint8_t* end; // nullptr: the picture's own packets delimit it
    bool next(uint8_t& byte)
    {
        if (end && at >= end) return false;
        byte = *at++;
        return true;
    }
};

struct BackgroundSink {
    void operator()(int x, int y, uint8_t colour) const
    {
        if (in_frame(x, y)) background_buffer[y * LCD_WIDTH + x] = colour;
    }
};

struct ScreenSink {
    void operator()(int x, int y, uint8_t colour) const
    {
        // Positions beyond the 16-bit range would wrap; they are off the screen anyway.
        if (in_frame(x, y)) draw_pixel(int16_t(x), int16_t(y), colour);
    }
};

// Decodes the packets of a width x height picture with its top-left corner at
// (x, y). Each row takes whole packets until its column reaches the width.
// False when the source ran dry first; the pixels written so far stay.
template <class Source, class Sink>
bool decode_packets(Source& src, int width, int height, int x, int y, Sink sink)
{
    for (int row = 0; row < height; ++row) {
        const int py = y + row;
        int column = 0;
        do {
            uint8_t c;
            if (!src.next(c)) return false;
            const int count = c & COUNT_MASK;
            if (c & RUN_FLAG) {
                uint8_t colour;
                if (!src.next(colour)) return false;
                for (int i = 0; i < count; ++i) sink(x + column++, py, colour);
            } else {
                for (int i = 0; i < count; ++i) {
                    uint8_t colour;
                    if (!src.next(colour)) return false;
                    sink(x + column++, py, colour);
                }
            }
        } while (column < width);
    }
    return true;
}

} // namespace

void background_pixel(int16_t x, int16_t y, uint8_t colour)
{
    BackgroundSink{}(x, y, colour);
}

bool load_mif_file(int16_t x, int16_t y, const char* path)
{
    MifReader& r = mif_reader;
    r.file = platform().card().file_open(path, FileMode::Read);
    if (r.file < 0) {
        r.file = -1;
        return false;
    }
    r.used = r.filled = 0;

    bool complete = false;
    uint8_t header[MIF_HEADER_BYTES];
    if (platform().card().file_read(r.file, header, MIF_HEADER_BYTES) == MIF_HEADER_BYTES) {
        const int width = read_le16(header + MIF_WIDTH_OFFSET);
        const int height = read_le16(header + MIF_HEIGHT_OFFSET);
        if (width != 0 && width <= LCD_WIDTH && height != 0 && height <= LCD_HEIGHT) {
            CardSource src;
            complete = decode_packets(src, width, height, x, y, BackgroundSink{});
        }
    }
    platform().card().file_close(r.file);
    r.file = -1;
    return complete;
}

void draw_image(int16_t x, int16_t y, const uint8_t* data)
{
    if (!data) return;
    MemorySource src{data + MIF_HEADER_BYTES, nullptr};
    decode_packets(src, read_le16(data + MIF_WIDTH_OFFSET), read_le16(data + MIF_HEIGHT_OFFSET), x,
                   y, ScreenSink{});
}

bool draw_image(int16_t x, int16_t y, const uint8_t* data, size_t size)
{
    if (!data || size < MIF_HEADER_BYTES) return false;
    MemorySource src{data + MIF_HEADER_BYTES, data + size};
    return decode_packets(src, read_le16(data + MIF_WIDTH_OFFSET),
                          read_le16(data + MIF_HEIGHT_OFFSET), x, y, ScreenSink{});
}

} // namespace ems
