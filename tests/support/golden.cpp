#include "support/golden.h"

#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "gfx/framebuffer.h"
#include "gfx/palette.h"

namespace test {
namespace {

QImage to_image(const uint8_t* pixels, int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = 0xFF000000u | ems::Palette[pixels[y * width + x]];
    }
    return img;
}

} // namespace

bool write_indexed_png(const std::string& path, const uint8_t* pixels, int width, int height)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    return to_image(pixels, width, height).save(QString::fromStdString(path), "PNG");
}

bool write_frame_png(const std::string& path)
{
    return write_indexed_png(path, ems::Framebuffer, ems::LCD_WIDTH, ems::LCD_HEIGHT);
}

::testing::AssertionResult matches_golden(const std::string& name)
{
    return matches_golden(name, to_image(ems::Framebuffer, ems::LCD_WIDTH, ems::LCD_HEIGHT));
}

::testing::AssertionResult matches_golden(const std::string& name, const QImage& picture)
{
    const std::string golden = std::string(EMS_SOURCE_DIR) + "/tests/golden/" + name + ".png";
    const std::string actual = std::string(EMS_BINARY_DIR) + "/golden-actual/" + name + ".png";
    const QImage got = picture.convertToFormat(QImage::Format_RGB32);
    auto save = [&](const std::string& path) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        return got.save(QString::fromStdString(path), "PNG");
    };
    const char* update = std::getenv("EMS_UPDATE_GOLDEN");
    if (update && *update && std::string(update) != "0") {
        if (!save(golden)) return ::testing::AssertionFailure() << "cannot write " << golden;
        return ::testing::AssertionSuccess();
    }
    QImage expected;
    if (!expected.load(QString::fromStdString(golden))) {
        save(actual);
        return ::testing::AssertionFailure()
               << "no golden " << golden << " (actual written to " << actual
               << "; review it and run with EMS_UPDATE_GOLDEN=1 to accept)";
    }
    expected = expected.convertToFormat(QImage::Format_RGB32);
    if (expected.size() != got.size()) {
        save(actual);
        return ::testing::AssertionFailure() << "golden " << name << " has another size";
    }
    int differing = 0, first_x = -1, first_y = -1;
    for (int y = 0; y < got.height(); ++y)
        for (int x = 0; x < got.width(); ++x)
            if ((expected.pixel(x, y) & 0xFFFFFF) != (got.pixel(x, y) & 0xFFFFFF)) {
                if (differing++ == 0) first_x = x, first_y = y;
            }
    if (differing == 0) return ::testing::AssertionSuccess();
    save(actual);
    return ::testing::AssertionFailure() << differing << " pixels differ from golden " << name
                                         << ", first at (" << first_x << ", " << first_y
                                         << "); actual written to " << actual;
}

} // namespace test
