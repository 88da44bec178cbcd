#include "host/window/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "app/power.h"
#include "gfx/framebuffer.h"
#include "host/card/card_slot.h"
#include "host/flightgear/core/flightgear_drive.h"
#include "host/flightgear/flightgear_controls.h"
#include "host/flightgear/flightgear_link.h"
#include "host/engine/engine_tab.h"
#include "host/gps/gps_tab.h"
#include "host/gps/nmea_source_selector.h"
#include "host/gps/serial_link.h"
#include "host/inputs/control_panel.h"
#include "host/inputs/sensor_presets.h"
#include "host/replay/instrument_replay.h"
#include "host/replay/replay_menu.h"
#include "host/state/save_states.h"
#include "host/viewer/flight_viewers.h"
#include "host/window/alarm_sound.h"
#include "host/window/front_panel.h"
#include "host/window/client_area.h"
#include "host/window/front_view.h"
#include "host/window/help_menu.h"
#include "host/window/key_map.h"
#include "host/window/lcd_panel.h"
#include "host/window/status_line.h"
#include "host/window/unit_runner.h"
#include "ops/data_recording.h"
#include "ui/screen.h"

namespace host {

namespace {

constexpr int STATUS_INTERVAL_MS = 250;

std::filesystem::path working_path(const QString& dir)
{
    return dir.isEmpty() ? std::filesystem::current_path() : std::filesystem::path(dir.toStdString());
}

void warn(QWidget* parent, const QString& message)
{
    auto* box = new QMessageBox(QMessageBox::Warning, "Sorvik", message, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace

TfrmMain::TfrmMain(const QString& working_dir, QWidget* parent)
    : QMainWindow(parent), runner_(std::make_unique<UnitRunner>(working_path(working_dir), this))
{
    setWindowTitle("Sorvik EMS G2 Simulator");
    setObjectName("frmMain");

    auto* central = new QWidget(this);
    central->setMinimumSize(client_size(1));
    central->installEventFilter(this); // its size decides the zoom (window_zoom.cpp)
    setCentralWidget(central);
    // The tabs are built first, for the table of controls the front adds its
    // buttons to, and join the window after the front, which takes the focus.
    inputs_ = new ControlPanel;
    gps_ = new GpsTab(*inputs_);
    inputs_->insertTab(1, gps_, "GPS (NMEA Protocol)");
    engine_ = new EngineTab(*inputs_, *gps_);
    inputs_->addTab(engine_, "Engine");
    front_ = new FrontView(*inputs_, central);
    inputs_->setParent(central);
    inputs_->setGeometry(client_size(1).width() - TABS_WIDTH, 0, TABS_WIDTH, TABS_HEIGHT);
    connect(front_, &FrontView::on_clicked, this, [this] { Button1Click(); });
    connect(front_, &FrontView::off_clicked, this, [this] { Button2Click(); });

    // What the firmware reads and shows through its platform.
    WindowPlatform& platform = runner_->platform();
    platform.lcd = front_->lcd();
    platform.echo_sink = gps_->echo();
    for (size_t i = 0; i < platform.boxes.size(); ++i) platform.boxes[i] = inputs_->box(ems::CheckBox(i));
    const struct {
        ems::PowerOnSlider id;
        const char* key;
    } power_on_sliders[] = {
        {ems::PowerOnSlider::Volts, "EMS/Volts:"},
        {ems::PowerOnSlider::Oat, "EMS/OAT:"},
        {ems::PowerOnSlider::Rpm, "EMS/RPM:"},
    };
    for (const auto& s : power_on_sliders)
        platform.wire_slider(s.id, inputs_->slider(s.key), inputs_->slider_label(s.key));
    viewers_ = new FlightViewers(platform.card(), this);
    replay_ = new InstrumentReplay(*inputs_, gps_->sources(), this);
    // The replay and the built-in engine drive the same sliders: one at a time.
    connect(replay_, &InstrumentReplay::taking_inputs, engine_, [this] {
        QString unused;
        engine_->set_running(false, unused);
    });
    engine_->set_inputs_taken([this] { return replay_->is_running() ? QString("the recording replay") : QString(); });
    states_ = new SaveStates(*this);
    build_menus();

    status_ = new StatusLine(statusBar());
    card_ = new CardSlot(platform.card(), platform.card_out, statusBar(), this);
    status_timer_ = new QTimer(this);
    status_timer_->setInterval(STATUS_INTERVAL_MS);
    connect(status_timer_, &QTimer::timeout, this, [this] {
        update_power_state();
        refresh_status();
        inputs_->refresh_readouts();
    });
    status_timer_->start();
    connect(gps_->sources(), &NmeaSourceSelector::changed, this, [this] { refresh_status(); });
    update_power_state();
    refresh_status();
    inputs_->refresh_readouts();

    // A card switch goes on between passes, before anything else sees the pass.
    connect(runner_.get(), &UnitRunner::passed, card_, &CardSlot::after_pass);
    FlightGearControls* flightgear = gps_->flightgear_controls();
    connect(runner_.get(), &UnitRunner::ticked, flightgear, &FlightGearControls::tick);
    connect(runner_.get(), &UnitRunner::passed, flightgear, &FlightGearControls::passed);
    connect(runner_.get(), &UnitRunner::ticked, replay_, &InstrumentReplay::tick);
    connect(runner_.get(), &UnitRunner::ticked, engine_, &EngineTab::tick);
    connect(runner_.get(), &UnitRunner::passed, engine_, &EngineTab::offer_fix);
    gps_->flightgear()->set_clock([this] {
        const ems::UtcTime t = runner_->platform().utc_time();
        return UtcStamp{t.year + 1900, t.month + 1, t.day, t.hour, t.minute, t.second};
    });
    connect(runner_.get(), &UnitRunner::settled, this, [this] {
        update_power_state();
        inputs_->refresh_readouts();
    });

    // FormCreate: the frame buffer exists for the window's life; the run
    // screen becomes the active screen, once.
    platform.install();
    ems::form_create();
    runner_->present();

    for (const KeyboardKey& k : KEYBOARD_KEYS) {
        if (!k.anywhere) continue;
        auto* sc = new QShortcut(QKeySequence(k.key), this);
        sc->setContext(Qt::ApplicationShortcut);
        connect(sc, &QShortcut::activated, this, [code = k.code] { ems::key_press(code); });
    }

    restore_zoom();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.center() - rect().center());
    }
}

TfrmMain::~TfrmMain()
{
    runner_->stop();
    status_timer_->stop();
    gps_->close_sources(); // closes the serial port and joins its thread
    // Every way out (a script's quit or failure, the end of the program)
    // hands the recording's buffered seconds to the card before it goes.
    ems::data_recording_close();
    ems::set_platform({});
}

void TfrmMain::Button1Click()
{
    // "&On" while the firmware runs only cancels a pending "&Off".
    if (!ems::power_on()) return;
    states_->apply_pending();
    front_->setFocus();
    update_power_state();
    runner_->start_frames();
}

void TfrmMain::Button2Click()
{
    ems::power_off();
    update_power_state();
}

void TfrmMain::Exit1Click()
{
    states_->keep_for_resume();
    ems::power_off();
    ems::data_recording_close(); // no pass follows to close it
    if (gps_->sources()) gps_->sources()->stop();
    QApplication::quit();
}

void TfrmMain::closeEvent(QCloseEvent* e)
{
    states_->keep_for_resume();
    if (gps_->sources()) gps_->sources()->stop();
    ems::power_off();
    ems::data_recording_close(); // no pass follows to close it
    e->accept();
    QApplication::quit();
}

void TfrmMain::build_menus()
{
    QMenu* file = menuBar()->addMenu("&File");
    QAction* open_card = file->addAction("Open Card Folder...");
    open_card->setShortcut(QKeySequence("Ctrl+O"));
    connect(open_card, &QAction::triggered, this, [this] { card_->open_folder(); });
    connect(file->addAction("Open Flight Data..."), &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Open Flight Data", viewers_->data_folder(),
                                                          "Flight data (*.csv *.CSV);;All files (*)");
        if (!path.isEmpty()) viewers_->open_later(path, [this](const QString& error) { warn(this, error); });
    });
    connect(file->addAction("Flights on the Card..."), &QAction::triggered, this, [this] { viewers_->show_list(); });
    add_replay_menu(file, replay_, this, [this] { return viewers_->data_folder(); });
    file->addSeparator();
    connect(file->addAction("Load State..."), &QAction::triggered, this, [this] { states_->load_from(); });
    connect(file->addAction("Save State..."), &QAction::triggered, this, [this] { states_->save_as(); });
    file->addSeparator();
    connect(file->addAction("Load Sensor Preset..."), &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Load Sensor Preset", QString(),
                                                          "Sensor presets (*.preset);;All files (*)");
        QString error;
        if (!path.isEmpty() && !load_sensor_preset(*inputs_, path, error)) warn(this, error);
    });
    connect(file->addAction("Save Sensor Preset..."), &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, "Save Sensor Preset", "sensors.preset",
                                                          "Sensor presets (*.preset);;All files (*)");
        QString error;
        if (!path.isEmpty() && !save_sensor_preset(*inputs_, path, error)) warn(this, error);
    });
    file->addSeparator();
    QAction* save_lcd = file->addAction("Save LCD Screenshot");
    save_lcd->setShortcut(QKeySequence("Ctrl+Shift+S"));
    connect(save_lcd, &QAction::triggered, this, [this] {
        const QString name = "sorvik-lcd-" + QDateTime::currentDateTime().toString("yyyyMMdd-hhmmss") + ".png";
        const QString path = QFileDialog::getSaveFileName(this, "Save LCD Screenshot", name, "PNG pictures (*.png)");
        if (!path.isEmpty() && !front_->save_lcd_screenshot(path)) warn(this, "Cannot write " + path);
    });
    QAction* copy_lcd = file->addAction("Copy LCD to Clipboard");
    copy_lcd->setShortcut(QKeySequence("Ctrl+Shift+C"));
    connect(copy_lcd, &QAction::triggered, this, [this] { front_->copy_lcd_to_clipboard(); });
    file->addSeparator();
    QAction* exit = file->addAction("&Exit");
    exit->setShortcut(QKeySequence("Ctrl+Q")); // the platform's Quit key may be none
    connect(exit, &QAction::triggered, this, [this] { Exit1Click(); });

    QMenu* view = menuBar()->addMenu("&View");
    QMenu* zoom = view->addMenu("&Zoom");
    auto* group = new QActionGroup(this);
    for (int z = 1; z <= MAX_ZOOM; ++z) {
        QAction* a = zoom->addAction(QString("%1x").arg(z));
        a->setCheckable(true);
        a->setData(z);
        a->setShortcut(QKeySequence(QString("Ctrl+%1").arg(z)));
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, z] { set_zoom(z); });
    }
    zoom->setObjectName("ZoomMenu");
    QAction* mute = view->addAction("Mute Alarm");
    mute->setObjectName("MuteAlarm");
    mute->setCheckable(true);
    mute->setChecked(runner_->alarm_sound()->muted());
    connect(mute, &QAction::toggled, this, [this](bool on) { runner_->alarm_sound()->set_muted(on); });
    QAction* resume = view->addAction("Resume Where I Left Off");
    resume->setCheckable(true);
    resume->setChecked(SaveStates::resume_enabled());
    connect(resume, &QAction::toggled, this, [](bool on) { SaveStates::set_resume_enabled(on); });
    build_help_menu(this);
}

void TfrmMain::update_power_state()
{
    const bool on = ems::firmware_running();
    front_->power_lamp()->set_on(on);
    status_->show_power(on, ems::in_power_on_phase());
    if (on != powered_shown_) {
        powered_shown_ = on;
        // Off, the unit's display goes dark; on again, the next present shows the frame.
        front_->lcd()->set_dark(!on);
        inputs_->refresh_readouts();
    }
}

void TfrmMain::refresh_status()
{
    status_->show_rate(runner_->passes(), runner_->virtual_time());
    const NmeaSourceSelector* sources = gps_->sources();
    status_->show_source(*(sources->busy() ? sources->busy() : sources->source(sources->chosen())));
}

} // namespace host
