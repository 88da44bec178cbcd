#include "sensors/sensor_inverse.h"

#include "sensors/channels.h"
#include "sensors/fuel.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"

namespace ems {

namespace {

int64_t distance(int64_t a, int64_t b) { return a < b ? b - a : a - b; }

// The first input in [lo, hi] at which a monotonic reading has reached
// `want` (hi when it never does).
template <class Reading>
int32_t first_reaching(int32_t lo, int32_t hi, int64_t want, bool rising, Reading reading)
{
    auto reached = [&](int32_t x) { return rising ? reading(x) >= want : reading(x) <= want; };
    while (lo < hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        if (reached(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// The input in [lo, hi] whose reading lies nearest `want`, for a reading that
// is monotonic over the range (rising or falling, steps allowed): the first
// input reaching the wanted value or the one before it, whichever reads
// nearer (ties to the one before). When several inputs read exactly the
// wanted value, the middle one of them: a filter that settles a count short
// of its input (as the volts and tank filters do when a reading rises) then
// still reads the same.
template <class Reading>
int32_t nearest_input(int32_t lo, int32_t hi, int64_t want, Reading reading)
{
    const bool rising = reading(lo) <= reading(hi);
    int32_t a = first_reaching(lo, hi, want, rising, reading);
    if (a > lo && distance(reading(a - 1), want) <= distance(reading(a), want)) --a;
    if (reading(a) != want) return a;
    // The first input past the run reading `want` reads beyond it.
    const int32_t past = first_reaching(a, hi, rising ? want + 1 : want - 1, rising, reading);
    const int32_t last = reading(past) == want ? past : past - 1;
    return a + (last - a) / 2;
}

} // namespace

uint16_t raw_volts_for(int32_t volts_x10)
{
    return uint16_t(nearest_input(0, ADC_INPUT_MAX, volts_x10, [](int32_t r) { return int64_t(volts_x10_of(uint32_t(r))); }));
}

uint16_t raw_oat_for(int32_t oat_c)
{
    return uint16_t(nearest_input(0, ADC_INPUT_MAX, oat_c, [](int32_t r) { return int64_t(oat_c_of(uint16_t(r))); }));
}

uint16_t raw_map_for(int32_t map_disp)
{
    return uint16_t(nearest_input(0, ADC_INPUT_MAX, map_disp,
                                  [](int32_t r) { return int64_t(map_disp_of_hpa(map_hpa_of(uint16_t(r)))); }));
}

uint16_t rpm_period_for(int32_t rpm)
{
    if (rpm <= 0) return uint16_t(RPM_PERIOD_STOPPED);
    // Periods above the stopped limit read 0: search the running ones only.
    return uint16_t(nearest_input(RPM_PERIOD_MIN, RPM_PERIOD_SLOWEST, rpm, [](int32_t p) { return int64_t(rpm_of_period(uint16_t(p))); }));
}

int16_t tc_input_for(uint8_t channel, int32_t temp_c)
{
    const uint8_t type = tc_channel_type(channel < TC_CHANNELS ? channel : 0);
    return int16_t(nearest_input(TC_INPUT_MIN, TC_INPUT_MAX, temp_c,
                                 [type](int32_t t) { return int64_t(tc_reading_c(int16_t(t), type)); }));
}

uint16_t raw_aux_temperature_for(uint8_t input, int32_t temp)
{
    const TemperatureSenderConfig& cfg = settings.temperature_cfg[input & 3];
    return uint16_t(nearest_input(0, ADC_INPUT_MAX, temp, [&cfg](int32_t r) {
        int32_t v = INT16_MIN;
        temperature_value(cfg, uint16_t(r), v);
        return int64_t(v);
    }));
}

uint16_t raw_aux_pressure_for(uint8_t input, int32_t pressure)
{
    const uint8_t n = input & 3;
    const PressureSenderConfig& cfg = settings.pressure_cfg[n];
    return uint16_t(nearest_input(0, ADC_INPUT_MAX, pressure, [&cfg, n](int32_t r) {
        int32_t v = INT16_MIN;
        pressure_value(cfg, uint16_t(r), n == 1, v);
        return int64_t(v);
    }));
}

uint16_t flow_pulses_for(uint8_t sender, int32_t flow_l_x10)
{
    const uint32_t k = k_litre(sender == 0 ? settings.k_factor1 : settings.k_factor2);
    return uint16_t(nearest_input(0, FLOW_PULSES_MAX, flow_l_x10, [k](int32_t p) {
        return int64_t(flow_of_pulses(uint32_t(p), k, FLOW_WINDOW_TICKS));
    }));
}

uint16_t raw_fuel_level_for(uint8_t tank, int32_t level)
{
    const uint8_t t = tank & 1;
    return uint16_t(nearest_input(0, ADC_INPUT_MAX, level, [t](int32_t r) { return int64_t(tank_level_of_reading(t, r)); }));
}

} // namespace ems
