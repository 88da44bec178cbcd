// The window's comforts through its real widgets: readouts beside the
// sliders, sensor presets, the power lamp and dark LCD, View / Zoom, LCD
// screenshots and the wheel on the knob.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "app/power.h"
#include "host/inputs/control_panel.h"
#include "host/inputs/sensor_presets.h"
#include "host/script/scenario.h"
#include "host/window/front_panel.h"
#include "host/window/front_view.h"
#include "host/window/lcd_panel.h"
#include "host/window/main_window.h"
#include "host/window/status_line.h"
#include "host/window/unit_runner.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/shown_window.h"
#include "system/raw_inputs.h"
#include "ui/screen.h"

namespace {

using host::TfrmMain;

class View : public test::ShownWindow {
protected:
    void SetUp() override
    {
        QSettings().clear(); // nothing kept from an earlier window
        ShownWindow::SetUp();
    }
    // On, past the splash and the maintenance notice, into the main loop.
    void power_on_running()
    {
        window->Button1Click();
        for (int i = 0; i < 2; ++i) {
            ems::key_press(1);
            window->runner()->run_passes(1);
        }
        ASSERT_EQ(ems::sys.phase, ems::PowerPhase::Running);
    }
    QString readout(const QString& key) { return window->inputs()->readout(key)->text(); }
};

TEST_F(View, ReadoutsShowTheUnitsConvertedValuesInTheSettingsUnits)
{
    EXPECT_EQ(readout("EMS/Volts:"), QString::fromUtf8("\u2013")) << "nothing converted while off";
    power_on_running();
    window->inputs()->slider("EMS/Volts:")->setValue(1557);
    window->inputs()->slider("EMS/TC1")->setValue(680);
    window->inputs()->slider("EMS/RPM:")->setValue(312);
    window->runner()->run_passes(30);
    EXPECT_EQ(readout("EMS/Volts:"), "13.8 V");
    EXPECT_EQ(window->inputs()->slider_label("EMS/Volts:")->text(), "1557") << "the raw count stays beside it";
    EXPECT_EQ(readout("EMS/TC1"), QString::fromUtf8("680 \u00b0C"));
    EXPECT_EQ(readout("EMS/RPM:"), "4995 RPM");

    ems::settings.temp_unit = 1;
    window->runner()->run_passes(1);
    EXPECT_EQ(readout("EMS/TC1"), QString::fromUtf8("1256 \u00b0F"));
    ems::settings.channel_mode[0] = 0;
    window->runner()->run_passes(1);
    EXPECT_EQ(readout("EMS/Input 1:"), "off");
}

TEST_F(View, PresetRoundTripRestoresPositionsAndInputs)
{
    QString error;
    ASSERT_TRUE(host::load_sensor_preset(*window->inputs(), "cruise", error)) << qPrintable(error);
    EXPECT_EQ(window->inputs()->slider("EMS/RPM:")->value(), 312);
    EXPECT_TRUE(window->inputs()->check("EMS/VEXA On/Off")->isChecked());
    // Written even where the slider stood already: CJC starts at 2240 with its input 0.
    window->inputs()->slider("EMS/CJC:")->setValue(2450);
    const QString file = dir.filePath("mine.preset");
    ASSERT_TRUE(host::save_sensor_preset(*window->inputs(), file, error)) << qPrintable(error);
    ASSERT_TRUE(host::load_sensor_preset(*window->inputs(), file, error)) << qPrintable(error);
    const ems::RawInputs saved = ems::raw;

    window->inputs()->slider("EMS/TC1")->setValue(-100);
    window->inputs()->slider("EMS/Volts:")->setValue(0);
    window->inputs()->check("EMS/VEXA On/Off")->setChecked(false);
    ems::raw.raw_cjc = 0;
    ASSERT_TRUE(host::load_sensor_preset(*window->inputs(), file, error)) << qPrintable(error);
    EXPECT_EQ(window->inputs()->slider("EMS/TC1")->value(), 680);
    EXPECT_EQ(window->inputs()->slider("EMS/Volts:")->value(), 1557);
    EXPECT_TRUE(window->inputs()->check("EMS/VEXA On/Off")->isChecked());
    // The 16-bit inputs lie packed ahead of the rotor's.
    EXPECT_EQ(std::memcmp(&ems::raw, &saved, offsetof(ems::RawInputs, injector_duty)), 0)
        << "the same inputs reach the firmware";
    EXPECT_EQ(ems::raw.rpm2, saved.rpm2);

    // A bad line refuses the whole file with its line, and nothing moves.
    QFile bad(dir.filePath("bad.preset"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("[EMS]\nTC1 = 100\nVolts = 5000\n");
    bad.close();
    EXPECT_FALSE(host::load_sensor_preset(*window->inputs(), bad.fileName(), error));
    EXPECT_TRUE(error.contains("line 3: EMS/Volts: takes 0..4096")) << qPrintable(error);
    EXPECT_EQ(window->inputs()->slider("EMS/TC1")->value(), 680);
    EXPECT_FALSE(host::load_sensor_preset(*window->inputs(), "Nonesuch", error));
    EXPECT_TRUE(error.startsWith("No sensor preset \"Nonesuch\"")) << qPrintable(error);

    host::ScenarioRunner runner(*window);
    EXPECT_EQ(runner.run_text("preset \"Engine off\"\n", dir.path(), "s"), 0);
    EXPECT_EQ(window->inputs()->slider("EMS/RPM:")->value(), 31000);
    EXPECT_EQ(runner.run_text("preset missing.preset\n", dir.path(), "s"), 1);
}

TEST_F(View, PowerLampStatusAndDarkLcdFollowThePower)
{
    EXPECT_EQ(window->inputs()->button("&On")->text(), "&On");
    EXPECT_EQ(window->inputs()->button("O&ff")->text(), "O&ff") << "Alt+O and Alt+F, not both Alt+O";
    EXPECT_FALSE(window->front()->power_lamp()->is_on());
    power_on_running();
    EXPECT_TRUE(window->front()->power_lamp()->is_on());
    EXPECT_EQ(window->status()->label(0)->text(), "Power: on");
    window->runner()->run_passes(5);
    // A lit pixel of the run screen, shown as drawn.
    const QImage frame = window->front()->lcd()->image();
    QPoint lit(-1, -1);
    for (int i = 0; i < frame.width() * frame.height() && lit.x() < 0; ++i)
        if (frame.pixel(i % frame.width(), i / frame.width()) != QColor(Qt::black).rgb())
            lit = QPoint(i % frame.width(), i / frame.width());
    ASSERT_GE(lit.x(), 0) << "the run screen draws something";
    EXPECT_EQ(window->front()->lcd()->grab().toImage().pixel(lit), frame.pixel(lit));

    QTest::mouseClick(window->inputs()->button("O&ff"), Qt::LeftButton);
    window->runner()->run_passes(1);
    EXPECT_FALSE(window->front()->power_lamp()->is_on());
    EXPECT_EQ(window->status()->label(0)->text(), "Power: off");
    const QImage dark = window->front()->lcd()->grab().toImage();
    for (const QPoint p : {lit, QPoint(5, 5), QPoint(400, 200)})
        EXPECT_EQ(dark.pixel(p), QColor(Qt::black).rgb());
    EXPECT_EQ(window->front()->lcd_screenshot().pixel(lit), QColor(Qt::black).rgb()) << "a screenshot shows what shows";
}

TEST_F(View, ZoomScalesTheFrontPanelPixelForPixelAndIsRemembered)
{
    power_on_running();
    const QSize window_1x = window->size();
    window->set_zoom(2);
    EXPECT_EQ(window->front()->size(), QSize(2 * host::FRONT_WIDTH, 2 * host::FRONT_HEIGHT));
    EXPECT_EQ(window->front()->lcd()->geometry(), QRect(68, 130, 960, 546));
    EXPECT_EQ(window->front()->key_area(6)->geometry(), QRect(928, 800, 98, 98));
    EXPECT_EQ(window->size().width(), window_1x.width() + host::FRONT_WIDTH);
    EXPECT_EQ(QSettings().value("view/zoom").toInt(), 2);

    const QImage frame = window->front()->lcd()->image();
    const QImage shown = window->front()->lcd()->grab().toImage();
    for (const QPoint p : {QPoint(0, 0), QPoint(240, 10), QPoint(77, 133), QPoint(479, 271), QPoint(300, 200)})
        for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
            EXPECT_EQ(shown.pixel(p * 2 + d), frame.pixel(p)) << p.x() << "," << p.y();

    const QString file = dir.filePath("lcd.png");
    ASSERT_TRUE(window->front()->save_lcd_screenshot(file));
    const QImage saved(file);
    EXPECT_EQ(saved.size(), QSize(960, 544));
    EXPECT_EQ(saved.pixel(481, 21), frame.pixel(240, 10));

    TfrmMain second(dir.path());
    EXPECT_EQ(second.front()->zoom(), 2) << "the next window starts at the remembered zoom";
    window->set_zoom(1);
    EXPECT_EQ(window->size(), window_1x);
    ASSERT_TRUE(window->front()->save_lcd_screenshot(file));
    EXPECT_EQ(QImage(file), frame.convertToFormat(QImage(file).format()));
}

// Resized, the front panel takes the largest whole zoom that fits, every LCD
// pixel a whole square; a zoom larger than the screen is not offered.
TEST_F(View, ResizingKeepsWholePixelsAndTheWindowFitsTheScreen)
{
    power_on_running();
    const QSize at_1x = window->size();
    window->resize(at_1x + QSize(host::FRONT_WIDTH + 200, host::FRONT_HEIGHT + 60)); // room for 2x, not 3x
    QCoreApplication::processEvents();
    ASSERT_EQ(window->front()->zoom(), 2);
    EXPECT_GT(window->inputs()->width(), 513) << "the tabs take the rest";
    const QImage frame = window->front()->lcd()->image();
    const QImage shown = window->front()->lcd()->grab().toImage();
    for (const QPoint p : {QPoint(0, 0), QPoint(240, 10), QPoint(77, 133), QPoint(479, 271)})
        for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
            EXPECT_EQ(shown.pixel(p * 2 + d), frame.pixel(p)) << p.x() << "," << p.y();

    window->resize(at_1x);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->front()->zoom(), 1);
    EXPECT_EQ(window->inputs()->width(), 513);

    // 3x is 1488 pixels high; the test screen is 1080.
    window->set_zoom(4);
    EXPECT_EQ(window->front()->zoom(), 2);
    const QSize screen = window->screen()->availableGeometry().size();
    EXPECT_LE(window->frameGeometry().width(), screen.width());
    EXPECT_LE(window->frameGeometry().height(), screen.height());
    const QList<QAction*> zooms = window->menuBar()->findChild<QMenu*>("ZoomMenu")->actions();
    EXPECT_TRUE(zooms[1]->isEnabled());
    EXPECT_FALSE(zooms[2]->isEnabled()) << "3x is not offered";
}

TEST_F(View, TheWheelTurnsTheKnobOnlyOverTheKnob)
{
    auto wheel = [](QWidget* w) {
        QWheelEvent e(QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(w, &e);
    };
    wheel(window->front()->key_area(2));
    EXPECT_EQ(ems::KeyEvent, 0);
    wheel(window->front()->key_area(6));
    EXPECT_EQ(ems::KeyEvent, ems::KEY_CW) << "wheel down: clockwise";
}

} // namespace
