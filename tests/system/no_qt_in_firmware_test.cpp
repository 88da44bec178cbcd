// The firmware stays free of the desktop: no file under src/firmware may
// include a Qt header.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <string>

TEST(FirmwareBoundary, NoQtHeaders)
{
    const std::filesystem::path root = std::filesystem::path(EMS_SOURCE_DIR) / "src" / "firmware";
    const std::regex qt_include(R"(^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/))");
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        int n = 0;
        while (std::getline(in, line)) {
            ++n;
            EXPECT_FALSE(std::regex_search(line, qt_include)) << entry.path() << ":" << n << ": " << line;
        }
    }
    EXPECT_GT(files, 10);
}
