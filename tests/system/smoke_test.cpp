#include <gtest/gtest.h>

#include "gfx/palette.h"

TEST(Palette, NamedEntries)
{
    EXPECT_EQ(ems::Palette[0], 0x000000u);
    EXPECT_EQ(ems::Palette[15], 0xFFFFFFu);
}
