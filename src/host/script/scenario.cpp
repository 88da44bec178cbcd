#include "host/engine/engine_tab.h"
#include "host/gps/gps_tab.h"
#include "host/gps/nmea_source_selector.h"
#include "host/inputs/control_panel.h"
#include "host/inputs/sensor_presets.h"
#include "host/script/scenario.h"
#include "host/script/scenario_commands.h"
#include "host/state/save_states.h"
#include "host/viewer/flight_viewers.h"
#include "host/window/front_view.h"
#include "host/window/unit_runner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <cmath>
#include <cstdio>

#include "app/power.h"
#include "app/var_registry.h"
#include "gps/gps_data.h"
#include "host/card/core/card_folder.h"
#include "host/flightgear/flightgear_link.h"
#include "host/gps/nmea_source.h"
#include "host/replay/instrument_replay.h"
#include "host/script/core/scenario_parse.h"
#include "host/viewer/flight_analysis_view.h"
#include "host/viewer/flight_plot.h"
#include "host/viewer/flight_viewer.h"
#include "host/window/lcd_panel.h"
#include "host/window/main_window.h"
#include "system/platform.h"
#include "ui/screen.h"

namespace host {

using namespace scenario;

namespace {

QJsonValue var_json(const ems::VarInfo& v)
{
    if (v.type == ems::VarType::Text) {
        const char* text = static_cast<const char*>(v.ptr);
        size_t n = 0;
        while (n < v.count && text[n]) ++n;
        return QString::fromLatin1(text, int(n));
    }
    auto element = [&](size_t i) -> QJsonValue {
        if (v.type == ems::VarType::F32) {
            const double d = ems::var_double(v, i);
            return std::isfinite(d) ? QJsonValue(d) : QJsonValue(QJsonValue::Null);
        }
        return QJsonValue(qint64(ems::var_int(v, i)));
    };
    if (v.count == 1) return element(0);
    QJsonArray a;
    for (size_t i = 0; i < v.count; ++i) a.append(element(i));
    return a;
}

} // namespace

int ScenarioRunner::run_file(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error_ = QString("%1: cannot open the script").arg(path);
        std::fprintf(stderr, "%s\n", qPrintable(error_));
        return 2;
    }
    return run_text(QString::fromUtf8(f.readAll()), QFileInfo(path).absolutePath(), path);
}

int ScenarioRunner::run_text(const QString& text, const QString& base_dir, const QString& name)
{
    base_dir_ = base_dir;
    window_.runner()->set_virtual_time(true);
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        std::vector<std::string> words;
        std::string parse_error;
        QString error;
        if (!split_scenario_line(lines[i].toStdString(), words, parse_error))
            error = q(parse_error);
        else if (!words.empty() && !execute(words, error) && error.isEmpty())
            error = "failed";
        if (!error.isEmpty()) {
            error_ = QString("%1:%2: %3").arg(name).arg(i + 1).arg(error);
            std::fprintf(stderr, "%s\n", qPrintable(error_));
            return 1;
        }
        if (quit_) return 0;
    }
    return 0;
}

// ---- Commands -----------------------------------------------------------------

namespace {


// One row per command: its name, how many arguments it takes (max -1: any
// number from min), the usage shown when the count is wrong, what it does,
// and the handler, which gets the whole line (w[0] is the name) and on
// failure returns false with a message in error.
struct Command {
    const char* name;
    int min_args;
    int max_args;
    const char* usage;
    const char* help;
    bool (*run)(Context& c, const Words& w, QString& error);
};

bool save_json(const QString& file, const QJsonObject& out, QString& error)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return fail(error, "cannot write " + file);
    f.write(QJsonDocument(out).toJson());
    return true;
}

void print_help();


const Command COMMANDS[] = {
    {"power", 1, 1, "power on|off", "the \"&On\" / \"&Off\" buttons",
     [](Context& c, const Words& w, QString& error) {
         if (w[1] == "on") c.window.Button1Click();
         else if (w[1] == "off") c.window.Button2Click();
         else return fail(error, "power takes on or off");
         return true;
     }},
    {"key", 1, 1, "key N (1..8)", "key N: 1..5 soft keys, 6 push, 7 clockwise, 8 anticlockwise",
     [](Context&, const Words& w, QString& error) {
         long long n = 0;
         if (!parse_count(w[1], n, 8) || n < 1) return fail(error, "key takes 1..8");
         ems::key_press(uint8_t(n));
         return true;
     }},
    {"ticks", 1, 1, "ticks N", "N timer ticks of 100 ms",
     [](Context& c, const Words& w, QString& error) {
         long long n = 0;
         if (!parse_count(w[1], n, 10000000)) return fail(error, q("bad count " + w[1]));
         c.window.runner()->advance_ticks(int(n));
         return true;
     }},
    {"passes", 1, 1, "passes N", "N firmware passes",
     [](Context& c, const Words& w, QString& error) {
         long long n = 0;
         if (!parse_count(w[1], n, 10000000)) return fail(error, q("bad count " + w[1]));
         c.window.runner()->run_passes(int(n));
         return true;
     }},
    {"slider", 2, 2, "slider \"TAB/CAPTION\" VALUE", "moves a slider",
     [](Context& c, const Words& w, QString& error) {
         QSlider* s = c.window.inputs()->slider(q(w[1]));
         if (!s) return fail(error, q("no slider " + w[1]));
         long long n = 0;
         if (!parse_integer(w[2], n) || n < s->minimum() || n > s->maximum())
             return fail(error, QString("value %1 outside %2..%3").arg(q(w[2])).arg(s->minimum()).arg(s->maximum()));
         s->setValue(int(n));
         return true;
     }},
    {"check", 2, 2, "check \"TAB/CAPTION\" on|off", "ticks or clears a check box",
     [](Context& c, const Words& w, QString& error) {
         QCheckBox* box = c.window.inputs()->check(q(w[1]));
         if (!box) return fail(error, q("no check box " + w[1]));
         if (w[2] != "on" && w[2] != "off") return fail(error, "check takes on or off");
         box->setChecked(w[2] == "on");
         return true;
     }},
    {"combo", 2, 2, "combo \"TAB/CAPTION\" TEXT",
     "types TEXT into an editable combo box, or selects the item TEXT of a list",
     [](Context& c, const Words& w, QString& error) {
         QComboBox* box = c.window.inputs()->combo(q(w[1]));
         if (!box) return fail(error, q("no combo box " + w[1]));
         if (box->isEditable()) {
             box->setEditText(q(w[2]));
             return true;
         }
         const int index = box->findText(q(w[2]), Qt::MatchExactly);
         if (index < 0) {
             QStringList items;
             for (int i = 0; i < box->count(); ++i) items << "\"" + box->itemText(i) + "\"";
             return fail(error, QString("%1 has no item \"%2\" (items: %3)").arg(q(w[1]), q(w[2]), items.join(", ")));
         }
         if (!box->isEnabled()) return fail(error, q(w[1] + " is disabled"));
         box->setCurrentIndex(index);
         QCoreApplication::processEvents();
         // The window may refuse the choice (a source cannot change while one is connected).
         if (box->currentIndex() != index) return fail(error, q(w[1] + " did not take \"" + w[2] + "\""));
         return true;
     }},
    {"text", 2, 2, "text \"TAB/CAPTION\" VALUE", "sets a line edit's text",
     [](Context& c, const Words& w, QString& error) {
         QLineEdit* edit = c.window.inputs()->line_edit(q(w[1]));
         if (!edit) return fail(error, q("no line edit " + w[1]));
         if (!edit->isEnabled()) return fail(error, q(w[1] + " is disabled"));
         edit->setText(q(w[2]));
         if (edit->property("file_name").toBool()) edit->setProperty("relative_to", c.base_dir);
         return true;
     }},
    {"button", 1, 1, "button \"CAPTION\"", "clicks a button (the \"&\" may be left out)",
     [](Context& c, const Words& w, QString& error) {
         QPushButton* b = c.window.inputs()->button(q(w[1]));
         if (!b) b = c.window.inputs()->button("&" + q(w[1]));
         if (!b) return fail(error, q("no button " + w[1]));
         // A source that cannot start (a log that cannot be read, a port in
         // use) stops the script at this line with the reason.
         QString refused;
         const QMetaObject::Connection watch = QObject::connect(
             c.window.gps()->sources(), &NmeaSourceSelector::error_occurred, [&refused](const QString& m) { refused = m; });
         b->click();
         QCoreApplication::processEvents();
         QObject::disconnect(watch);
         return refused.isEmpty() || fail(error, refused);
     }},
    {"preset", 1, 1, "preset NAME", "sets sliders and check boxes from a shipped preset or a preset file",
     [](Context& c, const Words& w, QString& error) {
         const bool shipped = shipped_presets().contains(q(w[1]), Qt::CaseInsensitive);
         return host::load_sensor_preset(*c.window.inputs(), shipped ? q(w[1]) : c.resolve(w[1]), error);
     }},
    {"state", 2, 2, "state save|load FILE", "saves or loads a save state (File / Save State...)",
     [](Context& c, const Words& w, QString& error) {
         if (w[1] == "save") return c.window.states()->save(c.resolve(w[2]), error);
         if (w[1] == "load") return c.window.states()->load(c.resolve(w[2]), error);
         return fail(error, "state takes save or load");
     }},
    {"tab", 1, 1, "tab \"TITLE\"", "shows a tab of the window",
     [](Context& c, const Words& w, QString& error) {
         QTabWidget* tabs = c.window.inputs();
         for (int i = 0; i < tabs->count(); ++i)
             if (tabs->tabText(i) == q(w[1])) {
                 tabs->setCurrentIndex(i);
                 QCoreApplication::processEvents();
                 return true;
             }
         return fail(error, q("no tab " + w[1]));
     }},
    {"wait", 1, 1, "wait MS", "lets MS milliseconds of real time pass for sockets, ports and replays",
     [](Context&, const Words& w, QString& error) {
         long long ms = 0;
         if (!parse_count(w[1], ms, 600000)) return fail(error, q("bad milliseconds " + w[1]));
         QEventLoop loop;
         QTimer::singleShot(int(ms), &loop, &QEventLoop::quit);
         loop.exec();
         return true;
     }},
    {"clock", 2, 2, "clock YYYY-MM-DD HH:MM:SS", "the PC clock (UTC) the firmware reads from then on",
     [](Context& c, const Words& w, QString& error) {
         const QDateTime t = QDateTime::fromString(q(w[1] + " " + w[2]), "yyyy-MM-dd HH:mm:ss");
         if (!t.isValid()) return fail(error, "clock wants YYYY-MM-DD HH:MM:SS");
         c.window.runner()->set_clock(t);
         return true;
     }},
    {"nmea", 1, -1, "nmea TEXT", "bytes to the serial receive handler (words joined by blanks)",
     [](Context& c, const Words& w, QString& error) {
         // The receive handler takes one feeder at a time.
         if (c.window.gps()->sources()->busy()) return fail(error, "nmea: an NMEA source is connected");
         std::string bytes = w[1];
         for (size_t i = 2; i < w.size(); ++i) bytes += " " + w[i];
         feed_receive_handler(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
         QCoreApplication::processEvents(); // lets the echo reach Memo1
         return true;
     }},
    {"flightgear", 1, 3, "flightgear start [PORT] | stop | play FILE [LINES_PER_TICK]",
     "starts or stops the FlightGear link, or plays a recorded FlightGear stream to it over UDP, one line per tick "
     "(a capture of SECONDS<tab>LINE lines at its recorded pacing)",
     [](Context& c, const Words& w, QString& error) {
         if (w[1] == "start" && w.size() <= 3) return flightgear_start(c, w, error);
         if (w[1] == "stop" && w.size() == 2) {
             c.window.gps()->flightgear_player()->stop();
             if (c.window.gps()->flightgear()->is_busy()) c.window.gps()->sources()->stop();
             QCoreApplication::processEvents();
             return true;
         }
         if (w[1] == "play") return flightgear_play(c, w, error);
         return fail(error, "usage: flightgear start [PORT] | stop | play FILE [LINES_PER_TICK]");
     }},
    {"replay", 1, 2, "replay FILE | speed N | step N | stop",
     "replays a recording into the instrument: its records move the inputs and its track feeds the GPS line, at "
     "N times (1..10) the recorded pace, or N records on at each step",
     replay_command},
    {"engine", 1, 4, "engine on|off|state|throttle|mixture|mags|... (see the README)",
     "the built-in engine: runs it on the instrument, sets its controls, the air, the GPS and failures",
     [](Context& c, const Words& w, QString& error) { return c.window.engine()->command(w, error); }},
    {"screenshot", 2, 2, "screenshot lcd|window|viewer FILE.png",
     "saves the LCD, the whole window or the last opened flight-data viewer window",
     [](Context& c, const Words& w, QString& error) {
         const QString file = c.resolve(w[2]);
         QDir().mkpath(QFileInfo(file).absolutePath());
         bool ok = false;
         if (w[1] == "lcd") ok = c.window.front()->lcd()->image().save(file, "PNG");
         else if (w[1] == "window") ok = c.window.grab().save(file, "PNG");
         else if (w[1] == "viewer") {
             QWidget* viewer = c.window.viewers()->last();
             if (!viewer) return fail(error, "no flight-data viewer is open");
             QCoreApplication::sendPostedEvents(); // the chart lays out its legend on a later event
             ok = viewer->grab().save(file, "PNG");
         } else return fail(error, "screenshot takes lcd, window or viewer");
         return ok || fail(error, "cannot write " + file);
     }},
    {"dump", 2, -1, "dump FILE.json NAME...", "writes named variables and settings fields as JSON",
     [](Context& c, const Words& w, QString& error) {
         QJsonObject out;
         for (size_t i = 2; i < w.size(); ++i) {
             const ems::VarInfo* v = ems::find_var(w[i].c_str());
             if (!v) return fail(error, q("unknown variable " + w[i]));
             out.insert(q(w[i]), var_json(*v));
         }
         return save_json(c.resolve(w[1]), out, error);
     }},
    {"expect", 2, 2, "expect NAME VALUE", "stops the script unless the variable shows VALUE",
     [](Context&, const Words& w, QString& error) {
         const ems::VarInfo* v = ems::find_var(w[1].c_str());
         if (!v) return fail(error, q("unknown variable " + w[1]));
         const QJsonValue got = var_json(*v);
         const QString shown = got.isString() ? got.toString()
                               : got.isArray() ? QString::fromUtf8(QJsonDocument(got.toArray()).toJson(QJsonDocument::Compact))
                                               : QString::number(got.toDouble(), 'g', 10);
         if (shown != q(w[2])) return fail(error, QString("%1 is %2, expected %3").arg(q(w[1]), shown, q(w[2])));
         return true;
     }},
    {"viewer", 1, 3, "viewer open|png|cursor|range|channel|stacked|panel|tab ...",
     "the flight-data viewer: open FILE.csv, png FILE.png (its plot or panels), cursor T, range T0 T1 (seconds "
     "shown), channel NAME on|off, stacked on|off (the stacked panels), panel egt|cht|flow|rpm_map|electrical|other "
     "on|off, tab Range|Alarms|\"Lean Find\" (the analysis panel's tab)",
     viewer_command},
    {"quit", 0, 0, "quit", "ends the script and the program",
     [](Context& c, const Words&, QString&) {
         c.quit = true;
         return true;
     }},
    {"help", 0, 0, "help", "lists the commands on standard output",
     [](Context&, const Words&, QString&) {
         print_help();
         return true;
     }},
};

void print_help()
{
    for (const Command& command : COMMANDS) std::printf("%-36s %s\n", command.usage, command.help);
    std::fflush(stdout);
}

} // namespace

bool ScenarioRunner::execute(const std::vector<std::string>& w, QString& error)
{
    for (const Command& command : COMMANDS) {
        if (w[0] != command.name) continue;
        const int args = int(w.size()) - 1;
        if (args < command.min_args || (command.max_args >= 0 && args > command.max_args))
            return fail(error, QString("usage: %1").arg(command.usage));
        Context context{window_, base_dir_, quit_};
        return command.run(context, w, error);
    }
    return fail(error, q("unknown command " + w[0]));
}

} // namespace host
