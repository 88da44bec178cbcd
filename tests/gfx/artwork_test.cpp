// The shipped pictures and documents: embedded icons, the sample card's
// pictures and checklists, and the PNG to MIF encoder that made them.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "../../tools/png2mif/mif_encode.h"
#include "gfx/framebuffer.h"
#include "gfx/icons.h"
#include "gfx/mif.h"
#include "gfx/palette.h"
#include "support/fake_platform.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

// A picture decoded here, independently of the firmware and the encoder, with
// the strictest reading of the format: every row must end exactly at the
// width, every packet must lie inside the data, and the data must end with
// the last row.
struct Decoded {
    bool ok = false;
    std::string error;
    int width = 0, height = 0;
    Bytes pixels;
};

Decoded decode_strict(const uint8_t* data, size_t size)
{
    Decoded d;
    if (size < 4) return d.error = "no header", d;
    d.width = data[0] + 256 * data[1];
    d.height = data[2] + 256 * data[3];
    d.pixels.assign(size_t(d.width) * size_t(d.height), 0);
    size_t at = 4;
    for (int y = 0; y < d.height; ++y) {
        int x = 0;
        while (x < d.width) {
            if (at >= size) return d.error = "data ends in row " + std::to_string(y), d;
            const uint8_t c = data[at++];
            const int n = c & 0x7F;
            const size_t payload = c & 0x80 ? 1 : size_t(n);
            if (n == 0) return d.error = "empty packet in row " + std::to_string(y), d;
            if (x + n > d.width) return d.error = "packet crosses the end of row " + std::to_string(y), d;
            if (at + payload > size) return d.error = "packet runs past the data", d;
            for (int i = 0; i < n; ++i)
                d.pixels[size_t(y) * size_t(d.width) + size_t(x + i)] = data[at + (c & 0x80 ? 0 : size_t(i))];
            at += payload;
            x += n;
        }
    }
    if (at != size) return d.error = std::to_string(size - at) + " bytes after the last row", d;
    d.ok = true;
    return d;
}

Decoded decode_strict(const Bytes& b) { return decode_strict(b.data(), b.size()); }

Bytes read_file(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const fs::path card_dir = fs::path(EMS_SOURCE_DIR) / "assets" / "SDCARD";

std::vector<fs::path> files_in(const fs::path& dir)
{
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file()) out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

struct Stated {
    const char* name;
    const uint8_t* data;
    int width, height;
};

const Stated stated[] = {
    {"icon_attention", ems::icon_attention, 50, 50},
    {"icon_question", ems::icon_question, 50, 50},
    {"icon_flight_log", ems::icon_flight_log, 50, 50},
    {"icon_ems_setup", ems::icon_ems_setup, 50, 50},
    {"icon_gps_setup", ems::icon_gps_setup, 50, 50},
    {"icon_timers_setup", ems::icon_timers_setup, 50, 50},
    {"icon_data_rec_setup", ems::icon_data_rec_setup, 50, 50},
    {"icon_misc_setup", ems::icon_misc_setup, 50, 50},
    {"icon_fuel_setup", ems::icon_fuel_setup, 50, 50},
    {"icon_map_setup", ems::icon_map_setup, 50, 50},
    {"icon_oil_setup", ems::icon_oil_setup, 50, 50},
    {"icon_temperature_setup", ems::icon_temperature_setup, 50, 50},
    {"icon_analog_setup", ems::icon_analog_setup, 50, 50},
    {"icon_electrical_setup", ems::icon_electrical_setup, 50, 42},
    {"icon_ecu_setup", ems::icon_ecu_setup, 50, 50},
    {"picture_engine_computer", ems::picture_engine_computer, 180, 120},
};

const ems::EmbeddedPicture* catalogue_entry(const uint8_t* data)
{
    for (size_t i = 0; i < ems::embedded_picture_count; ++i)
        if (ems::embedded_pictures[i].data == data) return &ems::embedded_pictures[i];
    return nullptr;
}

} // namespace

TEST(EmbeddedPictures, HaveTheirStatedSizesAndDecodeExactlyWithinTheirData)
{
    ASSERT_EQ(ems::embedded_picture_count, std::size(stated));
    for (const Stated& s : stated) {
        SCOPED_TRACE(s.name);
        const ems::EmbeddedPicture* e = catalogue_entry(s.data);
        ASSERT_NE(e, nullptr) << "missing from embedded_pictures";
        EXPECT_STREQ(e->name, s.name);
        const Decoded d = decode_strict(e->data, e->bytes);
        EXPECT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.width, s.width);
        EXPECT_EQ(d.height, s.height);
    }
}

// draw_image must put exactly the decoded pixels on the screen and nothing
// around them, also through the bounded variant.
TEST(EmbeddedPictures, DrawImagePaintsExactlyTheDecodedRectangle)
{
    constexpr uint8_t SENTINEL = 0x5A;
    for (size_t i = 0; i < ems::embedded_picture_count; ++i) {
        const ems::EmbeddedPicture& e = ems::embedded_pictures[i];
        SCOPED_TRACE(e.name);
        const Decoded d = decode_strict(e.data, e.bytes);
        ASSERT_TRUE(d.ok) << d.error;
        for (int bounded = 0; bounded < 2; ++bounded) {
            std::memset(ems::Framebuffer, SENTINEL, ems::FRAME_BYTES);
            const int ox = 280, oy = 120;
            if (bounded)
                EXPECT_TRUE(ems::draw_image(ox, oy, e.data, e.bytes));
            else
                ems::draw_image(ox, oy, e.data);
            int wrong = 0;
            for (int y = 0; y < ems::LCD_HEIGHT; ++y)
                for (int x = 0; x < ems::LCD_WIDTH; ++x) {
                    const bool inside = x >= ox && x < ox + d.width && y >= oy && y < oy + d.height;
                    const uint8_t want = inside ? d.pixels[size_t(y - oy) * size_t(d.width) + size_t(x - ox)]
                                                : SENTINEL;
                    wrong += ems::Framebuffer[y * ems::LCD_WIDTH + x] != want;
                }
            EXPECT_EQ(wrong, 0);
        }
    }
}

// The notice symbols are what the screens promise: a white disc with a red
// mark on black corners.
TEST(EmbeddedPictures, NoticeSymbolsAreWhiteDiscsWithRedMarks)
{
    for (const uint8_t* icon : {ems::icon_attention, ems::icon_question}) {
        const ems::EmbeddedPicture* e = catalogue_entry(icon);
        ASSERT_NE(e, nullptr);
        SCOPED_TRACE(e->name);
        const Decoded d = decode_strict(e->data, e->bytes);
        ASSERT_TRUE(d.ok);
        auto at = [&](int x, int y) { return d.pixels[size_t(y) * 50 + size_t(x)]; };
        EXPECT_EQ(at(0, 0), 0);
        EXPECT_EQ(at(49, 49), 0);
        EXPECT_EQ(at(5, 25), ems::COLOUR_WHITE);
        EXPECT_EQ(at(44, 25), ems::COLOUR_WHITE);
        EXPECT_GT(std::count(d.pixels.begin(), d.pixels.end(), ems::COLOUR_RED), 80);
    }
}

TEST(SampleCard, PicturesAreFullScreenAndCoverEveryPixelExactly)
{
    std::vector<fs::path> pictures = {card_dir / "SPLASH.MIF"};
    for (const fs::path& p : files_in(card_dir / "INFOPAGE")) {
        EXPECT_EQ(p.extension(), ".MIF") << p;
        pictures.push_back(p);
    }
    EXPECT_GE(pictures.size(), 3u) << "the card should carry at least two info pages";

    test::FakePlatform platform;
    fs::create_directories(platform.card() / "INFOPAGE");
    for (const fs::path& p : pictures) {
        SCOPED_TRACE(p.string());
        const Bytes bytes = read_file(p);
        const Decoded d = decode_strict(bytes);
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.width, 480);
        EXPECT_EQ(d.height, 272);

        // The firmware's card reader gives the same picture.
        const fs::path rel = fs::relative(p, card_dir);
        fs::copy_file(p, platform.card() / rel, fs::copy_options::overwrite_existing);
        std::string card_path = "SDCARD";
        for (const auto& part : rel) card_path += "\\" + part.string();
        std::memset(ems::background_buffer, 0x5A, ems::FRAME_BYTES);
        EXPECT_TRUE(ems::load_mif_file(0, 0, card_path.c_str()));
        EXPECT_EQ(std::memcmp(ems::background_buffer, d.pixels.data(), ems::FRAME_BYTES), 0);
    }
}

// The firmware writes registration, serial number and version in white over
// the splash picture's bottom strip; the logo's letters are red and white.
TEST(SampleCard, SplashLeavesTheTextStripDarkAndShowsTheLogoColours)
{
    const Decoded d = decode_strict(read_file(card_dir / "SPLASH.MIF"));
    ASSERT_TRUE(d.ok) << d.error;
    const auto strip = d.pixels.begin() + 238 * 480;
    EXPECT_EQ(std::count(strip, d.pixels.end(), uint8_t(0)), 34 * 480);
    EXPECT_GT(std::count(d.pixels.begin(), d.pixels.end(), ems::COLOUR_RED), 500);
    EXPECT_GT(std::count(d.pixels.begin(), d.pixels.end(), ems::COLOUR_WHITE), 2000);
}

TEST(SampleCard, ChecklistsKeepTheViewerLimits)
{
    const std::vector<fs::path> lists = files_in(card_dir / "CHECKLST");
    EXPECT_GE(lists.size(), 2u);
    for (const fs::path& p : lists) {
        SCOPED_TRACE(p.string());
        EXPECT_EQ(p.extension(), ".ECL");
        const Bytes bytes = read_file(p);
        ASSERT_FALSE(bytes.empty());
        // The last line needs its line feed, or the viewer does not count it.
        EXPECT_EQ(bytes.back(), '\n');
        int lines = 0;
        size_t length = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const uint8_t b = bytes[i];
            if (b == '\n') {
                EXPECT_GT(length, 0u) << "empty line " << lines + 1;
                ++lines;
                length = 0;
            } else if (b == '\r') {
                EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR";
            } else {
                EXPECT_TRUE(b >= 32 && b <= 126 && !(b >= 'a' && b <= 'z'))
                    << "byte " << int(b) << " in line " << lines + 1;
                ++length;
                EXPECT_LE(length, 59u) << "line " << lines + 1 << " too long";
            }
        }
        EXPECT_GE(lines, 5);
        EXPECT_LE(lines, 30);
    }
}

TEST(Png2Mif, PaletteMatchingKeepsExactColoursAndBlack)
{
    const auto& pal = ems::Palette;
    EXPECT_EQ(mif::nearest_index(0x000000, pal), 0);
    EXPECT_EQ(mif::nearest_index(0xFFFFFF, pal), 15);
    // Duplicated colours resolve to the entries the screens use by number.
    EXPECT_EQ(mif::nearest_index(0xFF0000, pal), ems::COLOUR_RED);
    EXPECT_EQ(mif::nearest_index(0x00FF00, pal), ems::COLOUR_GREEN);
    EXPECT_EQ(mif::nearest_index(0xFFFF00, pal), ems::COLOUR_YELLOW);
    EXPECT_EQ(mif::nearest_index(0x00FFFF, pal), ems::COLOUR_CYAN);
    EXPECT_EQ(mif::nearest_index(0xC0C0C0, pal), ems::COLOUR_SILVER);
    // Every entry maps back to an entry of the same colour.
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(pal[mif::nearest_index(pal[size_t(i)], pal)], pal[size_t(i)]) << i;
    // Dark and mid greys stay neutral: black or a grey entry, never a tint.
    for (uint32_t v : {0x04u, 0x0Cu, 0x10u, 0x7Cu, 0x96u, 0xFAu}) {
        const uint32_t c = pal[mif::nearest_index(v * 0x010101u, pal)];
        EXPECT_TRUE((c >> 16 & 0xFF) == (c & 0xFF) && (c >> 8 & 0xFF) == (c & 0xFF)) << std::hex << v;
    }
    EXPECT_EQ(mif::nearest_index(0x0C0C0C, pal), 0);
    EXPECT_EQ(mif::nearest_index(0x090000, pal), 0);
    // Off-palette colours go to their obvious neighbour.
    EXPECT_EQ(pal[mif::nearest_index(0xFE0101, pal)], 0xFF0000u);
    EXPECT_EQ(pal[mif::nearest_index(0x7E7E7E, pal)], 0x808080u);
}

TEST(Png2Mif, PacketsAreShortestAndStayInsideTheirRow)
{
    struct Case {
        Bytes row;
        Bytes packets;
    };
    const Case cases[] = {
        {{15, 15}, {0x82, 15}},                    // two white pixels as one run
        {{1}, {0x81, 1}},                          // a single pixel
        {{1, 2}, {0x02, 1, 2}},                    // two different: one literal
        {{1, 2, 2, 3}, {0x04, 1, 2, 2, 3}},        // a pair inside a literal is cheaper left in
        {{1, 2, 2, 2, 3}, {0x05, 1, 2, 2, 2, 3}},       // a tie in bytes: fewer packets
        {{1, 2, 2, 2, 2, 3}, {0x81, 1, 0x84, 2, 0x81, 3}}, // lone pixels as runs of 1
        {{5, 5, 5, 1, 2}, {0x83, 5, 0x02, 1, 2}},
    };
    for (const Case& c : cases) {
        const Bytes got = mif::encode(c.row.data(), int(c.row.size()), 1);
        Bytes want = {uint8_t(c.row.size()), 0, 1, 0};
        for (uint8_t b : c.packets) want.push_back(b);
        EXPECT_EQ(got, want);
    }
    // Long runs and literals split at 127 pixels; rows never share a packet.
    Bytes two_rows(2 * 300, 9);
    for (int x = 0; x < 300; ++x) two_rows[300 + size_t(x)] = uint8_t(x & 1 ? 9 : 10);
    const Bytes got = mif::encode(two_rows.data(), 300, 2);
    const Decoded d = decode_strict(got);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.pixels, two_rows);
    EXPECT_EQ(got.size(), 4u + 6u + (300u + 3u)); // runs 127+127+46, literals 127+127+46
    EXPECT_TRUE(mif::encode(two_rows.data(), 0, 2).empty());
    EXPECT_TRUE(mif::encode(two_rows.data(), 70000, 1).empty());
}

// A PNG made here, read back as png2mif reads it, mapped, encoded and decoded.
TEST(Png2Mif, PngRoundTripGivesThePaletteIndices)
{
    test::FakePlatform scratch; // a temporary folder that cleans up after itself
    const int w = 211, h = 9;
    QImage img(w, h, QImage::Format_ARGB32);
    Bytes want(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Stripes, runs over 127, single pixels, every palette entry.
            uint8_t idx = y < 3 ? uint8_t((x / 40) * 37 + y) : y < 6 ? uint8_t((x * 7 + y) & 0xFF)
                                                                     : uint8_t(x < 150 ? 247 : 15);
            if (y == 8 && x % 2) idx = 0;
            want[size_t(y) * w + x] = uint8_t(mif::nearest_index(ems::Palette[idx], ems::Palette));
            img.setPixel(x, y, 0xFF000000u | ems::Palette[idx]);
        }
    const QString path = QString::fromStdString((scratch.dir() / "round.png").string());
    ASSERT_TRUE(img.save(path, "PNG"));
    QImage back;
    ASSERT_TRUE(back.load(path));
    back = back.convertToFormat(QImage::Format_ARGB32);
    Bytes indices(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            indices[size_t(y) * w + x] = mif::nearest_index(back.pixel(x, y) & 0xFFFFFFu, ems::Palette);
    EXPECT_EQ(indices, want);

    const Bytes data = mif::encode(indices.data(), w, h);
    const Decoded d = decode_strict(data);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.width, w);
    EXPECT_EQ(d.height, h);
    EXPECT_EQ(d.pixels, indices);
    EXPECT_TRUE(mif::check(data.data(), data.size()).ok);
}
