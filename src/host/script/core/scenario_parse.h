// Scenario scripts: one command per line, words separated by blanks, "#"
// starts a comment, double quotes group a word with blanks. Inside a word,
// \r \n \t \\ and \" are escapes.
#pragma once
#include <string>
#include <vector>

namespace host {

// Splits one line into words. Returns false (with a reason) on an unterminated
// quote or an unknown escape. A blank or comment line gives no words.
bool split_scenario_line(const std::string& line, std::vector<std::string>& words, std::string& error);

// Parses a whole non-negative decimal number (no sign, no blanks); false otherwise.
bool parse_count(const std::string& text, long long& value, long long max);
// Parses a signed decimal integer; false otherwise.
bool parse_integer(const std::string& text, long long& value);

} // namespace host
