// Fuzzes the scenario line parser and the number parsers its commands use:
// each input line is split into words, and every word read as a count and
// as an integer. A word never holds more than its line, and a count is never
// past its limit.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/script/core/scenario_parse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        std::vector<std::string> words;
        std::string error;
        if (host::split_scenario_line(line, words, error)) {
            size_t total = 0;
            for (const std::string& w : words) {
                total += w.size();
                long long n = 0;
                if (host::parse_count(w, n, 1000) && (n < 0 || n > 1000)) std::abort();
                host::parse_integer(w, n);
            }
            if (total > line.size()) std::abort();
        } else if (error.empty()) {
            std::abort(); // a refusal always says why
        }
        start = end + 1;
    }
    return 0;
}
