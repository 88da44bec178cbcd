// MIF encoding: palette matching and the run/literal packet coder, free of any
// toolkit so that the tests can call it directly. Header only.
//
// MIF stream: width, height (16-bit little-endian each), then packets row by
// row. A control byte c >= 0x80 is a run of (c & 0x7F) copies of the next
// byte; c < 0x80 is a literal of the next c bytes. Packets written here hold
// 1..127 pixels and never cross a row end.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace mif {

constexpr int MAX_PACKET = 127; // pixels per packet (7-bit count)

// Distance between two 0x00RRGGBB colours: the "red-mean" weighted squared
// RGB distance, ((512 + rm) dR^2 >> 8) + 4 dG^2 + ((767 - rm) dB^2 >> 8) with
// rm the mean of the two red values. Cheap, integer, and closer to what the
// eye sees than plain RGB distance (reds weigh more in bright colours, blues
// more in dark ones). 0 only for identical colours.
inline uint32_t colour_distance(uint32_t a, uint32_t b)
{
    const int ra = int(a >> 16 & 0xFF), ga = int(a >> 8 & 0xFF), ba = int(a & 0xFF);
    const int rb = int(b >> 16 & 0xFF), gb = int(b >> 8 & 0xFF), bb = int(b & 0xFF);
    const int rm = (ra + rb) / 2;
    const int dr = ra - rb, dg = ga - gb, db = ba - bb;
    return uint32_t(((512 + rm) * dr * dr >> 8) + 4 * dg * dg + ((767 - rm) * db * db >> 8));
}

// True for a grey: channels at most `spread` apart.
inline bool is_neutral(uint32_t rgb, int spread)
{
    const int r = int(rgb >> 16 & 0xFF), g = int(rgb >> 8 & 0xFF), b = int(rgb & 0xFF);
    const int hi = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int lo = r < g ? (r < b ? r : b) : (g < b ? g : b);
    return hi - lo <= spread;
}

// The palette index for a colour 0x00RRGGBB.
// - An exact match wins. Several colours appear twice (red 9 and 247, green
//   10 and 252, ...); the highest index is taken, which is the entry the
//   screens use by number. Black exists only as 0 and white only as 15.
// - A grey (channels at most 8 apart, e.g. an antialiased edge on black) is
//   matched among the grey entries only (0, 7, 8, 15, 224..237, 250), so dark
//   greys become black or grey and never a dark tinted cube colour.
// - Otherwise the entry at the smallest colour_distance; on a tie the lowest
//   index, so a colour half-way between black and an entry falls to 0.
inline uint8_t nearest_index(uint32_t rgb, const std::array<uint32_t, 256>& palette)
{
    rgb &= 0xFFFFFFu;
    for (int i = 255; i >= 0; --i)
        if ((palette[size_t(i)] & 0xFFFFFFu) == rgb) return uint8_t(i);
    const bool grey = is_neutral(rgb, 8);
    uint32_t best = UINT32_MAX;
    uint8_t best_index = 0;
    for (int i = 0; i < 256; ++i) {
        const uint32_t entry = palette[size_t(i)] & 0xFFFFFFu;
        if (grey && !is_neutral(entry, 0)) continue;
        const uint32_t d = colour_distance(rgb, entry);
        if (d < best) {
            best = d;
            best_index = uint8_t(i);
        }
    }
    return best_index;
}

// Appends the packets of one row with the fewest bytes (and, among those, the
// fewest packets): a run costs 2 bytes, a literal of n pixels 1 + n.
inline void encode_row(const uint8_t* row, int width, std::vector<uint8_t>& out)
{
    if (width <= 0) return;
    struct Step {
        uint32_t bytes = UINT32_MAX, packets = 0;
        int16_t length = 0; // pixels of the last packet; > 0 run, < 0 literal
    };
    std::vector<Step> best(size_t(width) + 1);
    best[0].bytes = 0;
    auto better = [](uint32_t b, uint32_t p, const Step& s) {
        return b < s.bytes || (b == s.bytes && p < s.packets);
    };
    for (int end = 1; end <= width; ++end) {
        Step& s = best[size_t(end)];
        // Runs: every length over which the pixels ending at `end` are equal.
        for (int len = 1; len <= MAX_PACKET && len <= end; ++len) {
            if (row[end - len] != row[end - 1]) break;
            const Step& from = best[size_t(end - len)];
            if (better(from.bytes + 2, from.packets + 1, s))
                s = {from.bytes + 2, from.packets + 1, int16_t(len)};
        }
        for (int len = 1; len <= MAX_PACKET && len <= end; ++len) {
            const Step& from = best[size_t(end - len)];
            const uint32_t b = from.bytes + 1 + uint32_t(len);
            if (better(b, from.packets + 1, s)) s = {b, from.packets + 1, int16_t(-len)};
        }
    }
    std::vector<int16_t> packets;
    for (int pos = width; pos > 0;) {
        const int16_t len = best[size_t(pos)].length;
        packets.push_back(len);
        pos -= len > 0 ? len : -len;
    }
    int pos = 0;
    for (auto it = packets.rbegin(); it != packets.rend(); ++it) {
        if (*it > 0) {
            out.push_back(uint8_t(0x80 | *it));
            out.push_back(row[pos]);
            pos += *it;
        } else {
            out.push_back(uint8_t(-*it));
            out.insert(out.end(), row + pos, row + pos - *it);
            pos -= *it;
        }
    }
}

// A whole picture of palette indices (row-major, width x height) as a MIF
// stream. Width and height must be 1..65535; returns an empty vector otherwise.
inline std::vector<uint8_t> encode(const uint8_t* pixels, int width, int height)
{
    std::vector<uint8_t> out;
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return out;
    out = {uint8_t(width & 0xFF), uint8_t(width >> 8), uint8_t(height & 0xFF), uint8_t(height >> 8)};
    for (int y = 0; y < height; ++y) encode_row(pixels + size_t(y) * size_t(width), width, out);
    return out;
}

// What a check of a MIF stream found.
struct Check {
    bool ok = false;        // header sane, every row complete, no byte left over
    int width = 0, height = 0;
    std::string_view error; // why not ok (a constant text)
};

// Walks a stream as the firmware decodes it and reports whether it is a
// well-formed picture: every row filled exactly (no packet past the row end),
// no packet past the data, and the data ending with the last row. When
// `pixels` is given (width x height bytes) the decoded indices go there.
inline Check check(const uint8_t* data, size_t size, uint8_t* pixels = nullptr)
{
    Check c;
    if (size < 4) return c.error = "shorter than its header", c;
    c.width = data[0] | data[1] << 8;
    c.height = data[2] | data[3] << 8;
    if (c.width == 0 || c.height == 0) return c.error = "empty picture", c;
    size_t at = 4;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width;) {
            if (at >= size) return c.error = "data ends inside the picture", c;
            const uint8_t ctl = data[at++];
            const int n = ctl & 0x7F;
            if (n == 0) return c.error = "packet of length 0", c;
            if (x + n > c.width) return c.error = "packet runs past the row end", c;
            const size_t need = ctl >= 0x80 ? 1 : size_t(n);
            if (size - at < need) return c.error = "packet runs past the data", c;
            for (int i = 0; i < n; ++i) {
                const uint8_t v = ctl >= 0x80 ? data[at] : data[at + size_t(i)];
                if (pixels) pixels[size_t(y) * size_t(c.width) + size_t(x + i)] = v;
            }
            at += need;
            x += n;
        }
    if (at != size) return c.error = "bytes left after the last row", c;
    c.ok = true;
    return c;
}

} // namespace mif
