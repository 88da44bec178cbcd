#include "host/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include "gfx/framebuffer.h"
#include "host/alarm_sound.h"
#include "host/front_panel.h"
#include "host/key_map.h"
#include "host/lcd_panel.h"
#include "host/serial_port.h"
#include "app/power.h"
#include "app/tick.h"
#include "ops/data_recording.h"
#include "ui/screen.h"

namespace host {

namespace {

constexpr int CLIENT_WIDTH = 1065;
constexpr int CLIENT_HEIGHT = 496;
constexpr int FRAME_INTERVAL_MS = 16; // about 60 frames per second
// Splash and notice passes per frame: about 250 per second, so each phase
// lasts about 10 s. Main-loop passes stay at one per frame, since the
// thermocouple history and the filters count passes.
constexpr int PHASE_PASSES_PER_FRAME = 4;

std::filesystem::path working_path(const QString& dir)
{
    return dir.isEmpty() ? std::filesystem::current_path() : std::filesystem::path(dir.toStdString());
}

} // namespace

TfrmMain::TfrmMain(const QString& working_dir, QWidget* parent)
    : QMainWindow(parent), platform_(working_path(working_dir), this)
{
    setWindowTitle("Sorvik EMS G2 Simulator");
    setObjectName("frmMain");

    auto* central = new QWidget(this);
    central->setMinimumSize(CLIENT_WIDTH, CLIENT_HEIGHT);
    central->installEventFilter(this); // its size decides the zoom (window_view.cpp)
    setCentralWidget(central);
    alarm_sound_ = new AlarmSound(this);
    build_front(central);
    build_tabs(central);
    wire_platform();
    build_menus();
    build_status_bar();
    show_card();

    timer1_ = new QTimer(this);
    timer1_->setSingleShot(true);
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, [this] { deliver_ticks(); });
    tick_clock_.start();
    tick_pacer_.start(tick_clock_.elapsed());
    timer1_->start(int(TICK_MS));

    frame_timer_ = new QTimer(this);
    frame_timer_->setTimerType(Qt::PreciseTimer);
    frame_timer_->setInterval(FRAME_INTERVAL_MS);
    connect(frame_timer_, &QTimer::timeout, this, [this] { frame(); });

    // FormCreate: the frame buffer exists for the window's life; the run
    // screen becomes the active screen, once.
    platform_.install();
    ems::form_create();
    present();

    for (const KeyboardKey& k : KEYBOARD_KEYS) {
        if (!k.anywhere) continue;
        auto* sc = new QShortcut(QKeySequence(k.key), this);
        sc->setContext(Qt::ApplicationShortcut);
        connect(sc, &QShortcut::activated, this, [this, code = k.code] { press_key(code); });
    }

    restore_zoom();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.center() - rect().center());
    }
}

TfrmMain::~TfrmMain()
{
    frame_timer_->stop();
    timer1_->stop();
    status_timer_->stop();
    sources_.reset(); // closes the serial port and joins its thread
    // Every way out (a script's quit or failure, the end of the program)
    // hands the recording's buffered seconds to the card before it goes.
    ems::data_recording_close();
    ems::set_platform({});
}

void TfrmMain::build_front(QWidget* central)
{
    front_ = new QWidget(central);
    front_->setObjectName("Image1");
    front_->setGeometry(0, 0, FRONT_WIDTH, FRONT_HEIGHT);
    front_->setFocusPolicy(Qt::StrongFocus);
    front_->installEventFilter(this);
    auto* picture = new QLabel(front_);
    picture->setGeometry(0, 0, FRONT_WIDTH, FRONT_HEIGHT);
    picture->setPixmap(draw_front_panel());
    picture->setScaledContents(true);

    panel1_ = new LcdPanel(front_);
    panel1_->setObjectName("Panel1");
    panel1_->move(LCD_RECT.topLeft());

    const char* names[5] = {"Image2", "Image3", "Image4", "Image5", "Image7"};
    for (int i = 0; i < 5; ++i) {
        auto* k = new KeyArea(i + 1, false, front_);
        k->setObjectName(names[i]);
        k->setGeometry(soft_key_rect(i));
        k->setToolTip(QString("Soft key %1 (%2)").arg(i + 1).arg(keyboard_keys_of(uint8_t(i + 1))));
        keys_[i] = k;
    }
    auto* knob = new KeyArea(6, true, front_);
    knob->setObjectName("Image8");
    knob->setGeometry(KNOB_RECT);
    knob->setToolTip(QString("Knob: click to push (%1); the wheel turns it, down clockwise (%2), up "
                             "anticlockwise (%3)")
                         .arg(keyboard_keys_of(ems::KEY_PUSH), keyboard_keys_of(ems::KEY_CW),
                              keyboard_keys_of(ems::KEY_CCW)));
    keys_[5] = knob;
    for (KeyArea* k : keys_) {
        connect(k, &KeyArea::pressed, this, [this](int code) {
            front_->setFocus();
            press_key(code);
        });
        connect(k, &KeyArea::wheelTurned, this, [this](int steps) { wheel_knob(steps); });
    }

    auto make_button = [&](const QString& caption, const QString& name, QRect geometry, bool bold) {
        auto* b = new QPushButton(caption, front_);
        b->setObjectName(name);
        b->setGeometry(geometry);
        b->setFocusPolicy(Qt::NoFocus);
        if (bold) {
            QFont f = b->font();
            f.setBold(true);
            b->setFont(f);
        }
        buttons_.insert(caption, b);
        return b;
    };
    auto* plus = make_button("+", "Button3", QRect(456, 448, 33, 22), true);
    auto* minus = make_button("-", "Button4", QRect(496, 448, 33, 22), true);
    connect(plus, &QPushButton::clicked, this, [this] { press_key(ems::KEY_CW); });
    connect(minus, &QPushButton::clicked, this, [this] { press_key(ems::KEY_CCW); });
    auto* on = make_button("&On", "Button1", QRect(344, 16, 75, 25), false);
    // Alt+F for "Off": Alt+O is "On".
    auto* off = make_button("O&ff", "Button2", QRect(440, 16, 75, 25), false);
    buttons_.insert("&Off", off); // the name scripts and callers have used
    power_lamp_ = new PowerLamp(front_);
    power_lamp_->setObjectName("PowerLamp");
    power_lamp_->setGeometry(322, 21, 15, 15);
    for (QObject* child : front_->children())
        if (auto* w = qobject_cast<QWidget*>(child)) front_geometry_.insert(w, w->geometry());
    connect(on, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(off, &QPushButton::clicked, this, [this] { Button2Click(); });
}

KeyArea* TfrmMain::key_area(int code) const
{
    return code >= 1 && code <= 6 ? keys_[code - 1] : nullptr;
}

void TfrmMain::press_key(int code) { ems::key_press(uint8_t(code)); }

void TfrmMain::wheel_knob(int steps)
{
    // The wheel turned towards the user (down) turns the knob clockwise, down
    // a list, as desktop lists scroll. One key is pending at most, as on the
    // unit, so a fast spin loses detents.
    for (int i = 0; i < std::abs(steps); ++i) press_key(steps < 0 ? ems::KEY_CW : ems::KEY_CCW);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == front_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (const KeyboardKey& k : KEYBOARD_KEYS)
            if (!k.anywhere && k.key == key) {
                press_key(k.code);
                return true;
            }
    }
    if (watched == front_ && event->type() == QEvent::MouseButtonPress) front_->setFocus();
    if (watched == centralWidget() && event->type() == QEvent::Resize && page_control1_)
        fit_client(static_cast<QResizeEvent*>(event)->size());
    if (event->type() == QEvent::MouseButtonDblClick && watched->property("slider_key").isValid()) {
        type_slider_value(watched->property("slider_key").toString());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::Button1Click()
{
    // "&On" while the firmware runs only cancels a pending "&Off".
    if (!ems::power_on()) return;
    apply_pending_state();
    front_->setFocus();
    update_power_state();
    if (!virtual_time_) frame_timer_->start();
}

void TfrmMain::Button2Click()
{
    ems::power_off();
    update_power_state();
}

void TfrmMain::Exit1Click()
{
    keep_for_resume();
    ems::power_off();
    ems::data_recording_close(); // no pass follows to close it
    if (sources_) sources_->stop();
    QApplication::quit();
}

void TfrmMain::closeEvent(QCloseEvent* e)
{
    keep_for_resume();
    if (sources_) sources_->stop();
    ems::power_off();
    ems::data_recording_close(); // no pass follows to close it
    e->accept();
    QApplication::quit();
}

void TfrmMain::Timer1Timer()
{
    ems::Timer1Timer();
    emit ticked();
}

void TfrmMain::deliver_ticks()
{
    // However late the timer fired, every tick that fell due meanwhile runs.
    for (int n = tick_pacer_.take_due(tick_clock_.elapsed()); n > 0; --n) Timer1Timer();
    if (!virtual_time_) timer1_->start(int(tick_pacer_.wait_ms(tick_clock_.elapsed())));
}

void TfrmMain::frame()
{
    // Only the last pass of a frame is shown; the ones before it only count.
    platform_.hold_presents();
    ems::firmware_pass();
    ++passes_;
    for (int i = 1; i < PHASE_PASSES_PER_FRAME && ems::in_power_on_phase(); ++i) {
        ems::firmware_pass();
        ++passes_;
    }
    platform_.release_presents();
    after_pass();
    emit passed();
    alarm_sound_->update();
    if (!ems::firmware_running()) {
        frame_timer_->stop();
        update_power_state();
    }
}

void TfrmMain::set_virtual_time(bool on)
{
    virtual_time_ = on;
    if (on) {
        timer1_->stop();
        frame_timer_->stop();
    } else {
        // Real time takes over from now; the scripted stretch is not made up.
        tick_pacer_.start(tick_clock_.elapsed());
        timer1_->start(int(TICK_MS));
        if (ems::firmware_running()) frame_timer_->start();
    }
}

void TfrmMain::advance_ticks(int n)
{
    for (int i = 0; i < n; ++i) {
        platform_.clock_tick();
        ems::Timer1Timer();
        emit ticked();
    }
    // Sockets, replays and the serial port report through events, whether
    // or not the firmware runs.
    QCoreApplication::processEvents();
}

void TfrmMain::run_passes(int n)
{
    // While the firmware is off the passes do nothing, but the events they
    // would have let through are still processed, one round each.
    for (int i = 0; i < n; ++i) {
        if (ems::firmware_running()) {
            ems::firmware_pass();
            ++passes_;
            after_pass();
            emit passed();
        }
        alarm_sound_->update();
        QCoreApplication::processEvents();
    }
    update_power_state();
    refresh_readouts();
}

} // namespace host
