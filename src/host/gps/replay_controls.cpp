#include "host/gps/replay_controls.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTime>
#include <QTimer>
#include <algorithm>

#include "host/gps/nmea_file_replay.h"
#include "host/inputs/control_panel.h"

namespace host {

namespace {

constexpr int REFRESH_MS = 250;
const QString GPS_TAB = "GPS (NMEA Protocol)";

QString log_time(qint64 ms) { return QTime(0, 0).addMSecs(ms).toString("HH:mm:ss"); }

} // namespace

QLayout* build_replay_controls(NmeaFileReplay* replay, ControlPanel& controls)
{
    auto* row = new QHBoxLayout;
    auto* pause = new QPushButton("&Pause");
    pause->setObjectName("NmeaReplayPause");
    pause->setCheckable(true);
    controls.add_button("&Pause", pause);
    auto* speed = new QComboBox;
    speed->setObjectName("NmeaReplaySpeed");
    for (double s : REPLAY_SPEEDS) speed->addItem(QString("%1x").arg(s), s);
    controls.add_combo(GPS_TAB + "/Speed:", speed);
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

    QObject::connect(pause, &QPushButton::toggled, replay, [replay](bool on) { replay->setPaused(on); });
    QObject::connect(speed, &QComboBox::currentIndexChanged, replay,
                     [replay, speed](int index) { replay->setSpeed(speed->itemData(index).toDouble()); });
    auto refresh = [=] {
        const NmeaFileReplay* r = replay;
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
    timer->setInterval(REFRESH_MS);
    QObject::connect(timer, &QTimer::timeout, pause, refresh);
    QObject::connect(replay, &NmeaSource::stateChanged, pause, refresh);
    timer->start();
    refresh();
    return row;
}

} // namespace host
