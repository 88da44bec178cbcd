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

    QObject::connect(pause, &QPushButton::toggled, replay, [replay](bool on) { replay->set_paused(on); });
    QObject::connect(speed, &QComboBox::currentIndexChanged, replay,
                     [replay, speed](int index) { replay->set_speed(speed->itemData(index).toDouble()); });
    auto refresh = [=] {
        const NmeaFileReplay* r = replay;
        const bool running = r->is_running();
        pause->setEnabled(running);
        if (pause->isChecked() != r->is_paused()) {
            const QSignalBlocker block(pause);
            pause->setChecked(r->is_paused());
        }
        pause->setText(r->is_paused() ? "&Resume" : "&Pause");
        progress->setMaximum(int(std::max<size_t>(1, r->line_count())));
        progress->setValue(running ? int(r->lines_sent()) : 0);
        elapsed->setText(running ? QString("%1 / %2").arg(log_time(r->log_elapsed_ms()), log_time(r->log_length_ms()))
                                 : QString("--:--:--"));
    };
    auto* timer = new QTimer(pause);
    timer->setInterval(REFRESH_MS);
    QObject::connect(timer, &QTimer::timeout, pause, refresh);
    QObject::connect(replay, &NmeaSource::state_changed, pause, refresh);
    timer->start();
    refresh();
    return row;
}

} // namespace host
