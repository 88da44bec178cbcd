#include "host/gps/core/nmea_watch.h"

#include "gps/gps_data.h"
#include "gps/nmea_rx.h"

#include <iterator>

namespace host {

namespace {

enum : uint8_t { WAIT_START, IN_BODY, CHECKSUM_1, CHECKSUM_2, WAIT_CR, WAIT_LF, TOO_LONG };

bool is_modern_talker(char a, char b) { return a == 'G' && (b == 'N' || b == 'L' || b == 'A'); }

// "RMC, GGA, GSA and GSV": the identifiers of NMEA_SENTENCES, as a reason names them.
std::string read_types()
{
    std::string list;
    const size_t count = std::size(ems::NMEA_SENTENCES);
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) list += i + 1 == count ? " and " : ", ";
        list += ems::NMEA_SENTENCES[i].id;
    }
    return list;
}

} // namespace

NmeaWatch& nmea_watch()
{
    static NmeaWatch watch;
    return watch;
}

void NmeaWatch::observe(const uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const char c = char(bytes[i]);
        if (c == '$') {
            // The receive handler gives up an unfinished sentence here.
            if (state_ == WAIT_CR || state_ == WAIT_LF) record(NmeaOutcome::BadLineEnd);
            body_.clear();
            state_ = IN_BODY;
            continue;
        }
        switch (state_) {
        case IN_BODY:
            if (c == '*') {
                state_ = CHECKSUM_1;
            } else if (body_.size() < ems::NMEA_BODY_MAX) {
                body_.push_back(c);
            } else {
                record(NmeaOutcome::TooLong);
                state_ = TOO_LONG;
            }
            break;
        case CHECKSUM_1:
            checksum_[0] = c;
            state_ = CHECKSUM_2;
            break;
        case CHECKSUM_2:
            checksum_[1] = c;
            state_ = WAIT_CR;
            break;
        case WAIT_CR:
            if (c == '\r') {
                state_ = WAIT_LF;
            } else {
                if (c == '\n') complete(false);
                state_ = WAIT_START;
            }
            break;
        case WAIT_LF:
            complete(c == '\n');
            state_ = WAIT_START;
            break;
        default: // WAIT_START, TOO_LONG: until the next "$"
            break;
        }
    }
}

// A sentence's line has ended (after its checksum): cr_lf tells whether it
// ended as the receive handler requires.
void NmeaWatch::complete(bool cr_lf)
{
    uint8_t sum = 0;
    for (char c : body_) sum ^= uint8_t(c);
    const bool checksum_ok = ems::nmea_hex_value(checksum_) == sum;
    const char a = body_.size() > 0 ? body_[0] : ' ';
    const char b = body_.size() > 1 ? body_[1] : ' ';
    if (!cr_lf) {
        if (checksum_ok) modern_.fetch_add(1, std::memory_order_relaxed);
        record(NmeaOutcome::BadLineEnd, 'L', 'F');
    } else if (!checksum_ok) {
        record(NmeaOutcome::BadChecksum);
    } else if (body_.size() < 5) {
        record(NmeaOutcome::Ignored);
    } else if (a != 'G' || b != 'P') {
        if (is_modern_talker(a, b)) modern_.fetch_add(1, std::memory_order_relaxed);
        record(NmeaOutcome::Ignored, a, b);
    } else if (!ems::nmea_sentence_of(body_)) {
        record(NmeaOutcome::Ignored, body_[2], body_[3], body_[4]);
    } else {
        record(NmeaOutcome::Good);
    }
}

void NmeaWatch::record(NmeaOutcome outcome, char a, char b, char c)
{
    counts_[size_t(outcome)].fetch_add(1, std::memory_order_relaxed);
    if (outcome == NmeaOutcome::Good) return;
    const uint32_t packed = (uint32_t(outcome) + 1) | uint32_t(uint8_t(a)) << 8 | uint32_t(uint8_t(b)) << 16 |
                            uint32_t(uint8_t(c)) << 24;
    last_.store(packed, std::memory_order_relaxed);
}

void NmeaWatch::reset()
{
    for (auto& n : counts_) n.store(0, std::memory_order_relaxed);
    modern_.store(0, std::memory_order_relaxed);
    last_.store(0, std::memory_order_relaxed);
}

uint32_t NmeaWatch::count(NmeaOutcome outcome) const
{
    return outcome < NmeaOutcome::Count ? counts_[size_t(outcome)].load(std::memory_order_relaxed) : 0;
}

std::string NmeaWatch::last_reason() const
{
    const uint32_t packed = last_.load(std::memory_order_relaxed);
    if ((packed & 0xff) == 0) return {};
    std::string tag;
    for (int shift = 8; shift < 32; shift += 8) {
        const char ch = char((packed >> shift) & 0xff);
        if (ch >= ' ' && ch <= '~') tag.push_back(ch);
    }
    switch (NmeaOutcome((packed & 0xff) - 1)) {
    case NmeaOutcome::BadChecksum: return "bad checksum";
    case NmeaOutcome::TooLong: return "sentence longer than 200 characters";
    case NmeaOutcome::Ignored:
        if (tag.empty()) return "sentence too short to have a type";
        if (tag.size() == 2) return "talker " + tag + " ignored (only GP is read)";
        return "type " + tag + " ignored (only " + read_types() + " are read)";
    case NmeaOutcome::BadLineEnd:
        return tag == "LF" ? "line ends in LF without CR" : "sentence cut short by the next \"$\"";
    default: return {};
    }
}

} // namespace host
