// Golden screenshots: the frame buffer (or a picture of a host window)
// compared pixel for pixel with a reviewed PNG in tests/golden/. On a mismatch (or a missing golden) the
// actual picture is written to <build>/tests/golden-actual/NAME.png.
// EMS_UPDATE_GOLDEN=1 in the environment rewrites the goldens instead.
#pragma once
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

class QImage;

namespace test {

// Writes a palette-index image (width x height, row-major) as an RGB PNG.
bool write_indexed_png(const std::string& path, const uint8_t* pixels, int width, int height);
// Writes the current Framebuffer as a PNG.
bool write_frame_png(const std::string& path);

// Compares the current Framebuffer with tests/golden/NAME.png.
::testing::AssertionResult matches_golden(const std::string& name);
// Compares a picture with tests/golden/NAME.png.
::testing::AssertionResult matches_golden(const std::string& name, const QImage& picture);

} // namespace test

#define EXPECT_GOLDEN(name) EXPECT_TRUE(::test::matches_golden(name))
