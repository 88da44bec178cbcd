// The GPS tab's diagnostics (what the receive handler made of the feed, and
// the "Adapt modern receivers" option) and the replay controls.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTime>
#include <QTimer>

#include "host/core/nmea_watch.h"
#include "host/main_window.h"
#include "host/nmea_source.h"
#include "host/nmea_sources.h"

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

QString log_time(qint64 ms) { return QTime(0, 0).addMSecs(ms).toString("HH:mm:ss"); }

} // namespace

QWidget* TfrmMain::build_gps_diagnostics()
{
    auto* box = new QGroupBox(" Diagnostics ");
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
    buttons_.insert("Reset", reset);
    grid->addWidget(reset, 1, 4, 1, 2);
    auto* last = new QLabel;
    last->setObjectName("NmeaLastReason");
    grid->addWidget(last, 2, 0, 1, 6);
    auto* adapt = add_check(box, GPS_TAB, "Adapt modern receivers", false);
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
    return box;
}

QLayout* TfrmMain::build_replay_controls()
{
    auto* row = new QHBoxLayout;
    auto* pause = new QPushButton("&Pause");
    pause->setObjectName("NmeaReplayPause");
    pause->setCheckable(true);
    buttons_.insert("&Pause", pause);
    auto* speed = new QComboBox;
    speed->setObjectName("NmeaReplaySpeed");
    for (double s : REPLAY_SPEEDS) speed->addItem(QString("%1x").arg(s), s);
    combos_.insert(GPS_TAB + "/Speed:", speed);
    auto* progress = new QProgressBar;
    progress->setObjectName("NmeaReplayProgress");
    progress->setTextVisible(false);
    progress->setMaximumHeight(12);
    auto* elapsed = new QLabel;
    elapsed->setObjectName("NmeaReplayElapsed");
    row->addWidget(pause);
    row->addWidget(new QLabel("Speed:"));
    row->addWidget(speed);
    row->addWidget(progress, 1);
    row->addWidget(elapsed);

    connect(pause, &QPushButton::toggled, this, [this](bool on) { nmea_replay_->setPaused(on); });
    connect(speed, &QComboBox::currentIndexChanged, this,
            [this, speed](int index) { nmea_replay_->setSpeed(speed->itemData(index).toDouble()); });
    auto refresh = [=, this] {
        const NmeaFileReplay* r = nmea_replay_;
        const bool running = r->isRunning();
        pause->setEnabled(running);
        if (pause->isChecked() != r->isPaused()) {
            const QSignalBlocker block(pause);
            pause->setChecked(r->isPaused());
        }
        pause->setText(r->isPaused() ? "&Resume" : "&Pause");
        progress->setMaximum(int(std::max<size_t>(1, r->lineCount())));
        progress->setValue(running ? int(r->linesSent()) : 0);
        elapsed->setText(running ? QString("%1 / %2").arg(log_time(r->logElapsedMs()), log_time(r->logLengthMs()))
                                 : QString("--:--:--"));
    };
    auto* timer = new QTimer(pause);
    timer->setInterval(DIAGNOSTICS_REFRESH_MS);
    connect(timer, &QTimer::timeout, pause, refresh);
    connect(nmea_replay_, &NmeaSource::stateChanged, pause, refresh);
    timer->start();
    refresh();
    return row;
}

} // namespace host
