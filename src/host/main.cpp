// The Sorvik EMS G2 simulator.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "host/card/card_location.h"
#include "host/card/card_slot.h"
#include "host/inputs/control_panel.h"
#include "host/inputs/sensor_presets.h"
#include "host/script/scenario.h"
#include "host/state/first_start.h"
#include "host/state/save_states.h"
#include "host/viewer/flight_viewers.h"
#include "host/window/front_view.h"
#include "host/window/lcd_panel.h"
#include "host/window/main_window.h"
#include "host/window/unit_runner.h"

namespace {

long long epoch_us()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// Processor time the process has used, which a busy machine does not inflate.
long long cpu_us()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000000LL + t.tv_nsec / 1000;
}

// --stats: when the LCD was first painted (microseconds since the epoch, so a
// launcher can subtract its own start time) and the processor time used by
// then, and how many frames the panel was handed, converted and repainted;
// printed when the window has closed.
class PanelStats : public QObject {
public:
    explicit PanelStats(host::TfrmMain& window) : window_(window) { window.front()->lcd()->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && first_paint_us_ == 0) {
            first_paint_us_ = epoch_us();
            first_paint_cpu_us_ = cpu_us();
        }
        return false;
    }
    void print() const
    {
        const double seconds = double(epoch_us() - first_paint_us_) / 1e6;
        std::printf("first_frame_us=%lld first_frame_cpu_us=%lld seconds=%.3f presents=%d conversions=%d "
                    "repaints=%d\n",
                    first_paint_us_, first_paint_cpu_us_, seconds, window_.runner()->presented_frames(),
                    window_.front()->lcd()->conversions(), window_.front()->lcd()->repaints());
    }

private:
    host::TfrmMain& window_;
    long long first_paint_us_ = 0;
    long long first_paint_cpu_us_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCommandLineParser options;
    options.setApplicationDescription(
        "The Sorvik EMS G2 simulator: the engine-monitoring instrument's firmware in a desktop window.");
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption card_option(
        "card",
        "Use DIR as the SD card (one card folder per aircraft) and remember it for the next start. Without it: "
        "SDCARD in the working directory if there is one, else the card used last, else the user's own card "
        "in the data folder, filled from the sample card.",
        "DIR");
    const QCommandLineOption script_option("script", "Play a scenario script against the window (see README.md).",
                                           "FILE");
    const QCommandLineOption quit_when_done_option(
        "quit-when-done", "With --script: close the program when the script has run to its end, with its status.");
    const QCommandLineOption preset_option(
        "preset",
        QString("Set the sliders and check boxes from a sensor preset: a shipped one by name (%1) or a preset file.")
            .arg(host::shipped_presets().join(", ")),
        "NAME");
    const QCommandLineOption state_option(
        "state",
        "Load a save state (File / Save State...): every input, and the unit's settings, calibration, counters, "
        "flight log and page; the unit is switched on when it was on.",
        "FILE");
    const QCommandLineOption zoom_option("zoom", "Show the front panel at 1x to 4x (as View / Zoom, remembered).",
                                         "FACTOR");
    const QCommandLineOption quit_option("quit-after", "Close the window after that many seconds.", "SECONDS");
    const QCommandLineOption stats_option("stats", "On closing, print when the LCD was first painted and how many "
                                                   "frames were presented, converted and repainted.");
    const QCommandLineOption view_option("view", "Open the flight-data recording FILE in the viewer (as File / Open "
                                                 "Flight Data); a recording named alone on the command line opens so too.",
                                         "FILE");
    options.addOptions(
        {card_option, script_option, quit_when_done_option, preset_option, state_option, zoom_option, quit_option,
         stats_option, view_option});
    options.addPositionalArgument("recording", "A flight-data recording to open in the viewer (as --view).",
                                  "[FILE.csv]");
    // Only a command line that starts the window needs a display: --help,
    // --version and a wrong command line are answered over a plain terminal.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    bool parsed = options.parse(arguments);
    // Qt's own window options (-platform, -style ...) are single-dash; the
    // window takes them out of the command line before it is read again.
    const bool qt_options = std::any_of(arguments.begin() + 1, arguments.end(), [](const QString& a) {
        return a.size() > 1 && a[0] == '-' && a[1] != '-';
    });
    // A file named alone is a recording to view (as the desktop entry passes
    // one); any other word is a mistake.
    const QStringList positional = parsed ? options.positionalArguments() : QStringList();
    const bool recording_named = positional.size() == 1 && QFileInfo(positional.first()).isFile();
    const bool starts_window = parsed ? !options.isSet("help") && !options.isSet("version") &&
                                            (positional.isEmpty() || recording_named)
                                      : qt_options;
    const std::unique_ptr<QCoreApplication> app = starts_window ? std::make_unique<QApplication>(argc, argv)
                                                                : std::make_unique<QCoreApplication>(argc, argv);
    // The instrument prints numbers with a decimal point whatever the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Sorvik");
    QApplication::setApplicationVersion(EMS_VERSION);
    QApplication::setOrganizationName("Sorvik"); // where View / Zoom and the card are remembered
    if (qobject_cast<QApplication*>(app.get())) {
        QApplication::setApplicationDisplayName("Sorvik");
        // The desktop entry that names the window's icon and program.
        QGuiApplication::setDesktopFileName(EMS_APP_ID);
        QApplication::setWindowIcon(QIcon::fromTheme("sorvik-ems", QIcon(":/icons/sorvik-ems-256.png")));
    }

    auto fail = [](const QString& message) {
        std::fprintf(stderr, "sorvik-ems: %s (try --help)\n", qPrintable(message));
        return 2;
    };
    if (!parsed && starts_window) parsed = options.parse(QCoreApplication::arguments());
    if (!parsed) return fail(options.errorText());
    if (options.isSet("help")) options.showHelp(0);
    if (options.isSet("version")) options.showVersion();
    const QStringList named = options.positionalArguments();
    if (named.size() > 1 || (named.size() == 1 && !QFileInfo(named.first()).isFile()))
        return fail("unknown argument " + named.at(named.size() > 1 ? 1 : 0));
    QString recording = options.value(view_option);
    if (!named.isEmpty()) {
        if (!recording.isEmpty()) return fail("--view and a recording both name a file to open");
        recording = named.first();
    }
    const QString script = options.value(script_option);
    const bool stats = options.isSet(stats_option);
    const bool quit_when_done = options.isSet(quit_when_done_option);
    if (quit_when_done && script.isEmpty()) return fail("--quit-when-done goes with --script");
    double quit_after_s = -1;
    if (options.isSet(quit_option)) {
        bool ok = false;
        quit_after_s = options.value(quit_option).toDouble(&ok);
        if (!ok || quit_after_s < 0) return fail("--quit-after wants a number of seconds, not " +
                                                 options.value(quit_option));
    }
    int zoom = 0;
    if (options.isSet(zoom_option)) {
        bool ok = false;
        zoom = options.value(zoom_option).toInt(&ok);
        if (!ok || zoom < 1 || zoom > 4) return fail("--zoom wants 1, 2, 3 or 4, not " + options.value(zoom_option));
    }
    QString card;
    if (options.isSet(card_option)) {
        card = QFileInfo(options.value(card_option)).absoluteFilePath();
        if (!QFileInfo(card).isDir()) return fail("no card folder " + options.value(card_option));
        host::remember_card(card);
    } else {
        QString warning;
        card = host::startup_card(warning);
        if (!warning.isEmpty()) std::fprintf(stderr, "sorvik-ems: sample card: %s\n", qPrintable(warning));
    }

    host::TfrmMain window;
    if (!card.isEmpty()) window.card()->switch_to(card);
    if (zoom) window.set_zoom(zoom);
    if (options.isSet(preset_option)) {
        QString error;
        if (!host::load_sensor_preset(*window.inputs(), options.value(preset_option), error)) {
            std::fprintf(stderr, "sorvik-ems: %s\n", qPrintable(error));
            return 2;
        }
    }
    if (options.isSet(state_option)) {
        QString error;
        if (!window.states()->load(options.value(state_option), error)) {
            std::fprintf(stderr, "sorvik-ems: %s\n", qPrintable(error));
            return 2;
        }
    } else if (!options.isSet(preset_option) && script.isEmpty()) {
        QString error;
        if (!window.states()->resume(error)) {
            if (!error.isEmpty()) std::fprintf(stderr, "sorvik-ems: %s\n", qPrintable(error));
            host::first_start(window);
        }
    }
    std::unique_ptr<PanelStats> panel_stats;
    if (stats) panel_stats = std::make_unique<PanelStats>(window);
    window.show();
    if (!recording.isEmpty())
        window.viewers()->open_later(QFileInfo(recording).absoluteFilePath(), [&window](const QString& error) {
            std::fprintf(stderr, "sorvik-ems: %s\n", qPrintable(error));
            QMessageBox::warning(&window, "Flight Data", error);
        });
    if (quit_after_s >= 0) QTimer::singleShot(int(quit_after_s * 1000), &window, [&] { window.close(); });
    auto finish = [&](int rc) {
        if (panel_stats) panel_stats->print();
        return rc;
    };
    if (script.isEmpty()) return finish(QApplication::exec());

    host::ScenarioRunner runner(window);
    int status = 0;
    bool done = false;
    QTimer::singleShot(0, &window, [&] {
        status = runner.run_file(script);
        if (status != 0 || runner.quit_requested() || quit_when_done) {
            done = true;
            QApplication::exit(status);
        } else {
            window.runner()->set_virtual_time(false); // the script has set the scene: go on live
        }
    });
    const int rc = QApplication::exec();
    return finish(done ? status : rc);
}
