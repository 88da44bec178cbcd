#include "host/window/status_line.h"

#include <QLabel>
#include <QStatusBar>

#include "host/gps/nmea_source.h"

namespace host {

StatusLine::StatusLine(QStatusBar* bar) : QObject(bar)
{
    for (QLabel*& label : labels_) {
        label = new QLabel;
        bar->addWidget(label, 1);
    }
    clock_.start();
}

void StatusLine::show_power(bool on, bool starting)
{
    labels_[0]->setText(QString("Power: %1").arg(!on ? "off" : starting ? "starting" : "on"));
}

void StatusLine::show_rate(long long passes, bool scripted)
{
    const qint64 ms = clock_.restart();
    const long long run = passes - passes_shown_;
    passes_shown_ = passes;
    if (scripted) labels_[1]->setText("Scripted passes");
    else if (ms > 0) labels_[1]->setText(QString("%1 passes/s").arg(qRound(run * 1000.0 / ms)));
}

void StatusLine::show_source(const NmeaSource& source)
{
    labels_[2]->setText(QString("GPS: %1 - %2").arg(source.title(), source.status()));
}

} // namespace host
