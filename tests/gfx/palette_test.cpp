// The fixed palette and its conversion for the presenter.
#include <gtest/gtest.h>
#include <cstdio>
#include <vector>

#include "gfx/framebuffer.h"
#include "gfx/palette.h"

namespace {

using ems::Palette;

TEST(Palette, BaseColoursAndNamedEntries)
{
    const uint32_t base[16] = {0x000000, 0xA52A2A, 0x008000, 0x504000, 0x000080, 0x500080, 0x008080, 0x555555,
                               0xAAAAAA, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(Palette[i], base[i]) << i;
    EXPECT_EQ(Palette[ems::COLOUR_RED], 0xFF0000u);
    EXPECT_EQ(Palette[ems::COLOUR_YELLOW], 0xFFFF00u);
    EXPECT_EQ(Palette[ems::COLOUR_SILVER], 0xC0C0C0u);
    EXPECT_EQ(Palette[ems::COLOUR_GREEN], 0x00FF00u);
    EXPECT_EQ(Palette[ems::COLOUR_MAGENTA], 0xFF00FFu);
    EXPECT_EQ(Palette[ems::COLOUR_CYAN], 0x00FFFFu);
    EXPECT_EQ(Palette[246], 0x0000FFu);
    EXPECT_EQ(Palette[253], 0x8B4513u);
    EXPECT_EQ(Palette[254], 0x008000u);
    EXPECT_EQ(Palette[255], 0x004F4Eu);
}

TEST(Palette, ColourCubeAndGreys)
{
    EXPECT_EQ(Palette[16], 0x000080u);
    EXPECT_EQ(Palette[17], 0x0000FFu);
    EXPECT_EQ(Palette[18], 0x004000u);
    EXPECT_EQ(Palette[223], 0xFFFF80u);
    // Every cube entry: red from the 14 levels, green from 5, blue from 3, blue fastest.
    const uint32_t reds[14] = {0x00, 0x14, 0x28, 0x3C, 0x50, 0x64, 0x78, 0x8C, 0xA0, 0xB4, 0xC8, 0xDC, 0xF0, 0xFF};
    std::vector<uint32_t> cube;
    for (uint32_t r : reds)
        for (uint32_t g : {0x00u, 0x40u, 0x80u, 0xC0u, 0xFFu})
            for (uint32_t b : {0x00u, 0x80u, 0xFFu}) cube.push_back(r << 16 | g << 8 | b);
    ASSERT_EQ(cube.size(), 210u);
    for (size_t i = 1; i < 209; ++i) EXPECT_EQ(Palette[15 + i], cube[i]) << "entry " << 15 + i;
    for (int i = 0; i < 14; ++i) {
        const uint32_t v = 0x20 + 0x10 * uint32_t(i);
        EXPECT_EQ(Palette[224 + i], v << 16 | v << 8 | v);
    }
    EXPECT_EQ(Palette[238], 0xC89696u);
    EXPECT_EQ(Palette[245], 0xFCFDFDu);
}

TEST(Palette, ConversionForThePresenter)
{
    std::vector<uint8_t> frame(ems::FRAME_BYTES, 0);
    frame[0] = 15;
    frame[ems::FRAME_BYTES - 1] = 247;
    std::vector<uint32_t> rgb(ems::FRAME_BYTES, 0x12345678u);
    ems::palette_to_rgb(frame.data(), rgb.data());
    EXPECT_EQ(rgb[0], 0xFFFFFFFFu);
    EXPECT_EQ(rgb[1], 0xFF000000u) << "index 0 is opaque black";
    EXPECT_EQ(rgb[ems::FRAME_BYTES - 1], 0xFFFF0000u);
}

// Every path the processor has gives the palette's pixels: every index at
// every position of a step, runs of one index (which wide paths fill at
// once) broken by one pixel at every position, and a ragged tail left alone.
TEST(Palette, EveryPathEveryIndexAtEveryPosition)
{
    std::vector<uint8_t> mixed(ems::FRAME_BYTES), runs(ems::FRAME_BYTES);
    for (size_t i = 0; i < ems::FRAME_BYTES; ++i) {
        mixed[i] = uint8_t(i + i / 256 * 3);
        const size_t block = i / 64;
        runs[i] = uint8_t(block * 5 ^ (i % 64 == block % 65 ? 0x80 : 0));
    }
    const size_t pixels = ems::FRAME_BYTES - 3;
    for (ems::PalettePath path : {ems::PalettePath::Plain, ems::PalettePath::Avx2, ems::PalettePath::Vbmi}) {
        if (!ems::palette_path_supported(path)) {
            std::printf("path %s: not on this processor\n", ems::palette_path_name(path));
            continue;
        }
        for (const std::vector<uint8_t>* frame : {&mixed, &runs}) {
            std::vector<uint32_t> out(ems::FRAME_BYTES, 0x12345678u);
            ems::palette_to_rgb_via(path, frame->data(), out.data(), pixels);
            for (size_t i = 0; i < ems::FRAME_BYTES; ++i)
                ASSERT_EQ(out[i], i < pixels ? 0xFF000000u | Palette[(*frame)[i]] : 0x12345678u)
                    << ems::palette_path_name(path) << (frame == &runs ? " runs" : " mixed") << " pixel " << i;
        }
    }
    std::vector<uint32_t> out(ems::FRAME_BYTES);
    ems::palette_to_rgb(mixed.data(), out.data());
    for (size_t i = 0; i < ems::FRAME_BYTES; ++i) ASSERT_EQ(out[i], 0xFF000000u | Palette[mixed[i]]) << i;
}

} // namespace
