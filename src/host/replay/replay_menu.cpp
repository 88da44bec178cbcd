#include "host/replay/replay_menu.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>

#include "host/replay/core/flight_replay.h"
#include "host/replay/instrument_replay.h"

namespace host {

namespace {

constexpr int SPEEDS[] = {1, 2, 5, 10};
static_assert(SPEEDS[0] == REPLAY_SPEED_MIN && SPEEDS[std::size(SPEEDS) - 1] == REPLAY_SPEED_MAX);
constexpr int NOTE_MS = 8000;

void note(QWidget* parent, const QString& text)
{
    if (auto* window = qobject_cast<QMainWindow*>(parent)) window->statusBar()->showMessage(text, NOTE_MS);
}

} // namespace

void add_replay_menu(QMenu* menu, InstrumentReplay* replay, QWidget* parent, std::function<QString()> folder)
{
    QAction* start = menu->addAction("Replay into the Instrument...");
    start->setToolTip("Plays a recording back through the simulated inputs and the GPS line");
    QObject::connect(start, &QAction::triggered, parent, [=] {
        const QString path = QFileDialog::getOpenFileName(parent, "Replay into the Instrument", folder(),
                                                          "Flight data (*.csv *.CSV);;All files (*)");
        QString error;
        if (!path.isEmpty() && !replay->start(path, error)) QMessageBox::warning(parent, "Sorvik", error);
    });
    QMenu* speed = menu->addMenu("Replay Speed");
    auto* speeds = new QActionGroup(speed);
    for (int s : SPEEDS) {
        QAction* a = speed->addAction(QString("%1x").arg(s));
        a->setCheckable(true);
        a->setChecked(s == replay->speed());
        speeds->addAction(a);
        QObject::connect(a, &QAction::triggered, replay, [replay, s] { replay->set_speed(s); });
    }
    QAction* stop = menu->addAction("Stop Replay");
    stop->setEnabled(false);
    QObject::connect(stop, &QAction::triggered, replay, [replay] { replay->stop(); });
    QObject::connect(replay, &InstrumentReplay::running_changed, stop, [=](bool running, const QString& what) {
        stop->setEnabled(running);
        note(parent, running ? QString("Replaying %1 into the instrument").arg(what) : QString("Replay ended: %1").arg(what));
    });
}

} // namespace host
