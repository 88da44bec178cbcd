// png2mif: encodes a PNG (or any picture Qt reads) as a MIF picture in the
// instrument's palette.
//
//   png2mif [--strict] INPUT.png OUTPUT.mif
//
// Every pixel is mapped to a palette entry by mif::nearest_index (exact match
// first, then the red-mean distance). Pixels with alpha below 128 become black
// (0); partly transparent ones are first blended onto black. --strict refuses
// pictures with any pixel that is not exactly a palette colour, which is what
// the artwork generator produces.
#include <QImage>
#include <cstdio>
#include <cstring>
#include <vector>

#include "gfx/palette.h"
#include "mif_encode.h"

namespace {

uint32_t flatten(QRgb px)
{
    const int a = qAlpha(px);
    if (a < 128) return 0;
    if (a == 255) return px & 0xFFFFFFu;
    const auto blend = [a](int v) { return uint32_t((v * a + 127) / 255); };
    return blend(qRed(px)) << 16 | blend(qGreen(px)) << 8 | blend(qBlue(px));
}

int usage()
{
    std::fprintf(stderr, "usage: png2mif [--strict] INPUT.png OUTPUT.mif\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    bool strict = false;
    std::vector<const char*> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--strict") == 0)
            strict = true;
        else
            files.push_back(argv[i]);
    }
    if (files.size() != 2) return usage();

    QImage img;
    if (!img.load(QString::fromLocal8Bit(files[0]))) {
        std::fprintf(stderr, "png2mif: cannot read picture %s\n", files[0]);
        return 1;
    }
    if (img.width() > 0xFFFF || img.height() > 0xFFFF) {
        std::fprintf(stderr, "png2mif: %s is too large for MIF\n", files[0]);
        return 1;
    }
    img = img.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    std::vector<uint8_t> indices(size_t(w) * size_t(h));
    long inexact = 0;
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const uint32_t rgb = flatten(line[x]);
            const uint8_t idx = mif::nearest_index(rgb, ems::Palette);
            if ((ems::Palette[idx] & 0xFFFFFFu) != rgb) ++inexact;
            indices[size_t(y) * size_t(w) + size_t(x)] = idx;
        }
    }
    if (strict && inexact > 0) {
        std::fprintf(stderr, "png2mif: %s has %ld pixels outside the palette\n", files[0], inexact);
        return 1;
    }
    const std::vector<uint8_t> data = mif::encode(indices.data(), w, h);
    const mif::Check c = mif::check(data.data(), data.size());
    if (!c.ok) { // the encoder's own output must always pass
        std::fprintf(stderr, "png2mif: internal error: %.*s\n", int(c.error.size()), c.error.data());
        return 1;
    }
    std::FILE* f = std::fopen(files[1], "wb");
    if (!f) {
        std::fprintf(stderr, "png2mif: cannot write %s\n", files[1]);
        return 1;
    }
    const bool written = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    if (std::fclose(f) != 0 || !written) {
        std::fprintf(stderr, "png2mif: cannot write %s\n", files[1]);
        std::remove(files[1]);
        return 1;
    }
    std::printf("%s: %d x %d, %zu bytes%s\n", files[1], w, h, data.size(),
                inexact ? " (some colours approximated)" : "");
    return 0;
}
