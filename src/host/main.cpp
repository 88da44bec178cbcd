// The Sorvik EMS G2 simulator.
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "host/lcd_panel.h"
#include "host/main_window.h"
#include "host/scenario.h"

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
    explicit PanelStats(host::TfrmMain& window) : window_(window) { window.lcd()->installEventFilter(this); }
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
                    first_paint_us_, first_paint_cpu_us_, seconds, window_.presented_frames(),
                    window_.lcd()->conversions(), window_.lcd()->repaints());
    }

private:
    host::TfrmMain& window_;
    long long first_paint_us_ = 0;
    long long first_paint_cpu_us_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The instrument prints numbers with a decimal point whatever the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Sorvik");
    QApplication::setApplicationDisplayName("Sorvik");

    QString script;
    bool stats = false;
    double quit_after_s = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
            script = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--stats") == 0) {
            stats = true;
        } else if (std::strcmp(argv[i], "--quit-after") == 0 && i + 1 < argc) {
            quit_after_s = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: sorvik-ems [--script FILE] [--quit-after SECONDS] [--stats]\n"
                        "  --script FILE         play a scenario script against the window (see README.md)\n"
                        "  --quit-after SECONDS  close the window after that many seconds\n"
                        "  --stats               on closing, print when the LCD was first painted and\n"
                        "                        how many frames were presented, converted and repainted\n");
            return 0;
        } else {
            std::fprintf(stderr, "sorvik-ems: unknown argument %s (try --help)\n", argv[i]);
            return 2;
        }
    }

    host::TfrmMain window;
    std::unique_ptr<PanelStats> panel_stats;
    if (stats) panel_stats = std::make_unique<PanelStats>(window);
    window.show();
    if (quit_after_s >= 0) QTimer::singleShot(int(quit_after_s * 1000), &window, [&] { window.close(); });
    auto finish = [&](int rc) {
        if (panel_stats) panel_stats->print();
        return rc;
    };
    if (script.isEmpty()) return finish(app.exec());

    host::ScenarioRunner runner(window);
    int status = 0;
    bool done = false;
    QTimer::singleShot(0, &window, [&] {
        status = runner.run_file(script);
        if (status != 0 || runner.quit_requested()) {
            done = true;
            QApplication::exit(status);
        } else {
            window.set_virtual_time(false); // the script has set the scene: go on live
        }
    });
    const int rc = app.exec();
    return finish(done ? status : rc);
}
