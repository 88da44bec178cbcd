// Fuzzes the scenario runner: each input line is played against a real
// (offscreen) window, one line at a time so that a refused line does not end
// the run. Lines that would write files (screenshot, dump, viewer png), click
// buttons or type into combo boxes (connecting real ports and files) or run for long
// (more than 300 ticks or passes) are left out.
#include <QApplication>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "host/card/core/card_folder.h"
#include "host/script/core/scenario_parse.h"
#include "host/script/scenario.h"
#include "host/window/main_window.h"

namespace {

bool playable(const std::string& line)
{
    std::vector<std::string> w;
    std::string error;
    if (!host::split_scenario_line(line, w, error) || w.empty()) return true; // refused or blank
    for (const char* skipped : {"screenshot", "dump", "button", "combo", "help"})
        if (w[0] == skipped) return false;
    if (w[0] == "viewer" && w.size() > 1 && w[1] == "png") return false;
    long long n = 0;
    if ((w[0] == "ticks" || w[0] == "passes") && w.size() == 2 && host::parse_count(w[1], n, 10000000))
        return n <= 300;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static char arg0[] = "scenario_run_fuzz";
    static char* argv[] = {arg0, nullptr};
    static int argc = 1;
    static const std::filesystem::path dir = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return host::make_temp_card_dir("scenario-run-fuzz");
    }();
    static QApplication app(argc, argv);
    static host::TfrmMain window(QString::fromStdString(dir.string())); // its card folder there
    static host::ScenarioRunner runner(window);
    if (size > 4096) return 0;

    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        if (playable(line))
            runner.run_text(QString::fromStdString(line), QString::fromStdString(dir.string()), "fuzz");
        start = end + 1;
    }
    return 0;
}
