// The firmware's boundaries: it stays free of the desktop (no Qt header under
// src/firmware), and its include arrows point down the layer order below. An
// include of a folder of equal or higher rank fails unless it is on the
// allow-list, and an allow-list entry that no longer matches fails too, so the
// list can only shrink.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

// The firmware's folders, lowest first. docs/ARCHITECTURE.md draws the same order.
struct Layer {
    std::string_view folder;
    int rank;
};
// The settings model sits below ui/ (screens show its option texts; it knows no
// screen), and the alarm words below sensors/ (every channel raises its bit).
constexpr Layer LAYERS[] = {
    {"system", 0}, {"gfx", 1},   {"settings", 2}, {"ui", 3},  {"alarms", 4}, {"sensors", 5},
    {"gps", 6},    {"pages", 7}, {"ops", 8},      {"setup", 9}, {"app", 10},
};

// Upward includes still tolerated: "file -> included header", and why.
struct Allowed {
    std::string_view from; // path below src/firmware
    std::string_view to;   // the include as written
    std::string_view why;
};
constexpr Allowed ALLOWED[] = {
    {"settings/unit_switch.cpp", "sensors/fuel.h",
     "a fuel unit switch converts the fuel computer's live tank levels along with the settings"},
    {"sensors/minmax.cpp", "gps/gps_data.h", "a min/max reset starts the top ground speed at the present one"},
    {"sensors/fuel.cpp", "gps/gps_data.h", "the fuel range uses the ground speed while the GPS has a fix"},
    {"pages/run_screen.cpp", "ops/quick_menus.h", "the run screen opens the quick menus, which are pop-ups, not screens with ids"},
    {"pages/top_strip.cpp", "ops/flight_log.h", "the top strip shows the flight time the flight log keeps"},
};

int rank_of(std::string_view folder)
{
    for (const Layer& layer : LAYERS)
        if (layer.folder == folder) return layer.rank;
    return -1;
}

const fs::path& firmware_root()
{
    static const fs::path root = fs::path(EMS_SOURCE_DIR) / "src" / "firmware";
    return root;
}

// Calls visit(path below src/firmware, line, where) for every line of every firmware source.
int for_each_line(const std::function<void(const std::string&, const std::string&, const std::string&)>& visit)
{
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(firmware_root())) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const std::string path = fs::relative(entry.path(), firmware_root()).generic_string();
        std::ifstream in(entry.path());
        std::string line;
        for (int n = 1; std::getline(in, line); ++n)
            visit(path, line, path + ":" + std::to_string(n) + ": " + line);
    }
    return files;
}

TEST(FirmwareBoundary, NoQtHeaders)
{
    const std::regex qt_include(R"(^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/))");
    const int files = for_each_line([&](const std::string&, const std::string& line, const std::string& where) {
        EXPECT_FALSE(std::regex_search(line, qt_include)) << where;
    });
    EXPECT_GT(files, 10);
}

TEST(FirmwareBoundary, EveryFolderHasARank)
{
    for (const auto& entry : fs::directory_iterator(firmware_root())) {
        if (!entry.is_directory()) continue;
        EXPECT_GE(rank_of(entry.path().filename().string()), 0) << entry.path() << " is missing from LAYERS";
    }
}

TEST(FirmwareBoundary, IncludeArrowsPointDown)
{
    const std::regex project_include(R"(^\s*#\s*include\s*"(([a-z_]+)/[^"]+)\")");
    std::set<std::pair<std::string, std::string>> allowed_seen;
    int arrows = 0;
    for_each_line([&](const std::string& path, const std::string& line, const std::string& where) {
        std::smatch m;
        if (!std::regex_search(line, m, project_include)) return;
        const std::string header = m[1];
        const std::string target = m[2];
        const std::string folder = path.substr(0, path.find('/'));
        ++arrows;
        ASSERT_GE(rank_of(target), 0) << "includes a folder outside the firmware's layers: " << where;
        if (target == folder || rank_of(target) < rank_of(folder)) return;
        const auto allowed = std::find_if(std::begin(ALLOWED), std::end(ALLOWED),
                                          [&](const Allowed& a) { return a.from == path && a.to == header; });
        if (allowed != std::end(ALLOWED)) {
            allowed_seen.emplace(path, header);
            return;
        }
        ADD_FAILURE() << "an include arrow points upward (" << folder << " -> " << target << "): " << where;
    });
    EXPECT_GT(arrows, 100);
    for (const Allowed& a : ALLOWED)
        EXPECT_TRUE(allowed_seen.count({std::string(a.from), std::string(a.to)}))
            << "allow-list entry no longer needed, remove it: " << a.from << " -> " << a.to;
}

} // namespace
