#include "host/engine/engine_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "engine/units.h"
#include "gps/gps_data.h"
#include "host/flightgear/flightgear_controls.h"
#include "host/flightgear/flightgear_link.h"
#include "host/gps/gps_tab.h"
#include "host/gps/nmea_source.h"
#include "host/gps/nmea_source_selector.h"
#include "host/inputs/control_panel.h"
#include "system/platform.h"

namespace host {

namespace {

constexpr int FIX_EVERY_TICKS = 10; // one fix a second
constexpr int SPEEDS[] = {1, 4, 16};

QComboBox* combo(const QStringList& items)
{
    auto* box = new QComboBox;
    box->addItems(items);
    return box;
}

QSpinBox* spin(int lo, int hi, int value, const QString& suffix)
{
    auto* box = new QSpinBox;
    box->setRange(lo, hi);
    box->setValue(value);
    box->setSuffix(suffix);
    return box;
}

QSlider* percent_slider()
{
    auto* s = new QSlider(Qt::Horizontal);
    s->setRange(0, 100);
    s->setPageStep(5);
    return s;
}

} // namespace

EngineTab::EngineTab(ControlPanel& controls, GpsTab& gps)
    : controls_(controls), gps_tab_(gps), session_(std::make_unique<EngineSession>())
{
    build();
    show_session();
}

EngineTab::~EngineTab() = default;

void EngineTab::build()
{
    auto* top = new QHBoxLayout;
    run_ = new QCheckBox("Run engine");
    run_->setToolTip("The engine drives the EMS sliders it moves (locked while it runs)");
    type_ = combo({"LYC360", "R912"});
    type_->setToolTip("LYC360: four-cylinder air-cooled 180 hp; R912: liquid-cooled heads, 5800 RPM");
    top->addWidget(run_);
    top->addWidget(type_);
    for (auto [caption, state] : {std::pair{"Cold", EngineStart::Cold}, {"Idle", EngineStart::Idle}, {"Cruise", EngineStart::Cruise}}) {
        auto* b = new QPushButton(caption);
        b->setToolTip("Starts the engine in this state");
        connect(b, &QPushButton::clicked, this, [this, state] {
            session_->start_in(state);
            show_session();
        });
        top->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addLayout(top);
    layout->addWidget(build_controls());
    layout->addWidget(build_air());
    layout->addWidget(build_failures());
    readout_ = new QLabel;
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(readout_);
    layout->addStretch(1);

    connect(run_, &QCheckBox::toggled, this, [this](bool on) {
        if (showing_) return;
        QString error;
        if (!set_running(on, error)) {
            readout_->setText(error);
            const bool was = showing_;
            showing_ = true;
            run_->setChecked(false);
            showing_ = was;
        }
    });
    connect(type_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        if (showing_) return;
        if (const engine::EngineProfile* p = engine::profile_named(name.toLatin1().constData())) session_->choose(*p);
        show_session();
    });
}

QWidget* EngineTab::build_controls()
{
    auto* box = new QGroupBox("Controls");
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(1);
    throttle_ = percent_slider();
    mixture_ = percent_slider();
    mags_ = combo({"OFF", "L", "R", "BOTH"});
    tank_ = combo({"OFF", "LEFT", "RIGHT", "BOTH"});
    starter_ = new QPushButton("Starter");
    starter_->setToolTip("Cranks while held");
    lean_find_ = new QPushButton("Lean-find");
    lean_find_->setCheckable(true);
    lean_find_->setToolTip("Leans slowly until every cylinder is past its peak: watch LEAN MODE");
    master_ = new QCheckBox("Master");
    alternator_ = new QCheckBox("Alternator");
    boost_ = new QCheckBox("Boost pump");
    grid->addWidget(new QLabel("Throttle:"), 0, 0);
    grid->addWidget(throttle_, 0, 1, 1, 3);
    grid->addWidget(new QLabel("Mixture:"), 1, 0);
    grid->addWidget(mixture_, 1, 1, 1, 2);
    grid->addWidget(lean_find_, 1, 3);
    grid->addWidget(new QLabel("Magnetos:"), 2, 0);
    grid->addWidget(mags_, 2, 1);
    grid->addWidget(starter_, 2, 2);
    grid->addWidget(new QLabel("Fuel:"), 3, 0);
    grid->addWidget(tank_, 3, 1);
    auto* switches = new QHBoxLayout;
    switches->addWidget(master_);
    switches->addWidget(alternator_);
    switches->addWidget(boost_);
    grid->addLayout(switches, 3, 2, 1, 2);

    auto& c = session_->controls;
    connect(throttle_, &QSlider::valueChanged, this, [this, &c](int v) { if (!showing_) c.throttle = v / 100.0; });
    connect(mixture_, &QSlider::valueChanged, this, [this, &c](int v) { if (!showing_) c.mixture = v / 100.0; });
    connect(mags_, &QComboBox::currentIndexChanged, this, [this, &c](int i) { if (!showing_) c.magnetos = engine::Magnetos(i); });
    connect(tank_, &QComboBox::currentIndexChanged, this, [this, &c](int i) { if (!showing_) c.tank = engine::TankSelector(i); });
    connect(starter_, &QPushButton::pressed, this, [&c] { c.starter = true; });
    connect(starter_, &QPushButton::released, this, [&c] { c.starter = false; });
    connect(lean_find_, &QPushButton::toggled, this, [this](bool on) { if (!showing_) session_->set_lean_find(on); });
    connect(master_, &QCheckBox::toggled, this, [this, &c](bool on) { if (!showing_) c.master = on; });
    connect(alternator_, &QCheckBox::toggled, this, [this, &c](bool on) { if (!showing_) c.alternator_field = on; });
    connect(boost_, &QCheckBox::toggled, this, [this, &c](bool on) { if (!showing_) c.boost_pump = on; });
    return box;
}

QWidget* EngineTab::build_air()
{
    auto* box = new QGroupBox("Air and GPS");
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(1);
    altitude_ = spin(-1000, 25000, 0, " ft");
    altitude_->setSingleStep(500);
    oat_ = spin(-50, 50, 15, " C");
    airspeed_ = spin(0, 250, 0, " kt");
    airspeed_->setSingleStep(10);
    gps_box_ = combo({"GPS off", "Standing still", "Flying the track"});
    gps_box_->setToolTip("Fixes once a second while no NMEA source is connected; the track is flown at the airspeed");
    speed_ = combo({"Time x1", "Time x4", "Time x16"});
    grid->addWidget(new QLabel("Altitude:"), 0, 0);
    grid->addWidget(altitude_, 0, 1);
    grid->addWidget(new QLabel("OAT:"), 0, 2);
    grid->addWidget(oat_, 0, 3);
    grid->addWidget(new QLabel("Airspeed:"), 1, 0);
    grid->addWidget(airspeed_, 1, 1);
    grid->addWidget(gps_box_, 1, 2);
    grid->addWidget(speed_, 1, 3);
    auto& air = session_->air;
    connect(altitude_, &QSpinBox::valueChanged, this, [this, &air](int ft) { if (!showing_) air.altitude_m = ft * engine::METRES_PER_FOOT; });
    connect(oat_, &QSpinBox::valueChanged, this, [this, &air](int c) { if (!showing_) air.oat_k = engine::kelvin_from_c(c); });
    connect(airspeed_, &QSpinBox::valueChanged, this, [this, &air](int kt) { if (!showing_) air.airspeed_ms = kt * engine::MS_PER_KNOT; });
    connect(gps_box_, &QComboBox::currentIndexChanged, this, [this](int i) { if (!showing_) set_gps(EngineGps(i)); });
    connect(speed_, &QComboBox::currentIndexChanged, this, [this](int i) { if (!showing_) session_->set_steps_per_tick(SPEEDS[i]); });
    return box;
}

QWidget* EngineTab::build_failures()
{
    auto* box = new QGroupBox("Failures");
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(0);
    int row = 0, single = 0;
    for (const EngineFailureInfo& f : ENGINE_FAILURE_TABLE) {
        auto add = [this, &f](QCheckBox* check, int cyl) {
            failure_boxes_.insert(check, {f.id, cyl});
            connect(check, &QCheckBox::toggled, this, [this, id = f.id, cyl](bool on) {
                if (!showing_) session_->set_failure(id, cyl, on);
            });
        };
        if (f.per_cylinder) {
            grid->addWidget(new QLabel(QString(f.caption) + ":"), row, 0);
            for (int cyl = 0; cyl < engine::MAX_CYLINDERS; ++cyl) {
                auto* check = new QCheckBox(QString::number(cyl + 1));
                check->setToolTip(QString("%1, cylinder %2").arg(f.caption).arg(cyl + 1));
                grid->addWidget(check, row, 1 + cyl);
                add(check, cyl);
            }
            ++row;
        } else {
            auto* check = new QCheckBox(f.caption);
            grid->addWidget(check, row + single / 2, 1 + (single % 2) * 3, 1, 3);
            add(check, 0);
            ++single;
        }
    }
    return box;
}

bool EngineTab::set_running(bool on, QString& error)
{
    if (on && gps_tab_.flightgear() && gps_tab_.flightgear()->is_busy()) {
        error = "engine: the FlightGear link drives the inputs";
        return false;
    }
    running_ = on;
    if (!on) release_sliders(controls_, driven_);
    show_session();
    return true;
}

void EngineTab::set_gps(EngineGps gps)
{
    gps_ = gps;
    session_->flight.moving = gps == EngineGps::Fly;
    show_session();
}

void EngineTab::tick()
{
    if (!running_) return;
    if (gps_tab_.flightgear() && gps_tab_.flightgear()->is_busy()) {
        QString unused;
        set_running(false, unused); // the link, started since, takes the sliders over
        return;
    }
    drive_sliders(controls_, session_->tick(), driven_);

    if (gps_ != EngineGps::Off && ++ticks_since_fix_ >= FIX_EVERY_TICKS) {
        ticks_since_fix_ = 0;
        const ems::UtcTime t = ems::platform().clock().utc_time();
        const UtcStamp stamp{t.year + 1900, t.month + 1, t.day, t.hour, t.minute, t.second};
        const FlightGearSample sample = engine_sample(session_->model().outputs(), session_->air, session_->flight);
        waiting_fix_ = QByteArray::fromStdString(flightgear_nmea(sample, stamp, gsv_part_));
        gsv_part_ ^= 1;
        offer_fix();
    }
    if (lean_find_->isChecked() != session_->lean_finding()) show_session();
    show_readout();
}

// A fix waits until the main loop has taken the previous one, and goes only
// while no NMEA source feeds the receive handler.
void EngineTab::offer_fix()
{
    if (waiting_fix_.isEmpty() || !running_ || gps_ == EngineGps::Off) return;
    if (gps_tab_.sources() && gps_tab_.sources()->busy()) return;
    for (const std::atomic<uint8_t>* flag : {&ems::nmea.nmea_rmc_new, &ems::nmea.nmea_gga_new, &ems::nmea.nmea_gsa_new, &ems::nmea.nmea_gsv_new})
        if (flag->load(std::memory_order_acquire) != 0) return;
    const QByteArray fix = std::exchange(waiting_fix_, {});
    feed_receive_handler(reinterpret_cast<const uint8_t*>(fix.constData()), size_t(fix.size()));
}

void EngineTab::show_session()
{
    const bool was = showing_;
    showing_ = true;
    const EngineSession& s = *session_;
    const engine::Controls& c = s.controls;
    run_->setChecked(running_);
    type_->setCurrentText(s.model().profile().name);
    throttle_->setValue(int(std::lround(c.throttle * 100)));
    mixture_->setValue(int(std::lround(c.mixture * 100)));
    mixture_->setEnabled(s.model().profile().mixture_control);
    lean_find_->setEnabled(s.model().profile().mixture_control);
    lean_find_->setChecked(s.lean_finding());
    mags_->setCurrentIndex(int(c.magnetos));
    tank_->setCurrentIndex(int(c.tank));
    master_->setChecked(c.master);
    alternator_->setChecked(c.alternator_field);
    boost_->setChecked(c.boost_pump);
    altitude_->setValue(int(std::lround(s.air.altitude_m / engine::METRES_PER_FOOT)));
    oat_->setValue(int(std::lround(engine::c_from_kelvin(s.air.oat_k))));
    airspeed_->setValue(int(std::lround(s.air.airspeed_ms / engine::MS_PER_KNOT)));
    gps_box_->setCurrentIndex(int(gps_));
    const int speed = int(std::find(std::begin(SPEEDS), std::end(SPEEDS), s.steps_per_tick()) - std::begin(SPEEDS));
    speed_->setCurrentIndex(speed < 3 ? speed : 0);
    const int cylinders = s.model().profile().cylinders;
    for (auto it = failure_boxes_.cbegin(); it != failure_boxes_.cend(); ++it) {
        const auto [id, cyl] = it.value();
        it.key()->setChecked(s.failure(id, cyl));
        it.key()->setVisible(cyl < cylinders);
    }
    show_readout();
    showing_ = was;
}

void EngineTab::show_readout()
{
    const engine::Outputs& o = session_->model().outputs();
    readout_->setText(QString("%1, %2 RPM, %3 inHg, %4 gph, %5 hp")
                          .arg(o.running ? "running" : "stopped")
                          .arg(std::lround(o.rpm))
                          .arg(o.map_pa / engine::PA_PER_INHG, 0, 'f', 1)
                          .arg(o.fuel_flow_l_per_h / engine::LITRES_PER_US_GALLON, 0, 'f', 1)
                          .arg(std::lround(std::max(0.0, o.brake_power_w) / engine::WATTS_PER_HP)));
}

bool EngineTab::command(const std::vector<std::string>& words, QString& error)
{
    // The GPS word is the tab's: the session knows only whether the aeroplane moves.
    if (words.size() >= 3 && words[1] == "gps" && words[2] == "off") {
        if (words.size() != 3) return error = "engine gps off takes nothing", false;
        set_gps(EngineGps::Off);
        return true;
    }
    EngineDriveRequest drive = EngineDriveRequest::None;
    std::string why;
    const bool ok = engine_command(*session_, words, drive, why);
    if (!ok) {
        error = QString::fromStdString(why);
        return false;
    }
    if (words[1] == "gps") gps_ = session_->flight.moving ? EngineGps::Fly : EngineGps::Still;
    if (drive != EngineDriveRequest::None && !set_running(drive == EngineDriveRequest::On, error)) return false;
    show_session();
    return true;
}

} // namespace host
