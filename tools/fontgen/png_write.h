// A minimal PNG writer for the inspection sheets: 8-bit grey, stored
// (uncompressed) deflate blocks, so it needs no library.
#pragma once
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace fontgen {

inline uint32_t png_crc(const uint8_t* p, size_t n, uint32_t crc = 0xFFFFFFFFu)
{
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return crc;
}

// Writes a grey image (w x h, row-major), each pixel enlarged to scale x scale.
inline bool write_grey_png(const std::string& path, const std::vector<uint8_t>& img, int w, int h, int scale)
{
    const int sw = w * scale, sh = h * scale;
    std::vector<uint8_t> raw; // filter byte + row
    for (int y = 0; y < sh; ++y) {
        raw.push_back(0);
        for (int x = 0; x < sw; ++x) raw.push_back(img[size_t((y / scale) * w + x / scale)]);
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + n == raw.size();
        z.insert(z.end(), {uint8_t(last), uint8_t(n), uint8_t(n >> 8), uint8_t(~n), uint8_t(~n >> 8)});
        z.insert(z.end(), raw.begin() + long(pos), raw.begin() + long(pos + n));
        pos += n;
        if (last) break;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) a = (a + v) % 65521, b = (b + a) % 65521;
    const uint32_t adler = (b << 16) | a;
    z.insert(z.end(), {uint8_t(adler >> 24), uint8_t(adler >> 16), uint8_t(adler >> 8), uint8_t(adler)});

    std::ofstream f(path, std::ios::binary);
    auto be32 = [&](uint32_t v) {
        const char b4[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        f.write(b4, 4);
    };
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        be32(uint32_t(data.size()));
        std::vector<uint8_t> td(type, type + 4);
        td.insert(td.end(), data.begin(), data.end());
        f.write(reinterpret_cast<const char*>(td.data()), std::streamsize(td.size()));
        be32(png_crc(td.data(), td.size()) ^ 0xFFFFFFFFu);
    };
    f.write("\x89PNG\r\n\x1a\n", 8);
    chunk("IHDR", {uint8_t(sw >> 24), uint8_t(sw >> 16), uint8_t(sw >> 8), uint8_t(sw), uint8_t(sh >> 24),
                   uint8_t(sh >> 16), uint8_t(sh >> 8), uint8_t(sh), 8, 0, 0, 0, 0});
    chunk("IDAT", z);
    chunk("IEND", {});
    return bool(f);
}

} // namespace fontgen
