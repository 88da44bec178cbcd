#include "host/script/core/scenario_parse.h"

#include <cerrno>
#include <cstdlib>

namespace host {

bool split_scenario_line(const std::string& line, std::vector<std::string>& words, std::string& error)
{
    words.clear();
    std::string word;
    bool in_word = false, quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (!quoted && c == '#') break;
        if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (in_word) words.push_back(word), word.clear(), in_word = false;
            continue;
        }
        in_word = true;
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (c == '\\') {
            if (i + 1 >= line.size()) {
                error = "a backslash ends the line";
                return false;
            }
            const char e = line[++i];
            switch (e) {
            case 'r': word += '\r'; break;
            case 'n': word += '\n'; break;
            case 't': word += '\t'; break;
            case '\\': word += '\\'; break;
            case '"': word += '"'; break;
            default: error = std::string("unknown escape \\") + e; return false;
            }
            continue;
        }
        word += c;
    }
    if (quoted) {
        error = "unterminated quote";
        return false;
    }
    if (in_word) words.push_back(word);
    return true;
}

bool parse_count(const std::string& text, long long& value, long long max)
{
    if (text.empty() || text.size() > 12) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::strtoll(text.c_str(), nullptr, 10);
    return value <= max;
}

bool parse_integer(const std::string& text, long long& value)
{
    if (text.empty() || text.size() > 12) return false;
    size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    value = std::strtoll(text.c_str(), nullptr, 10);
    return true;
}

} // namespace host
