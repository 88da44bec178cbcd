// The simulator window under the offscreen platform: its layout, the real
// widgets clicked and moved, the presenter, and the scenario runner.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/power.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "host/gps/gps_tab.h"
#include "host/gps/nmea_file_replay.h"
#include "host/gps/nmea_source_selector.h"
#include "host/gps/nmea_tcp_source.h"
#include "host/gps/serial_link.h"
#include "host/inputs/control_panel.h"
#include "host/script/scenario.h"
#include "host/window/front_view.h"
#include "host/window/help_menu.h"
#include "host/window/lcd_panel.h"
#include "host/window/main_window.h"
#include "host/window/unit_runner.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/nmea_io.h"
#include "support/shown_window.h"
#include "system/raw_inputs.h"
#include "ui/screen.h"

namespace {

class Window : public test::ShownWindow {
protected:
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
};

TEST_F(Window, LayoutOfTheFrontPanel)
{
    EXPECT_EQ(window->windowTitle(), "Sorvik EMS G2 Simulator");
    EXPECT_EQ(window->centralWidget()->size(), QSize(1065, 496));
    EXPECT_EQ(window->minimumSize(), window->size()) << "no smaller than at 1x";
    EXPECT_EQ(window->front()->lcd()->geometry(), QRect(34, 65, 480, 273));
    const int xs[5] = {24, 104, 184, 264, 344};
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(window->front()->key_area(k)->geometry(), QRect(xs[k - 1], 416, 41, 41));
    EXPECT_EQ(window->front()->key_area(6)->geometry(), QRect(464, 400, 49, 49));
    EXPECT_EQ(window->inputs()->button("+")->pos(), QPoint(456, 448));
    EXPECT_EQ(window->inputs()->button("-")->pos(), QPoint(496, 448));
    EXPECT_EQ(window->inputs()->button("&On")->pos(), QPoint(344, 16));
    EXPECT_EQ(window->inputs()->button("&Off")->pos(), QPoint(440, 16));
    QTabWidget* tabs = window->inputs();
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(0), "EMS");
    EXPECT_EQ(tabs->tabText(1), "GPS (NMEA Protocol)");
    EXPECT_EQ(tabs->tabText(2), "Selection");
    EXPECT_EQ(tabs->tabText(3), "UL Power");
    EXPECT_EQ(tabs->tabText(4), "Engine");
    EXPECT_EQ(tabs->geometry(), QRect(1065 - 513, 0, 513, 496)) << "the tabs fill the height";
    const auto menus = window->menuBar()->actions();
    ASSERT_FALSE(menus.isEmpty());
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[0]->menu()->actions().last()->text(), "&Exit");
}

TEST_F(Window, ControlsHaveTheirRangesAndStartPositions)
{
    struct Expect {
        const char* key;
        int min, max, start;
    } sliders[] = {
        {"EMS/TC1", -200, 1200, 0},        {"EMS/TC12", -200, 1200, 0},     {"EMS/CJC:", 0, 4096, 2240},
        {"EMS/Fuel Flow2:", 0, 65535, 0}, {"EMS/Fuel Pressure:", 0, 4096, 0}, {"EMS/Input 4:", 0, 4096, 0},
        {"EMS/RPM:", 1, 31000, 31000},     {"EMS/Rotor:", 1, 99999, 1},     {"UL Power/ECU Temp:", 0, 2000, 0},
        {"UL Power/Static Press:", 0, 1300, 0}, {"Selection/Analog 4:", 0, 3, 0}, {"Selection/RPM2:", 0, 2, 0},
    };
    for (const auto& e : sliders) {
        QSlider* s = window->inputs()->slider(e.key);
        ASSERT_TRUE(s) << e.key;
        EXPECT_EQ(s->minimum(), e.min) << e.key;
        EXPECT_EQ(s->maximum(), e.max) << e.key;
        EXPECT_EQ(s->value(), e.start) << e.key;
    }
    EXPECT_EQ(window->inputs()->slider_label("EMS/CJC:")->text(), "2240") << "labels show the start position";
    EXPECT_EQ(window->inputs()->slider_label("Selection/MAP:"), nullptr) << "selection sliders have no label";
    EXPECT_TRUE(window->inputs()->check("EMS/SD Card Mounted")->isChecked());
    EXPECT_FALSE(window->inputs()->check("EMS/VEXA On/Off")->isChecked());
    EXPECT_FALSE(window->inputs()->check("UL Power/UL Power Active")->isVisible());
    EXPECT_EQ(window->inputs()->combo("GPS (NMEA Protocol)/Com Port:")->currentText(), "COM1");
    EXPECT_EQ(window->inputs()->combo("GPS (NMEA Protocol)/Baud Rate:")->currentText(), "9600");
    EXPECT_TRUE(window->inputs()->button("&Connect"));
    EXPECT_TRUE(window->inputs()->button("&Disconnect"));
}

TEST_F(Window, SlidersWriteTheirTargets)
{
    window->inputs()->slider("EMS/TC3")->setValue(-150);
    EXPECT_EQ(ems::raw.tc_input[2], -150);
    EXPECT_EQ(window->inputs()->slider_label("EMS/TC3")->text(), "-150");
    EXPECT_EQ(ems::raw.raw_cjc, 2240) << "an untouched slider's input is where it shows";

    window->inputs()->slider("EMS/Rotor:")->setValue(457);
    EXPECT_EQ(ems::raw.rpm2, 457);
    EXPECT_EQ(ems::raw.rpm2_percent, 45);

    window->inputs()->slider("Selection/Analog 2:")->setValue(3);
    EXPECT_EQ(ems::settings.channel_mode[1], 3);

    // The UL Power sliders without a handler change nothing, not even their labels.
    window->inputs()->slider("UL Power/Throttle:")->setValue(50);
    EXPECT_EQ(window->inputs()->slider_label("UL Power/Throttle:")->text(), "0");
}

TEST_F(Window, KeysFromClicksKeyboardAndWheel)
{
    click(window->front()->key_area(3));
    EXPECT_EQ(ems::KeyEvent, 3);
    click(window->front()->key_area(5));
    EXPECT_EQ(ems::KeyEvent, 3) << "one pending key, no queue";
    ems::KeyEvent = 0;
    click(window->front()->key_area(6));
    EXPECT_EQ(ems::KeyEvent, 6);
    ems::KeyEvent = 0;
    window->inputs()->button("+")->click();
    EXPECT_EQ(ems::KeyEvent, 7);
    ems::KeyEvent = 0;
    window->inputs()->button("-")->click();
    EXPECT_EQ(ems::KeyEvent, 8);
    ems::KeyEvent = 0;

    QWidget* front = window->front()->key_area(1)->parentWidget();
    front->setFocus();
    QTest::keyClick(front, Qt::Key_Return);
    EXPECT_EQ(ems::KeyEvent, 6);
    ems::KeyEvent = 0;
    QTest::keyClick(front, Qt::Key_Left);
    EXPECT_EQ(ems::KeyEvent, 8);
    ems::KeyEvent = 0;
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_F2);
    EXPECT_EQ(ems::KeyEvent, 2);
    ems::KeyEvent = 0;

    QWidget* knob = window->front()->key_area(6);
    QWheelEvent wheel(QPointF(24, 24), knob->mapToGlobal(QPointF(24, 24)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(knob, &wheel);
    EXPECT_EQ(ems::KeyEvent, ems::KEY_CCW) << "wheel up: anticlockwise, up a list";
    ems::KeyEvent = 0;
    QWheelEvent down(QPointF(24, 24), knob->mapToGlobal(QPointF(24, 24)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(knob, &down);
    EXPECT_EQ(ems::KeyEvent, ems::KEY_CW) << "wheel down: clockwise, down a list";
}

TEST_F(Window, HelpListsKeysShortcutsAndLicences)
{
    const QString map = host::key_map_text(window->menuBar());
    for (const char* shown : {"F1", "F5", "Return", "Ctrl+Q", "Ctrl+O", "Ctrl+Shift+S", "wheel down"})
        EXPECT_TRUE(map.contains(shown)) << shown << " in " << map.toStdString();
    EXPECT_TRUE(window->front()->key_area(6)->toolTip().contains("down clockwise"));
    QMenu* help = window->menuBar()->findChild<QMenu*>("HelpMenu");
    ASSERT_TRUE(help);
    for (QAction* a : help->actions())
        if (a->text() == "&About") a->trigger();
    auto* licences = window->findChild<QPlainTextEdit*>("Licences");
    ASSERT_TRUE(licences);
    EXPECT_TRUE(licences->toPlainText().contains("License: bitstream-vera"));
    delete window->findChild<QDialog*>("About");
}

TEST_F(Window, OnRunsTheSequenceAndOffEndsIt)
{
    window->inputs()->slider("EMS/Volts:")->setValue(1800);
    click(window->inputs()->button("&On"));
    EXPECT_EQ(ems::sys.phase, ems::PowerPhase::Splash);
    EXPECT_EQ(ems::raw.raw_volts, 1800);
    click(window->front()->key_area(1));
    window->runner()->run_passes(1);
    EXPECT_EQ(ems::sys.phase, ems::PowerPhase::Maintenance);
    click(window->front()->key_area(1));
    window->runner()->run_passes(1);
    EXPECT_EQ(ems::sys.phase, ems::PowerPhase::Running);
    EXPECT_EQ(window->inputs()->slider_label("EMS/RPM:")->text(), "31000") << "power-on shows the RPM slider's value";

    click(window->inputs()->button("&On"));
    EXPECT_EQ(ems::sys.phase, ems::PowerPhase::Running) << "On while running is ignored";

    click(window->inputs()->button("&Off"));
    click(window->inputs()->button("&On"));
    window->runner()->run_passes(1);
    EXPECT_EQ(ems::sys.phase, ems::PowerPhase::Running) << "On cancels the pending Off";

    click(window->inputs()->button("&Off"));
    window->runner()->run_passes(1);
    EXPECT_EQ(ems::sys.phase, ems::PowerPhase::Off);
}

// Live, a frame runs four splash or notice passes but presents only the last;
// the main loop runs one pass per frame.
TEST_F(Window, LiveFramesPaceThePhasesAndTheMainLoop)
{
    window->runner()->set_virtual_time(false);
    const int before = window->runner()->presented_frames();
    click(window->inputs()->button("&On"));
    ASSERT_TRUE(QTest::qWaitFor([] { return ems::sys.phase_passes >= 40; }, 5000));
    EXPECT_EQ(ems::sys.phase_passes, 4 * (window->runner()->presented_frames() - before));

    ems::key_press(1);
    ASSERT_TRUE(QTest::qWaitFor([] { return ems::sys.phase == ems::PowerPhase::Maintenance; }, 5000));
    ems::key_press(1);
    ASSERT_TRUE(QTest::qWaitFor([] { return ems::sys.phase == ems::PowerPhase::Running; }, 5000));
    static int passes;
    passes = 0;
    ems::ScreenHandler = [] { ++passes; };
    const int shown = window->runner()->presented_frames();
    ASSERT_TRUE(QTest::qWaitFor([] { return passes >= 10; }, 5000));
    EXPECT_EQ(passes, window->runner()->presented_frames() - shown);
}

TEST_F(Window, PresentsThePaletteOnePixelPerPixel)
{
    std::fill(std::begin(ems::Framebuffer), std::end(ems::Framebuffer), 0);
    window->runner()->present();
    const QImage& black = window->front()->lcd()->image();
    ASSERT_EQ(black.size(), QSize(480, 272));
    bool all_black = true;
    for (int y = 0; y < 272; ++y)
        for (int x = 0; x < 480; ++x) all_black &= (black.pixel(x, y) & 0xFFFFFF) == 0;
    EXPECT_TRUE(all_black);

    ems::Framebuffer[0] = ems::COLOUR_WHITE;
    ems::Framebuffer[271 * 480 + 479] = ems::COLOUR_WHITE;
    window->runner()->present();
    // What the panel shows on screen, also after a repaint.
    window->front()->lcd()->repaint();
    const QImage shown = window->front()->lcd()->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(479, 271) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(1, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(0, 272) & 0xFFFFFF, 0u) << "the spare row stays black";
}

TEST_F(Window, ScenarioScriptDrivesTheWindow)
{
    host::ScenarioRunner runner(*window);
    const QString script = R"(# a short session
power on
key 1
passes 1
key 1
passes 1
slider "EMS/Volts:" 2000
check "EMS/SD Card Mounted" off
ticks 20
passes 1
clock 2026-03-04 05:06:07
passes 1
dump out/state.json raw_volts sd_card_mounted alarm_holdoff clock_utc.year clock_utc.hour tc_input settings.registration
expect raw_volts 2000
screenshot lcd out/lcd.png
screenshot window out/window.png
quit
)";
    ASSERT_EQ(runner.run_text(script, dir.path()), 0) << runner.last_error().toStdString();
    EXPECT_TRUE(runner.quit_requested());
    QFile f(dir.filePath("out/state.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    EXPECT_EQ(o["raw_volts"].toInt(), 2000);
    EXPECT_EQ(o["sd_card_mounted"].toInt(), 0);
    EXPECT_EQ(o["alarm_holdoff"].toInt(), 4);
    EXPECT_EQ(o["clock_utc.year"].toInt(), 2026);
    EXPECT_EQ(o["clock_utc.hour"].toInt(), 5);
    EXPECT_EQ(o["tc_input"].toArray().size(), 12);
    EXPECT_EQ(o["settings.registration"].toString(), "REG NO  ");
    QImage lcd(dir.filePath("out/lcd.png"));
    EXPECT_EQ(lcd.size(), QSize(480, 272));
    EXPECT_FALSE(QImage(dir.filePath("out/window.png")).isNull());
}

TEST_F(Window, ScenarioErrorsNameTheLine)
{
    host::ScenarioRunner runner(*window);
    EXPECT_NE(runner.run_text("power on\nfly away\n", dir.path(), "s.txt"), 0);
    EXPECT_TRUE(runner.last_error().startsWith("s.txt:2: unknown command fly")) << runner.last_error().toStdString();
    EXPECT_NE(runner.run_text("slider \"EMS/Volts:\" 5000\n", dir.path(), "s.txt"), 0);
    EXPECT_TRUE(runner.last_error().startsWith("s.txt:1: value 5000 outside 0..4096"));
    EXPECT_NE(runner.run_text("key 9\n", dir.path(), "s.txt"), 0);
    EXPECT_NE(runner.run_text("check \"EMS/Nope\" on\n", dir.path(), "s.txt"), 0);
    EXPECT_NE(runner.run_text("dump x.json no_such_variable\n", dir.path(), "s.txt"), 0);
    EXPECT_NE(runner.run_text("expect raw_volts 5\n", dir.path(), "s.txt"), 0);
    EXPECT_NE(runner.run_text("nmea \"unterminated\n", dir.path(), "s.txt"), 0);
    EXPECT_NE(runner.run_text("key\n", dir.path(), "s.txt"), 0);
    EXPECT_EQ(runner.last_error(), "s.txt:1: usage: key N (1..8)");
    EXPECT_NE(runner.run_text("dump x.json\n", dir.path(), "s.txt"), 0);
    EXPECT_EQ(runner.last_error(), "s.txt:1: usage: dump FILE.json NAME...");

    // Script bytes may not interleave with a connected source's.
    QFile log(dir.filePath("a.nmea"));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("$GPGSA,A,3,,,,,,,,,,,,,,,*6E\r\n$GPGSA,A,3,,,,,,,,,,,,,,,*6E\r\n");
    log.close();
    ASSERT_TRUE(window->gps()->nmea_replay()->start(log.fileName(), 0.1, false));
    EXPECT_NE(runner.run_text("nmea x\n", dir.path(), "s.txt"), 0);
    EXPECT_EQ(runner.last_error(), "s.txt:1: nmea: an NMEA source is connected");
    window->gps()->nmea_replay()->stop();
    EXPECT_EQ(runner.run_text("nmea x\n", dir.path(), "s.txt"), 0);

    // Nor with a serial port's, which arrive on its own thread.
    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    window->gps()->serial()->connect_port(QString::fromStdString(pty.slave_path()), "4800");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->gps()->serial()->is_connected(); }, 5000));
    ASSERT_TRUE(pty.write(test::nmea_sentence("GPGSA,A,3,,,,,,,,,,,,,,,")));
    EXPECT_NE(runner.run_text("nmea \"$GPGSA,A,1,,,,,,,,,,,,,,,*6C\\r\\n\"\n", dir.path(), "s.txt"), 0);
    EXPECT_EQ(runner.last_error(), "s.txt:1: nmea: an NMEA source is connected");
    window->gps()->serial()->stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->gps()->sources()->busy(); }, 5000));
    EXPECT_EQ(runner.run_text("nmea x\n", dir.path(), "s.txt"), 0);
}

} // namespace
