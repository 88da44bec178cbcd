#include "host/gps/core/gpsd_stream.h"

#include <cstring>

namespace host {

namespace {

// Occurrences of text in line.
int count_of(const std::string& line, const char* text)
{
    int n = 0;
    for (size_t at = line.find(text); at != std::string::npos; at = line.find(text, at + 1)) ++n;
    return n;
}

// The integer after "name": in line, or fallback when there is none.
int number_after(const std::string& line, const char* name, int fallback)
{
    const size_t at = line.find(name);
    if (at == std::string::npos) return fallback;
    size_t i = at + std::strlen(name);
    int value = 0;
    bool digits = false;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        if (value > 99) return fallback; // more than three digits: not a count or mode of gpsd's
        value = value * 10 + (line[i] - '0');
        digits = true;
    }
    return digits ? value : fallback;
}

bool has_class(const std::string& line, const char* name)
{
    return line.find(std::string("\"class\":\"") + name + "\"") != std::string::npos;
}

} // namespace

void GpsdStream::push(const uint8_t* bytes, size_t count, std::string& out)
{
    for (size_t i = 0; i < count; ++i) {
        const char c = char(bytes[i]);
        if (c == '\n') {
            end_line(out);
        } else if (!dropping_) {
            line_.push_back(c);
            if (line_.size() > GPSD_LINE_MAX) {
                line_.clear();
                dropping_ = true;
            }
        }
    }
}

void GpsdStream::end_line(std::string& out)
{
    if (dropping_) {
        dropping_ = false;
    } else if (!line_.empty() && line_[0] == '{') {
        read_report();
    } else {
        line_.push_back('\n');
        adapter_.push(reinterpret_cast<const uint8_t*>(line_.data()), line_.size(), out);
    }
    line_.clear();
}

void GpsdStream::read_report()
{
    if (has_class(line_, "DEVICES")) {
        devices_ = count_of(line_, "\"class\":\"DEVICE\"");
    } else if (has_class(line_, "DEVICE")) {
        // One device came, changed, or went (activated 0).
        if (number_after(line_, "\"activated\":", 1) == 0)
            devices_ = devices_ > 0 ? devices_ - 1 : 0;
        else if (devices_ < 1)
            devices_ = 1;
    } else if (has_class(line_, "TPV")) {
        // gpsd's modes are 0 (not seen), 1 (no fix), 2 and 3; anything else is no fix.
        const int mode = number_after(line_, "\"mode\":", 0);
        fix_mode_ = mode <= 3 ? mode : 0;
    }
}

} // namespace host
