#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/mif.h"
#include "support/fake_platform.h"

using namespace ems;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t FILL = 7; // what the background holds before a load

Bytes header(int width, int height)
{
    return {uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8)};
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class Mif : public ::testing::Test {
protected:
    test::FakePlatform card;

    void SetUp() override { std::memset(background_buffer, FILL, FRAME_BYTES); }

    // Writes SDCARD/NAME and returns its card path.
    std::string put(const std::string& name, const Bytes& bytes)
    {
        std::ofstream(card.card() / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return "SDCARD\\" + name;
    }

    static uint8_t bg(int x, int y) { return background_buffer[y * LCD_WIDTH + x]; }

    // Number of background pixels no longer holding FILL.
    static size_t changed()
    {
        size_t n = 0;
        for (size_t i = 0; i < FRAME_BYTES; ++i) n += background_buffer[i] != FILL;
        return n;
    }
};

} // namespace

TEST_F(Mif, RunAndLiteralGiveTheSamePixels)
{
    EXPECT_TRUE(load_mif_file(0, 0, put("RUN.MIF", {0x02, 0x00, 0x01, 0x00, 0x82, 0x0F}).c_str()));
    EXPECT_EQ(bg(0, 0), 15);
    EXPECT_EQ(bg(1, 0), 15);
    EXPECT_EQ(changed(), 2u);

    std::memset(background_buffer, FILL, FRAME_BYTES);
    EXPECT_TRUE(load_mif_file(0, 0, put("LIT.MIF", {0x02, 0x00, 0x01, 0x00, 0x02, 0x0F, 0x0F}).c_str()));
    EXPECT_EQ(bg(0, 0), 15);
    EXPECT_EQ(bg(1, 0), 15);
    EXPECT_EQ(changed(), 2u);
    EXPECT_EQ(mif_reader.file, -1); // closed again
}

TEST_F(Mif, RowsTakeWholePacketsAndEmptyPacketsWriteNothing)
{
    // 3 x 2: row 0 is one run of 5 (two pixels past the width), row 1 a
    // literal of 2 then a run of 1. Index 0 paints black like any other.
    const Bytes pic = header(3, 2) + Bytes{0x85, 0x09, 0x02, 0x01, 0x00, 0x81, 0x03};
    EXPECT_TRUE(load_mif_file(10, 20, put("ROWS.MIF", pic).c_str()));
    for (int c = 0; c < 5; ++c) EXPECT_EQ(bg(10 + c, 20), 9) << c;
    EXPECT_EQ(bg(10, 21), 1);
    EXPECT_EQ(bg(11, 21), 0);
    EXPECT_EQ(bg(12, 21), 3);
    EXPECT_EQ(changed(), 8u);

    // A 3 x 1 picture whose first packet is a run of 5 ends after it.
    std::memset(background_buffer, FILL, FRAME_BYTES);
    EXPECT_TRUE(load_mif_file(0, 0, put("R5.MIF", header(3, 1) + Bytes{0x85, 0x0C}).c_str()));
    EXPECT_EQ(changed(), 5u);
    EXPECT_EQ(bg(4, 0), 0x0C);

    // Literal of 0, run of 0 (its colour byte is still taken), then the pixel.
    std::memset(background_buffer, FILL, FRAME_BYTES);
    EXPECT_TRUE(load_mif_file(0, 0, put("ZERO.MIF", header(1, 1) + Bytes{0, 0x80, 9, 0x81, 5}).c_str()));
    EXPECT_EQ(bg(0, 0), 5);
    EXPECT_EQ(changed(), 1u);
}

TEST_F(Mif, BadHeadersAndMissingFilesLeaveTheBufferAlone)
{
    const Bytes body = {0x85, 0x0F};
    for (const auto& [w, h] : {std::pair{481, 10}, {10, 0}, {0, 10}, {480, 273}, {65535, 65535}}) {
        EXPECT_FALSE(load_mif_file(0, 0, put("BAD.MIF", header(w, h) + body).c_str())) << w << "x" << h;
    }
    EXPECT_FALSE(load_mif_file(0, 0, put("SHORT.MIF", {0x02, 0x00, 0x01}).c_str()));
    EXPECT_FALSE(load_mif_file(0, 0, put("EMPTY.MIF", {}).c_str()));
    EXPECT_FALSE(load_mif_file(0, 0, "SDCARD\\SPLASH.MIF"));
    EXPECT_FALSE(load_mif_file(0, 0, "SDCARD\\..\\..\\etc\\passwd"));
    EXPECT_FALSE(load_mif_file(0, 0, nullptr));
    EXPECT_EQ(changed(), 0u);
    EXPECT_EQ(mif_reader.file, -1);
}

TEST_F(Mif, TruncatedDataKeepsWhatWasDecoded)
{
    // 4 x 2 with only row 0 present.
    EXPECT_FALSE(load_mif_file(0, 0, put("T1.MIF", header(4, 2) + Bytes{0x84, 0x02}).c_str()));
    EXPECT_EQ(changed(), 4u);
    EXPECT_EQ(bg(0, 1), FILL);

    // Ends inside a literal: the bytes that are there are written.
    std::memset(background_buffer, FILL, FRAME_BYTES);
    EXPECT_FALSE(load_mif_file(0, 0, put("T2.MIF", header(4, 1) + Bytes{0x04, 0x01, 0x02}).c_str()));
    EXPECT_EQ(bg(0, 0), 1);
    EXPECT_EQ(bg(1, 0), 2);
    EXPECT_EQ(changed(), 2u);

    // Ends after a run's control byte.
    std::memset(background_buffer, FILL, FRAME_BYTES);
    EXPECT_FALSE(load_mif_file(0, 0, put("T3.MIF", header(4, 1) + Bytes{0x84}).c_str()));
    EXPECT_EQ(changed(), 0u);
    EXPECT_EQ(mif_reader.file, -1);
}

TEST_F(Mif, FullScreenPictureAcrossManyReadBlocks)
{
    // Each row: literals of 100, 100, 100 and 111 bytes (packets straddle the
    // 128-byte blocks), then a run of 69 ending exactly at the width.
    Bytes pic = header(480, 272);
    auto colour = [](int x, int y) { return uint8_t((x * 3 + y * 7) % 251 + 1); };
    for (int y = 0; y < 272; ++y) {
        int x = 0;
        for (int len : {100, 100, 100, 111}) {
            pic.push_back(uint8_t(len));
            for (int i = 0; i < len; ++i) pic.push_back(colour(x++, y));
        }
        pic.push_back(0x80 | 69);
        pic.push_back(colour(x, y));
    }
    ASSERT_TRUE(load_mif_file(0, 0, put("FULL.MIF", pic).c_str()));
    int wrong = 0;
    for (int y = 0; y < 272; ++y)
        for (int x = 0; x < 480; ++x) {
            const uint8_t want = x < 411 ? colour(x, y) : colour(411, y);
            wrong += bg(x, y) != want;
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(Mif, PacketsPastTheEdgeAreDroppedNotWrapped)
{
    // A full-width row whose last run reaches 28 pixels beyond column 479;
    // row 1 must start clean and the buffer must not be overrun.
    const Bytes pic = header(480, 2) + Bytes{0xFF, 0x01, 0xFF, 0x01, 0xFF, 0x01, 0xFF, 0x01} +
                      Bytes{0xFF, 0x02, 0xFF, 0x02, 0xFF, 0x02, 0xFF, 0x02};
    EXPECT_TRUE(load_mif_file(0, 0, put("WIDE.MIF", pic).c_str()));
    EXPECT_EQ(bg(479, 0), 1);
    EXPECT_EQ(bg(0, 1), 2);
    EXPECT_EQ(bg(479, 1), 2);
    EXPECT_EQ(bg(0, 2), FILL);

    // Placed at the bottom-right corner, and far beyond it in every direction.
    std::memset(background_buffer, FILL, FRAME_BYTES);
    Bytes runs = header(10, 10); // ten rows, each one run of 127
    for (int r = 0; r < 10; ++r) runs.push_back(0xFF), runs.push_back(4);
    const std::string path = put("CORNER.MIF", runs);
    EXPECT_TRUE(load_mif_file(475, 268, path.c_str()));
    EXPECT_EQ(changed(), 5u * 4u);
    EXPECT_EQ(bg(475, 268), 4);
    EXPECT_EQ(bg(479, 271), 4);

    std::memset(background_buffer, FILL, FRAME_BYTES);
    for (auto [x, y] : {std::pair{-32768, -32768}, {32767, 32767}, {-200, 0}, {0, -200}, {32767, 0}}) {
        EXPECT_TRUE(load_mif_file(int16_t(x), int16_t(y), path.c_str()));
    }
    EXPECT_EQ(changed(), 0u);

    // Negative offsets clip the top-left part away.
    EXPECT_TRUE(load_mif_file(-9, -9, path.c_str()));
    EXPECT_EQ(changed(), 127u - 9u); // only row 9 shows, its run less the 9 columns off screen
    EXPECT_EQ(bg(0, 0), 4);
}

TEST_F(Mif, EmbeddedPictureIsClippedAtTheScreenEdges)
{
    clear_screen();
    // 4 x 4: rows of a literal 1 2 3 4.
    Bytes pic = header(4, 4);
    for (int r = 0; r < 4; ++r) pic = pic + Bytes{0x04, 1, 2, 3, 4};
    draw_image(478, 270, pic.data());
    EXPECT_EQ(Framebuffer[270 * LCD_WIDTH + 478], 1);
    EXPECT_EQ(Framebuffer[271 * LCD_WIDTH + 479], 2);
    EXPECT_EQ(Framebuffer[271 * LCD_WIDTH + 0], 0); // no wrap into the next row
    EXPECT_EQ(Framebuffer[0], 0);

    // The sized form gives the same picture and stops at the end of the data.
    clear_screen();
    EXPECT_TRUE(draw_image(-2, -2, pic.data(), pic.size()));
    EXPECT_EQ(Framebuffer[0], 3);
    EXPECT_EQ(Framebuffer[LCD_WIDTH + 1], 4);
    clear_screen();
    EXPECT_FALSE(draw_image(0, 0, pic.data(), pic.size() - 2));
    EXPECT_EQ(Framebuffer[3 * LCD_WIDTH + 1], 2);
    EXPECT_EQ(Framebuffer[3 * LCD_WIDTH + 2], 0);
    EXPECT_FALSE(draw_image(0, 0, pic.data(), 3));
    EXPECT_FALSE(draw_image(0, 0, nullptr, 100));
}
