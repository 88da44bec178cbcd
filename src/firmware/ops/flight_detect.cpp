// Automatic flight detection (flight_detect "AUTOMATIC").
//
// Engine speed alone cannot tell a run-up or a fast taxi from a take-off, so
// while the GPS has a fix the ground speed must agree too, and a flight ends
// only on the ground speed. The fix may drop out in the air (a wing shading
// the antenna): then the engine keeps the flight going, and only RPM below
// its minimum for the whole stop time ends it. Both decisions wait out a
// run of whole seconds, so a brief burst of power or a slow moment in a
// climb does not start or end a flight.
#include "gps/gps_data.h"
#include "ops/flight_log.h"
#include "sensors/channels.h"
#include "settings/settings.h"
#include "system/clock.h"
#include "system/raw_inputs.h"

namespace ems {

namespace {

constexpr uint8_t RPM_OFF = 2; // rpm1_display / rpm2_display "OFF"

struct Criteria {
    bool rpm1_used, rpm1_ok;
    bool rpm2_used, rpm2_ok;
    bool speed_used, speed_ok;
};

Criteria criteria_now()
{
    Criteria c;
    c.rpm1_used = settings.rpm1_display != RPM_OFF;
    c.rpm1_ok = sens.rpm >= int64_t(settings.flight_detect_min_rpm1);
    c.rpm2_used = settings.rpm2_display != RPM_OFF;
    c.rpm2_ok = raw.rpm2 >= int64_t(settings.flight_detect_min_rpm2);
    c.speed_used = settings.gps_source != 0 && gps.gps_fix_valid == 1;
    c.speed_ok = gps.gps_speed >= settings.flight_detect_min_speed;
    return c;
}

// Every criterion in use holds; with none in use nothing can start a flight.
bool start_holds(const Criteria& c)
{
    if (!c.rpm1_used && !c.rpm2_used && !c.speed_used) return false;
    return (!c.rpm1_used || c.rpm1_ok) && (!c.rpm2_used || c.rpm2_ok) && (!c.speed_used || c.speed_ok);
}

bool stop_fails(const Criteria& c)
{
    if (c.speed_used) return !c.speed_ok;
    if (c.rpm1_used) return !c.rpm1_ok;
    if (c.rpm2_used) return !c.rpm2_ok;
    return false;
}

} // namespace

void flight_detect_second()
{
    if (settings.flight_detect != 1) {
        flight.detect_hold = 0;
        flight.detect_fail = 0;
        return;
    }
    const Criteria c = criteria_now();
    if (flight.flight_in_progress == 0) {
        flight.detect_fail = 0;
        flight.detect_hold = start_holds(c) ? uint8_t(flight.detect_hold + 1) : 0;
        if (flight.detect_hold < FLIGHT_DETECT_START_SECONDS) return;
        // The flight began when the criteria first held.
        flight_start();
        flight.flight_time = flight.detect_hold;
        flight.flight_start_utc = clk.utc_seconds - flight.detect_hold;
        flight.detect_hold = 0;
    } else {
        flight.detect_hold = 0;
        flight.detect_fail = stop_fails(c) ? uint8_t(flight.detect_fail + 1) : 0;
        if (flight.detect_fail < FLIGHT_DETECT_STOP_SECONDS) return;
        // ... and ended when the stop criterion first failed.
        const uint32_t waited = flight.detect_fail;
        flight.flight_time = flight.flight_time > waited ? flight.flight_time - waited : 0;
        flight.detect_fail = 0;
        flight_stop();
    }
}

} // namespace ems
