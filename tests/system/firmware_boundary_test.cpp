// The firmware's boundaries: it stays free of the desktop (no Qt header under
// src/firmware), and its include arrows point down: system/ and gfx/ are the
// ground floor and include nothing above them; app/ is the top, which nothing
// below includes.
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

// Calls visit(folder, line, where) for every line of every firmware source.
int for_each_line(const std::function<void(const std::string&, const std::string&, const std::string&)>& visit)
{
    const fs::path root = fs::path(EMS_SOURCE_DIR) / "src" / "firmware";
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const std::string folder = fs::relative(entry.path(), root).begin()->string();
        std::ifstream in(entry.path());
        std::string line;
        for (int n = 1; std::getline(in, line); ++n)
            visit(folder, line, entry.path().string() + ":" + std::to_string(n) + ": " + line);
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

TEST(FirmwareBoundary, IncludeArrowsPointDown)
{
    const std::regex project_include(R"(^\s*#\s*include\s*"([a-z_]+)/)");
    int arrows = 0;
    for_each_line([&](const std::string& folder, const std::string& line, const std::string& where) {
        std::smatch m;
        if (!std::regex_search(line, m, project_include)) return;
        const std::string target = m[1];
        ++arrows;
        EXPECT_NE(target, "host") << where;
        const bool ground_floor = folder == "system" || folder == "gfx";
        const bool downward = ground_floor ? target == "system" || target == "gfx" : folder == "app" || target != "app";
        EXPECT_TRUE(downward) << "an include arrow points upward: " << where;
    });
    EXPECT_GT(arrows, 100);
}

} // namespace
