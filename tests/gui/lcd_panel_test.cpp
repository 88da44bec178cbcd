// The LCD panel in the real window: a pass that draws the frame already shown
// costs neither a conversion nor a repaint; a changed one costs both.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/power.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "host/window/front_view.h"
#include "host/window/lcd_panel.h"
#include "host/window/main_window.h"
#include "host/window/unit_runner.h"
#include "support/firmware_reset.h"
#include "ui/screen.h"

namespace {

TEST(LcdPanel, UnchangedPassesNeitherConvertNorRepaint)
{
    test::reset_firmware();
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("SDCARD");
    host::TfrmMain window(dir.path());
    window.runner()->set_virtual_time(true);
    window.show();
    host::LcdPanel& lcd = *window.front()->lcd();
    auto settle = [] { QTest::qWait(50); }; // any repaint asked for is done by then

    window.Button1Click(); // the splash: the same picture every pass
    window.runner()->run_passes(1);
    settle();
    const int conversions = lcd.conversions(), repaints = lcd.repaints(), presents = window.runner()->presented_frames();
    window.runner()->run_passes(3);
    settle();
    EXPECT_EQ(window.runner()->presented_frames(), presents + 3) << "every pass still presents";
    EXPECT_EQ(lcd.conversions(), conversions);
    EXPECT_EQ(lcd.repaints(), repaints);

    ems::key_press(1); // ends the splash: the next pass draws another screen
    window.runner()->run_passes(1);
    EXPECT_EQ(lcd.conversions(), conversions + 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return lcd.repaints() > repaints; }, 2000));
    const QImage& shown = lcd.image();
    bool matches = true;
    for (int y = 0; y < ems::LCD_HEIGHT; y += 7)
        for (int x = 0; x < ems::LCD_WIDTH; x += 5)
            matches &= shown.pixel(x, y) == (0xFF000000u | ems::Palette[ems::Framebuffer[y * ems::LCD_WIDTH + x]]);
    EXPECT_TRUE(matches) << "the image shows the new frame";

    ems::power_off();
    ems::firmware_pass();
}

} // namespace
