// The GPS record and the sentence slots shared with the serial receive thread.
#include "gps/gps_data.h"

#include <cstring>

namespace ems {

GpsState gps;
NmeaLink nmea;

NmeaLink& NmeaLink::operator=(const NmeaLink& other)
{
    if (this == &other) return *this;
    constexpr auto relaxed = std::memory_order_relaxed;
    nmea_active.store(other.nmea_active.load(relaxed), relaxed);
    gps_data_timeout.store(other.gps_data_timeout.load(relaxed), relaxed);
    for (const NmeaSentence& s : NMEA_SENTENCES) std::memcpy(this->*s.slot, other.*s.slot, sizeof(this->*s.slot));
    for (const NmeaSentence& s : NMEA_SENTENCES)
        (this->*s.flag).store((other.*s.flag).load(relaxed), std::memory_order_release);
    return *this;
}

const NmeaSentence* nmea_sentence_of(std::string_view body)
{
    if (body.size() < 5 || body[0] != 'G' || body[1] != 'P') return nullptr;
    for (const NmeaSentence& s : NMEA_SENTENCES)
        if (body.substr(2, 3) == s.id) return &s;
    return nullptr;
}

} // namespace ems
