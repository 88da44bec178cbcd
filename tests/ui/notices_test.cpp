// Notice screens: they stay until a key, then any key returns to the screen
// named beforehand and is consumed.
#include <gtest/gtest.h>

#include "ui/notices.h"
#include "ui/screen.h"

namespace {

void caller_screen() {}

TEST(NoticeScreens, AnyKeyReturnsToTheCallerAndIsConsumed)
{
    const ems::ScreenFn notices[] = {ems::screen_insert_card, ems::screen_invalid_settings,
                                     ems::screen_done};
    for (ems::ScreenFn notice : notices) {
        for (uint8_t key = ems::KEY_SOFT1; key <= ems::KEY_CCW; ++key) {
            ems::return_screen = caller_screen;
            ems::ScreenHandler = notice;
            ems::KeyEvent = ems::KEY_NONE;
            notice();
            EXPECT_EQ(ems::ScreenHandler, notice) << "left without a key";

            ems::KeyEvent = key;
            notice();
            EXPECT_EQ(ems::ScreenHandler, caller_screen) << "key " << int(key);
            EXPECT_EQ(ems::KeyEvent, ems::KEY_NONE) << "key " << int(key);
        }
    }
    ems::ScreenHandler = nullptr;
    ems::return_screen = nullptr;
}

} // namespace
