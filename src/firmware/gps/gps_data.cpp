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
    std::memcpy(nmea_rmc, other.nmea_rmc, sizeof nmea_rmc);
    std::memcpy(nmea_gga, other.nmea_gga, sizeof nmea_gga);
    std::memcpy(nmea_gsa, other.nmea_gsa, sizeof nmea_gsa);
    std::memcpy(nmea_gsv, other.nmea_gsv, sizeof nmea_gsv);
    nmea_rmc_new.store(other.nmea_rmc_new.load(relaxed), std::memory_order_release);
    nmea_gga_new.store(other.nmea_gga_new.load(relaxed), std::memory_order_release);
    nmea_gsa_new.store(other.nmea_gsa_new.load(relaxed), std::memory_order_release);
    nmea_gsv_new.store(other.nmea_gsv_new.load(relaxed), std::memory_order_release);
    return *this;
}

} // namespace ems
