// Rewriting of NMEA byte streams on their way to the receive handler.
//
// NmeaAdapter ("Adapt modern receivers"): the unit reads only GP talkers and
// lines ending in CR LF. Receivers of today send GN (several systems), GL or
// GA talkers, and some logs and programs end lines with a bare LF. The
// adapter turns such a sentence into what the unit reads: the talker becomes
// GP with a checksum computed afresh, and the line ends in CR LF. A sentence
// whose checksum was wrong keeps it wrong (the receive handler drops it
// as before); bytes outside sentences pass unchanged.
//
// NmeaDatagrams: NMEA over UDP. A datagram carries one or more sentences,
// and a sentence may be split over datagrams; a "$" starts a new sentence
// and gives up an unfinished one. A sentence that ends a datagram just after
// its checksum is complete and gets its CR LF.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace host {

// Longest line either rewriter holds; longer ones pass (adapter) or are
// dropped (datagrams) unchanged.
constexpr size_t NMEA_REWRITE_LINE_MAX = 512;

class NmeaAdapter {
public:
    // Appends the adapted form of bytes to out. A line is held until its end.
    void push(const uint8_t* bytes, size_t count, std::string& out);
    // Appends whatever is held (unchanged) to out.
    void flush(std::string& out);

private:
    void emit_line(std::string& out);
    std::string line_;
    bool passing_ = false; // the line grew beyond the limit: passes unchanged until its end
};

// The sentence "$...*hh" with a GN, GL or GA talker turned into GP and the
// checksum recomputed, when its checksum was right; otherwise unchanged.
std::string nmea_as_gp(const std::string& sentence);

class NmeaDatagrams {
public:
    // Appends the complete lines of one datagram (and of earlier ones) to out.
    void push(const uint8_t* bytes, size_t count, std::string& out);
    void clear() { partial_.clear(); }

private:
    void end_partial(std::string& out);
    std::string partial_;
};

} // namespace host
