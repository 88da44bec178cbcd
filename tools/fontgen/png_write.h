// A minimal PNG encoder for the font previews: 8-bit grey, compressed with zlib.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <zlib.h>

namespace fontgen {

// The PNG file of a grey image (w x h, row-major), each pixel enlarged to
// scale x scale. Empty when compression fails.
inline std::string grey_png(const std::vector<uint8_t>& img, int w, int h, int scale)
{
    const int sw = w * scale, sh = h * scale;
    std::vector<uint8_t> raw; // filter byte + row
    raw.reserve(size_t(sh) * size_t(sw + 1));
    for (int y = 0; y < sh; ++y) {
        raw.push_back(0);
        for (int x = 0; x < sw; ++x) raw.push_back(img[size_t((y / scale) * w + x / scale)]);
    }
    uLongf zn = compressBound(uLong(raw.size()));
    std::vector<uint8_t> z(zn);
    if (compress2(z.data(), &zn, raw.data(), uLong(raw.size()), 9) != Z_OK) return {};
    z.resize(zn);

    std::string png = "\x89PNG\r\n\x1a\n";
    auto be32 = [](std::string& s, uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) s += char(uint8_t(v >> shift));
    };
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        be32(png, uint32_t(data.size()));
        std::string body(type, 4);
        body.append(data.begin(), data.end());
        png += body;
        be32(png, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
    };
    chunk("IHDR", {uint8_t(sw >> 24), uint8_t(sw >> 16), uint8_t(sw >> 8), uint8_t(sw), uint8_t(sh >> 24),
                   uint8_t(sh >> 16), uint8_t(sh >> 8), uint8_t(sh), 8, 0, 0, 0, 0});
    chunk("IDAT", z);
    chunk("IEND", {});
    return png;
}

} // namespace fontgen
