#include "host/script/scenario_commands.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QComboBox>
#include <QPushButton>
#include <cstdio>

#include "host/card/core/card_folder.h"
#include "host/flightgear/flightgear_link.h"
#include "host/gps/gps_tab.h"
#include "host/gps/nmea_source_selector.h"
#include "host/inputs/control_panel.h"
#include "host/replay/instrument_replay.h"
#include "host/script/core/scenario_parse.h"
#include "host/viewer/flight_analysis_view.h"
#include "host/viewer/flight_plot.h"
#include "host/viewer/flight_viewer.h"
#include "host/viewer/flight_viewers.h"
#include "host/window/main_window.h"
#include "system/platform.h"

namespace host::scenario {

// The flight-data viewer's commands: "open" makes a new viewer, the others act
// on the last one opened.
bool viewer_command(Context& c, const Words& w, QString& error)
{
    const std::string& what = w[1];
    if (what == "open") {
        if (w.size() != 3) return fail(error, "usage: viewer open FILE.csv");
        // The card's writer thread may still hold the last records of a flight
        // just ended; a script reads the card as it stands once they are written.
        if (auto* card = dynamic_cast<host::CardFolder*>(&ems::platform().card())) card->settle();
        const FlightViewer* viewer = c.window.viewers()->open(c.resolve(w[2]), error);
        if (viewer && !viewer->note().isEmpty()) std::printf("%s: %s\n", w[2].c_str(), qPrintable(viewer->note()));
        return viewer != nullptr;
    }
    FlightViewer* viewer = c.window.viewers()->last();
    if (!viewer) return fail(error, "no flight-data viewer is open");
    if (what == "png" && w.size() == 3) {
        const QString file = c.resolve(w[2]);
        QDir().mkpath(QFileInfo(file).absolutePath());
        return viewer->save_png(file) || fail(error, "cannot write " + file);
    }
    if (what == "cursor" && w.size() == 3) {
        long long t = 0;
        if (!parse_integer(w[2], t)) return fail(error, q("bad seconds " + w[2]));
        viewer->plot()->set_cursor_row(viewer->plot()->row_at(double(t)));
        return true;
    }
    if (what == "range" && w.size() == 4) {
        long long t0 = 0, t1 = 0;
        if (!parse_integer(w[2], t0) || !parse_integer(w[3], t1) || t1 <= t0)
            return fail(error, "viewer range wants two rising whole seconds");
        viewer->plot()->set_time_range(double(t0), double(t1));
        return true;
    }
    if (what == "channel" && w.size() == 4) {
        if (w[3] != "on" && w[3] != "off") return fail(error, "viewer channel takes on or off");
        return viewer->set_channel(q(w[2]), w[3] == "on") || fail(error, q("the recording has no channel " + w[2]));
    }
    if (what == "stacked" && w.size() == 3) {
        if (w[2] != "on" && w[2] != "off") return fail(error, "viewer stacked takes on or off");
        viewer->set_stacked(w[2] == "on");
        return true;
    }
    if (what == "tab" && w.size() == 3) {
        return viewer->analysis()->show_tab(q(w[2])) || fail(error, q("the analysis panel has no tab " + w[2]));
    }
    if (what == "panel" && w.size() == 4) {
        if (w[3] != "on" && w[3] != "off") return fail(error, "viewer panel takes on or off");
        return viewer->set_panel(q(w[2]), w[3] == "on") || fail(error, q("the viewer has no panel " + w[2]));
    }
    return fail(error, "usage: viewer open FILE.csv | png FILE.png | cursor T | range T0 T1 | channel NAME on|off | "
                       "stacked on|off | panel KEY on|off | tab NAME");
}

// "flightgear start [PORT]": the link chosen as the NMEA source and started
// as the GPS tab's "Connect" starts it.
bool flightgear_start(Context& c, const Words& w, QString& error)
{
    FlightGearLink* link = c.window.gps()->flightgear();
    NmeaSourceSelector* sources = c.window.gps()->sources();
    if (sources->busy() && sources->busy() != link) return fail(error, "flightgear: another NMEA source is connected");
    if (link->is_connected()) return true;
    if (w.size() > 2) {
        long long port = 0;
        if (!parse_count(w[2], port, 65535)) return fail(error, q("bad port " + w[2]));
        c.window.inputs()->line_edit("GPS (NMEA Protocol)/FlightGear Port:")->setText(q(w[2]));
    }
    for (int i = 0; i < sources->count(); ++i)
        if (sources->source(i) == link) c.window.inputs()->combo("GPS (NMEA Protocol)/Source:")->setCurrentIndex(i);
    c.window.inputs()->button("&Connect")->click();
    QCoreApplication::processEvents();
    return link->is_connected() || fail(error, "flightgear: the link did not start");
}

// "flightgear play FILE [LINES_PER_TICK]": a recorded stream to the running
// link; a capture (lines "SECONDS<tab>LINE") at its recorded pacing.
bool flightgear_play(Context& c, const Words& w, QString& error)
{
    if (w.size() < 3) return fail(error, "flightgear play takes a file");
    long long per_tick = 1;
    if (w.size() > 3 && (!parse_count(w[3], per_tick, 100) || per_tick < 1))
        return fail(error, q("bad lines per tick " + w[3]));
    const quint16 port = c.window.gps()->flightgear()->bound_port();
    if (port == 0) return fail(error, "flightgear play: start the link first");
    return c.window.gps()->flightgear_player()->play(c.resolve(w[2]), port, int(per_tick), error);
}

// "replay FILE | speed N | step N | stop": a recording replayed into the
// instrument, paced on the ticks or stepped record by record.
bool replay_command(Context& c, const Words& w, QString& error)
{
    InstrumentReplay* replay = c.window.replay();
    const char* usage = "usage: replay FILE | speed N | step N | stop";
    long long n = 0;
    if (w.size() == 2 && w[1] == "stop") {
        replay->stop();
        return true;
    }
    if (w.size() == 2) return replay->start(c.resolve(w[1]), error);
    if (w[1] == "speed") {
        if (!parse_count(w[2], n, 10) || n < 1) return fail(error, "replay speed takes 1..10");
        replay->set_speed(int(n));
        return true;
    }
    if (w[1] == "step") {
        if (!parse_count(w[2], n, 1000000)) return fail(error, q("bad count " + w[2]));
        if (!replay->is_running()) return fail(error, "replay step: no replay is running");
        replay->step(int(n));
        QCoreApplication::processEvents(); // lets the feeder hand the fix over
        return true;
    }
    return fail(error, usage);
}

} // namespace host::scenario
