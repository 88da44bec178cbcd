#include "ops/flight_log.h"

namespace ems {

FlightLogState flight;

} // namespace ems
