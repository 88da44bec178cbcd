// The Sorvik EMS G2 simulator.
#include <QApplication>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "host/main_window.h"
#include "host/scenario.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The instrument prints numbers with a decimal point whatever the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Sorvik");
    QApplication::setApplicationDisplayName("Sorvik");

    QString script;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
            script = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: sorvik-ems [--script FILE]\n"
                        "  --script FILE  play a scenario script against the window (see README.md)\n");
            return 0;
        } else {
            std::fprintf(stderr, "sorvik-ems: unknown argument %s (try --help)\n", argv[i]);
            return 2;
        }
    }

    host::TfrmMain window;
    window.show();
    if (script.isEmpty()) return app.exec();

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
    return done ? status : rc;
}
