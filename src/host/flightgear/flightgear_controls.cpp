#include "host/flightgear/flightgear_controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>

#include "host/flightgear/flightgear_link.h"
#include "host/inputs/control_panel.h"
#include "system/tick.h"

namespace host {

namespace {

const QString GPS_TAB = "GPS (NMEA Protocol)";

} // namespace

QString driven_slider_key(const DrivenInput& d)
{
    const int n = d.index + 1;
    switch (d.input) {
    case SimInput::Tc: return QString("EMS/TC%1").arg(n);
    case SimInput::Aux: return QString("EMS/Input %1:").arg(n);
    case SimInput::FlowPulses: return QString("EMS/Fuel Flow%1:").arg(n);
    case SimInput::FuelLevel: return QString("EMS/Fuel Level%1:").arg(n);
    case SimInput::Volts: return "EMS/Volts:";
    case SimInput::Oat: return "EMS/OAT:";
    case SimInput::Map: return "EMS/MAP:";
    case SimInput::RpmPeriod: return "EMS/RPM:";
    }
    return {};
}

void drive_sliders(const ControlPanel& controls, const std::vector<DrivenInput>& inputs, QStringList& driven)
{
    QStringList now;
    for (const DrivenInput& d : inputs) {
        const QString key = driven_slider_key(d);
        QSlider* s = controls.slider(key);
        if (!s) continue;
        s->setValue(std::clamp(d.value, s->minimum(), s->maximum()));
        s->setEnabled(false);
        now.append(key);
    }
    // A setting changed on the unit may leave a slider undriven (fewer EGT
    // channels, an input switched to another mode): it is the user's again.
    for (const QString& key : std::as_const(driven))
        if (!now.contains(key))
            if (QSlider* s = controls.slider(key)) s->setEnabled(true);
    driven = now;
}

void release_sliders(const ControlPanel& controls, QStringList& driven)
{
    for (const QString& key : std::as_const(driven))
        if (QSlider* s = controls.slider(key)) s->setEnabled(true);
    driven.clear();
}

FlightGearControls::FlightGearControls(FlightGearLink* link, ControlPanel& controls, QObject* parent)
    : QObject(parent), link_(link), controls_(controls)
{
    player_ = new FlightGearPlayer(this);
    // Fixes follow the instrument's time base, so scripted time paces them too.
    link_->set_monotonic_clock([] { return qint64(ems::tick.ticks) * FLIGHTGEAR_TICK_MS; });
    connect(link_, &FlightGearLink::sample_received, this, [this](const FlightGearSample& s) { apply(s); });
    connect(link_, &FlightGearLink::connected_changed, this, [this](bool on) {
        if (!on) release_sliders();
    });
}

void FlightGearControls::tick()
{
    player_->tick();
    link_->pace();
}

void FlightGearControls::passed() { link_->offer_fix(); }

QLineEdit* FlightGearControls::build(QGridLayout* grid, int row)
{
    auto* port = new QLineEdit(QString::number(FLIGHTGEAR_DEFAULT_PORT));
    port->setObjectName("FlightGearPort");
    port->setToolTip("The UDP port on 127.0.0.1 that FlightGear sends the sorvik-ems protocol to "
                     "(--generic=socket,out,10,127.0.0.1,PORT,udp,sorvik-ems)");
    controls_.add_line_edit(GPS_TAB + "/FlightGear Port:", port);
    auto* counts = new QLabel("0 lines, 0 bad");
    counts->setObjectName("FlightGearCounts");
    counts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    counts->setToolTip("Lines received from FlightGear, and the bad ones. None at all: FlightGear "
                       "is not sending here; check its --generic option and that sorvik-ems.xml is in "
                       "its Protocol folder (FlightGear's log names a protocol file it cannot read).");
    // The port and what came in on it share a row: the tab has no height to spare.
    port->setMaximumWidth(port->fontMetrics().horizontalAdvance("000000") + 16);
    auto* line = new QHBoxLayout;
    line->addWidget(port);
    line->addWidget(counts, 1);
    grid->addWidget(new QLabel("FlightGear Port:"), row, 0);
    grid->addLayout(line, row, 1, 1, 2);

    auto show_counts = [this, counts] {
        const quint64 lines = link_->lines_received();
        QString text = QString("%1 lines, %2 bad").arg(lines).arg(link_->bad_lines());
        if (link_->bad_lines() > 0) text += " (last: " + link_->last_bad_reason() + ")";
        else if (link_->waiting_for_flight_model()) text += ", FlightGear starting";
        else if (lines == 0 && link_->is_connected()) text += ", none yet from FlightGear";
        counts->setText(text);
    };
    connect(link_, &FlightGearLink::counts_changed, counts, show_counts);
    connect(link_, &FlightGearLink::connected_changed, counts, show_counts);
    return port;
}

void FlightGearControls::apply(const FlightGearSample& sample)
{
    drive_sliders(controls_, flightgear_inputs(sample), driven_);
}

void FlightGearControls::release_sliders() { host::release_sliders(controls_, driven_); }

} // namespace host
