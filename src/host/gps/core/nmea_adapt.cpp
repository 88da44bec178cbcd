#include "host/gps/core/nmea_adapt.h"

#include <cstdio>

#include "gps/nmea_rx.h"

namespace host {

namespace {

bool is_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// Where the checksum's "*" of a "$...*hh" sentence is, or npos.
size_t checksum_star(const std::string& s)
{
    const size_t n = s.size();
    if (n < 4 || s[0] != '$' || s[n - 3] != '*' || !is_hex(s[n - 2]) || !is_hex(s[n - 1])) return std::string::npos;
    return n - 3;
}

} // namespace

std::string nmea_as_gp(const std::string& sentence)
{
    const size_t star = checksum_star(sentence);
    if (star == std::string::npos || star < 3 || sentence[1] != 'G') return sentence;
    const char t = sentence[2];
    if (t != 'N' && t != 'L' && t != 'A') return sentence;
    uint8_t sum = 0;
    for (size_t i = 1; i < star; ++i) sum ^= uint8_t(sentence[i]);
    if (ems::nmea_hex_value(sentence.c_str() + star + 1) != sum) return sentence;
    std::string out = sentence;
    out[2] = 'P';
    sum ^= uint8_t(t) ^ uint8_t('P');
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", sum);
    out.replace(star + 1, 2, hex);
    return out;
}

void NmeaAdapter::push(const uint8_t* bytes, size_t count, std::string& out)
{
    for (size_t i = 0; i < count; ++i) {
        const char c = char(bytes[i]);
        if (passing_) {
            out.push_back(c);
            if (c == '\n') passing_ = false;
            continue;
        }
        line_.push_back(c);
        if (c == '\n') {
            emit_line(out);
        } else if (line_.size() > NMEA_REWRITE_LINE_MAX) {
            out += line_;
            line_.clear();
            passing_ = true;
        }
    }
}

void NmeaAdapter::flush(std::string& out)
{
    out += line_;
    line_.clear();
    passing_ = false;
}

// line_ ends in LF. Whatever precedes the first "$" passes as it is; a
// sentence after it is adapted and ends in CR LF.
void NmeaAdapter::emit_line(std::string& out)
{
    const size_t dollar = line_.find('$');
    std::string sentence;
    if (dollar != std::string::npos) {
        sentence = line_.substr(dollar, line_.size() - 1 - dollar); // without the LF
        if (!sentence.empty() && sentence.back() == '\r') sentence.pop_back();
    }
    if (checksum_star(sentence) == std::string::npos) {
        out += line_; // not one sentence: unchanged
    } else {
        out.append(line_, 0, dollar);
        out += nmea_as_gp(sentence);
        out += "\r\n";
    }
    line_.clear();
}

void NmeaDatagrams::push(const uint8_t* bytes, size_t count, std::string& out)
{
    for (size_t i = 0; i < count; ++i) {
        const char c = char(bytes[i]);
        if (c == '$' && !partial_.empty()) end_partial(out);
        partial_.push_back(c);
        if (c == '\n') {
            out += partial_;
            partial_.clear();
        } else if (partial_.size() > NMEA_REWRITE_LINE_MAX) {
            partial_.clear(); // no sentence is this long
        }
    }
    // A datagram that ends right after a checksum (or its CR) ends a sentence.
    std::string tail = partial_;
    if (!tail.empty() && tail.back() == '\r') tail.pop_back();
    if (checksum_star(tail) != std::string::npos) end_partial(out);
}

// The unfinished line ends here: a complete sentence gets its CR LF,
// anything else is dropped.
void NmeaDatagrams::end_partial(std::string& out)
{
    if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
    if (checksum_star(partial_) != std::string::npos) out += partial_ + "\r\n";
    partial_.clear();
}

} // namespace host
