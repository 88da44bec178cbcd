// The FlightGear link on the window: its port and counts on the GPS tab, and
// the sensor sliders it moves. While the link feeds them the sliders follow
// it and are locked; when it stops they are the user's again, where the link
// left them.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>

#include "host/flightgear_link.h"
#include "host/main_window.h"
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

QLineEdit* TfrmMain::build_flightgear_controls(QGridLayout* grid, int row)
{
    auto* port = new QLineEdit(QString::number(FLIGHTGEAR_DEFAULT_PORT));
    port->setObjectName("FlightGearPort");
    port->setToolTip("The UDP port on 127.0.0.1 that FlightGear sends the sorvik-ems protocol to "
                     "(--generic=socket,out,10,127.0.0.1,PORT,udp,sorvik-ems)");
    line_edits_.insert(GPS_TAB + "/FlightGear Port:", port);
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

    flightgear_player_ = new FlightGearPlayer(this);
    connect(this, &TfrmMain::ticked, flightgear_player_, &FlightGearPlayer::tick);
    connect(this, &TfrmMain::ticked, flightgear_, &FlightGearLink::pace);
    connect(this, &TfrmMain::passed, flightgear_, &FlightGearLink::offer_fix);
    // Fixes follow the instrument's time base, so scripted time paces them too.
    flightgear_->setMonotonicClock([] { return qint64(ems::tick.ticks) * FLIGHTGEAR_TICK_MS; });
    flightgear_->setClock([this] {
        const ems::UtcTime t = platform_.utc_time();
        return UtcStamp{t.year + 1900, t.month + 1, t.day, t.hour, t.minute, t.second};
    });
    connect(flightgear_, &FlightGearLink::sampleReceived, this, [this](const FlightGearSample& s) { apply_flightgear(s); });
    connect(flightgear_, &FlightGearLink::connectedChanged, this, [this](bool on) {
        if (!on) release_flightgear_sliders();
    });
    auto show_counts = [this, counts] {
        const quint64 lines = flightgear_->linesReceived();
        QString text = QString("%1 lines, %2 bad").arg(lines).arg(flightgear_->badLines());
        if (flightgear_->badLines() > 0) text += " (last: " + flightgear_->lastBadReason() + ")";
        else if (flightgear_->waitingForFlightModel()) text += ", FlightGear starting";
        else if (lines == 0 && flightgear_->isConnected()) text += ", none yet from FlightGear";
        counts->setText(text);
    };
    connect(flightgear_, &FlightGearLink::countsChanged, counts, show_counts);
    connect(flightgear_, &FlightGearLink::connectedChanged, counts, show_counts);
    return port;
}

void drive_sliders(const TfrmMain& window, const std::vector<DrivenInput>& inputs, QStringList& driven)
{
    QStringList now;
    for (const DrivenInput& d : inputs) {
        const QString key = driven_slider_key(d);
        QSlider* s = window.slider(key);
        if (!s) continue;
        s->setValue(std::clamp(d.value, s->minimum(), s->maximum()));
        s->setEnabled(false);
        now.append(key);
    }
    // A setting changed on the unit may leave a slider undriven (fewer EGT
    // channels, an input switched to another mode): it is the user's again.
    for (const QString& key : std::as_const(driven))
        if (!now.contains(key))
            if (QSlider* s = window.slider(key)) s->setEnabled(true);
    driven = now;
}

void release_sliders(const TfrmMain& window, QStringList& driven)
{
    for (const QString& key : std::as_const(driven))
        if (QSlider* s = window.slider(key)) s->setEnabled(true);
    driven.clear();
}

void TfrmMain::apply_flightgear(const FlightGearSample& sample)
{
    drive_sliders(*this, flightgear_inputs(sample), flightgear_driven_);
}

void TfrmMain::release_flightgear_sliders() { release_sliders(*this, flightgear_driven_); }

} // namespace host
