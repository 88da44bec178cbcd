// What becomes of the NMEA bytes handed to the firmware's receive handler.
// NmeaWatch follows the same byte stream with a framing of its own, reads
// each sentence as the receive handler will, and counts the outcome, so the
// GPS tab can tell a user why nothing arrives. It only observes: the
// firmware's receive handler stays the one that acts on the bytes.
#pragma once
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace host {

// The outcome of one sentence, as the receive handler treats it.
enum class NmeaOutcome : uint8_t {
    Good,         // a GP sentence of ems::NMEA_SENTENCES with a good checksum: handed to the main loop
    BadChecksum,  // dropped: the checksum does not match
    TooLong,      // dropped: the body is longer than the receive handler keeps
    Ignored,      // good checksum, but a talker other than GP or a type the unit does not read
    BadLineEnd,   // dropped: the line does not end in CR LF (a bare LF, or cut short by the next "$")
    Count
};

// Counters and the last reason; written by the feeding thread, read by any.
class NmeaWatch {
public:
    // Follows bytes on their way to the receive handler (feeding thread).
    void observe(const uint8_t* bytes, size_t count);
    // Back to zero counts and no reason (any thread; a sentence being framed
    // at that moment may still be counted).
    void reset();

    uint32_t count(NmeaOutcome outcome) const;
    // The last sentence that was not good, in words ("talker GN ignored (only
    // GP is read)"); empty when there was none.
    std::string last_reason() const;
    // Sentences a modern receiver sends that the unit ignores: GN, GL or GA
    // talkers, and lines ending in a bare LF.
    uint32_t modern_ignored() const { return modern_.load(std::memory_order_relaxed); }

private:
    void complete(bool cr_lf);
    void record(NmeaOutcome outcome, char a = 0, char b = 0, char c = 0);

    // Framing, feeding thread only.
    uint8_t state_ = 0;
    std::string body_;
    char checksum_[3] = {};

    std::array<std::atomic<uint32_t>, size_t(NmeaOutcome::Count)> counts_{};
    std::atomic<uint32_t> modern_{0};
    // Outcome + 1 in the low byte (0: none), then up to three characters naming it.
    std::atomic<uint32_t> last_{0};
};

// The one watch of the receive handler's byte stream.
NmeaWatch& nmea_watch();

} // namespace host
