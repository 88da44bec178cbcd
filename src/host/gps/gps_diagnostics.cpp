#include "host/gps/gps_diagnostics.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "host/gps/core/nmea_watch.h"
#include "host/gps/nmea_source.h"
#include "host/inputs/control_panel.h"

namespace host {

namespace {

constexpr int DIAGNOSTICS_REFRESH_MS = 250;
const QString GPS_TAB = "GPS (NMEA Protocol)";

// The counters shown, in their order on the tab.
const struct {
    NmeaOutcome outcome;
    const char* caption;
    const char* name; // object name, for tests and scripts
} COUNTERS[] = {
    {NmeaOutcome::Good, "Good:", "NmeaGood"},
    {NmeaOutcome::BadChecksum, "Bad checksum:", "NmeaBadChecksum"},
    {NmeaOutcome::TooLong, "Too long:", "NmeaTooLong"},
    {NmeaOutcome::Ignored, "Ignored (talker/type):", "NmeaIgnored"},
    {NmeaOutcome::BadLineEnd, "No CR LF:", "NmeaBadLineEnd"},
};

} // namespace

GpsDiagnostics::GpsDiagnostics(ControlPanel& controls, QWidget* parent) : QGroupBox(" Diagnostics ", parent)
{
    auto* box = this;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(1);
    QList<QLabel*> values;
    int i = 0;
    for (const auto& c : COUNTERS) {
        auto* value = new QLabel("0");
        value->setObjectName(c.name);
        grid->addWidget(new QLabel(c.caption), i / 3, (i % 3) * 2);
        grid->addWidget(value, i / 3, (i % 3) * 2 + 1);
        values.append(value);
        ++i;
    }
    auto* reset = new QPushButton("Reset");
    controls.add_button("Reset", reset);
    grid->addWidget(reset, 1, 4, 1, 2);
    auto* last = new QLabel;
    last->setObjectName("NmeaLastReason");
    grid->addWidget(last, 2, 0, 1, 6);
    auto* adapt = controls.add_check(box, GPS_TAB, "Adapt modern receivers", false);
    adapt->setToolTip("Turns GN, GL and GA talkers into GP (with a new checksum) and bare LF line ends into "
                      "CR LF before the unit reads them. The unit itself reads GP sentences ending in CR LF only.");
    grid->addWidget(adapt, 3, 0, 1, 6);
    auto* hint = new QLabel;
    hint->setObjectName("NmeaHint");
    hint->setWordWrap(true);
    grid->addWidget(hint, 4, 0, 1, 6);

    connect(adapt, &QCheckBox::toggled, this, [](bool on) { set_adapt_modern_receivers(on); });
    connect(reset, &QPushButton::clicked, this, [] { nmea_watch().reset(); });
    auto refresh = [=] {
        const NmeaWatch& watch = nmea_watch();
        for (int k = 0; k < values.size(); ++k) values[k]->setNum(int(watch.count(COUNTERS[k].outcome)));
        const QString reason = QString::fromStdString(watch.last_reason());
        last->setText(reason.isEmpty() ? QString() : "Last dropped or ignored: " + reason);
        const bool modern = watch.modern_ignored() > 0 && !adapt->isChecked();
        hint->setText(modern ? "This receiver sends GN/GL/GA talkers or bare LF line ends, which the unit "
                               "ignores: tick \"Adapt modern receivers\" to read them."
                             : QString());
        hint->setVisible(modern); // no empty row when there is nothing to point at
    };
    auto* timer = new QTimer(box);
    timer->setInterval(DIAGNOSTICS_REFRESH_MS);
    connect(timer, &QTimer::timeout, box, refresh);
    timer->start();
    refresh();
}

} // namespace host
