// The fuel computer. Section index: K-factors; tank levels; flows; calculated
// tanks; range and endurance; the per-pass entry.
#include "sensors/fuel.h"

#include "alarms/alarm_words.h"
#include "gps/gps_data.h"
#include "sensors/channels.h"
#include "sensors/convert.h"
#include "sensors/ecu_data.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "system/hooks.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace ems {

FuelState fuel;

namespace {

constexpr uint8_t FLOW_SOURCE_INJECTOR = 1;
constexpr uint8_t INJECTOR_HIGH = 1;

bool gallons() { return (settings.fuel_unit & 1) != 0; }

// Unsigned division that reads 0 for a zero divisor (a K-factor of 0 is not a
// usable setting; it must not stop the instrument).
uint32_t div_u32(uint32_t a, uint32_t b) { return b == 0 ? 0 : a / b; }

uint16_t clamp_u16(int64_t v) { return v < 0 ? 0 : v > UINT16_MAX ? UINT16_MAX : uint16_t(v); }

// A flow, range or endurance computed in 64 bits, held at `max`; 0 for a zero divisor.
uint16_t quotient_u16(uint64_t a, uint64_t b, uint16_t max = UINT16_MAX)
{
    if (b == 0) return 0;
    const uint64_t q = a / b;
    return q > max ? max : uint16_t(q);
}

uint32_t add_u32(uint32_t a, uint64_t b) { return b >= UINT32_MAX - a ? UINT32_MAX : uint32_t(a + b); }

} // namespace

// ---- K-factors ------------------------------------------------------------------

uint32_t k_litre(uint16_t k)
{
    return settings.fuel_flow_source == FLOW_SOURCE_INJECTOR ? uint32_t(k) * 10 : k;
}

uint32_t k_unit(uint16_t k)
{
    const uint64_t kl = k_litre(k);
    return uint32_t(gallons() ? kl * 37854 / 10000 : kl);
}

const char* fuel_speed_unit_text()
{
    constexpr uint8_t SPEED_OF_DISTANCE[3] = {0, 2, 1}; // statute, nautical, kilometres: mph, kts, km/h
    const uint8_t distance = uint8_t(settings.fuel_unit / 2);
    return option_gauge_text(options::SPEED_UNIT, SPEED_OF_DISTANCE[distance < 3 ? distance : 2]);
}

uint16_t flow_of_pulses(uint32_t input, uint32_t k, uint32_t window)
{
    if (window == 0 || window >= 100000) return 0;
    const uint64_t q = 360000000u / window;
    return quotient_u16(q * input, k);
}

void fuel_start()
{
    fuel.flow_tick = tick.ticks;
    for (uint32_t& r : fuel.flow_rest) r = 0;
}

// ---- Tank levels ------------------------------------------------------------------

namespace {

// Level of a filtered reading on a six-point table (empty, 1/5 .. 4/5, full)
// for a tank of size s. `previous` is returned for a step of zero width.
int32_t tank_calibrate(const uint16_t c[6], int32_t r, int32_t s, int32_t previous)
{
    const int32_t step = s * 10 / 50;
    if (c[0] < c[5]) {
        if (r <= c[0]) return 0;
        if (r >= c[5]) return s;
        for (int k = 1; k <= 5; ++k)
            if (r < c[k]) {
                const int32_t width = int32_t(c[k]) - c[k - 1];
                if (width == 0) return previous;
                return s * (k - 1) * 10 / 50 + step * (r - c[k - 1]) / width;
            }
    } else {
        if (r >= c[0]) return 0;
        if (r <= c[5]) return s;
        for (int k = 1; k <= 5; ++k)
            if (c[k] < r) {
                const int32_t width = int32_t(c[k - 1]) - c[k];
                if (width == 0) return previous;
                return s * (k - 1) * 10 / 50 + step * (c[k - 1] - r) / width;
            }
    }
    return previous;
}

} // namespace

int32_t tank_level_of_reading(uint8_t t, int32_t reading)
{
    const bool one = t == 0;
    uint16_t c[6];
    for (int k = 0; k < 6; ++k) c[k] = one ? settings.tank1_cal[k] : settings.tank2_cal[k];
    return tank_calibrate(c, reading, one ? settings.tank1_size : settings.tank2_size, fuel.tank_level[t & 1]);
}

void process_tank_level(uint8_t t)
{
    if (t >= 2) return;
    const bool one = t == 0;
    const uint8_t mode = one ? settings.tank1_mode : settings.tank2_mode;
    const uint32_t bit = one ? ALARM_TANK1 : ALARM_TANK2;

    fuel.tank_open[t] = 0;
    if (mode == TANK_SENDER) {
        uint32_t r = raw.raw_fuel_level[t];
        fuel.tank_open[t] = r > TANK_OPEN_READING ? 1 : 0;
        uint32_t& acc = fuel.tank_filter_acc[t];
        switch (one ? settings.tank1_filter : settings.tank2_filter) {
        case 1: acc = (r * 2 + acc) >> 1; r = acc >> 1; break;
        case 2: acc = (acc * 7 + r * 8) >> 3; r = acc >> 3; break;
        case 3: acc = (acc * 31 + r * 32) >> 5; r = acc >> 5; break;
        default: break;
        }
        fuel.tank_level[t] = clamp_u16(tank_level_of_reading(t, int32_t(r)));
    }

    if (tick.alarm_holdoff != 0) return;
    const bool alarm_on = one ? settings.tank1_low_alarm_on : settings.tank2_low_alarm_on;
    const int32_t low = one ? settings.tank1_low_alarm : settings.tank2_low_alarm;
    alarm_on_limits(bit, fuel.tank_level[t], {.low_alarm = low, .low_alarm_on = mode != TANK_OFF && alarm_on});
}

// ---- Flows, calculated tanks, range --------------------------------------------------

namespace {

// Injector duty cycle as a flow input: 0..1000, inverted for HIGH injectors.
uint32_t injector_input(uint16_t duty)
{
    const uint32_t i = duty > 1000 ? 0 : duty;
    return settings.injector_level == INJECTOR_HIGH ? 1000 - i : i;
}

// Contents of a calculated tank as a level in the tank unit, limited to the size.
uint16_t contents_level(uint32_t contents, uint32_t k, int32_t size)
{
    const uint64_t scaled = uint64_t(contents) * (gallons() ? 100 : 10);
    const int32_t level = round_tenths(saturate32(int64_t(k == 0 ? 0 : scaled / k)));
    return clamp_u16(level > size ? size : level);
}

int64_t tank1_change(uint8_t cfg, int64_t c, uint32_t u1, uint32_t x)
{
    if (cfg == 11 && settings.tank2_mode == TANK_SENDER) {
        if (settings.flow_mode == FLOW_DIFFERENTIAL) return c - u1 + x;
        if (settings.flow_mode == FLOW_SUMMATION) return c - u1 - x;
        return c;
    }
    c -= u1;
    if (cfg == 12) c += settings.flow_mode == FLOW_DIFFERENTIAL ? int64_t(x) : -int64_t(x);
    return c;
}

int64_t tank2_change(uint8_t cfg, int64_t c, uint32_t u2, uint32_t y)
{
    if (cfg == 11 && settings.tank1_mode == TANK_SENDER) {
        if (settings.flow_mode == FLOW_DIFFERENTIAL) return c + u2 - y;
        if (settings.flow_mode == FLOW_SUMMATION) return c - u2 - y;
        return c;
    }
    if (cfg == 13) {
        if (settings.flow_mode == FLOW_DIFFERENTIAL) return c - y + u2;
        return c - y - u2;
    }
    return c - u2;
}

// Flow F (0.1 unit per hour, may be negative) and fuel A (tank unit) that
// range and endurance are based on; false for configurations without them.
bool range_basis(uint8_t cfg, int32_t& f, int32_t& a)
{
    const int32_t f0 = fuel.fuel_flow[0];
    const int32_t f1 = fuel.fuel_flow[1];
    const int32_t a1 = settings.tank1_add_to_range ? fuel.tank_level[0] : 0;
    const int32_t a2 = settings.tank2_add_to_range ? fuel.tank_level[1] : 0;
    const bool differential = settings.flow_mode == FLOW_DIFFERENTIAL;
    switch (cfg) {
    case 0: f = f0; a = a1; return true;
    case 1: f = f1; a = a2; return true;
    case 10: f = f0 + f1; a = a1 + a2; return true;
    case 11:
        if (settings.flow1_on && settings.flow2_on)
            f = differential ? f0 - f1 : f0 + f1;
        else
            f = settings.flow1_on ? f0 : f1;
        if (settings.tank1_mode == TANK_SENDER && settings.tank2_mode == TANK_SENDER)
            a = a1 + a2;
        else if (settings.tank1_mode == TANK_CALCULATED)
            a = a2;
        else
            a = a1;
        return true;
    case 12: f = differential ? f0 - f1 : f0 + f1; a = a1; return true;
    case 13: f = differential ? f0 - f1 : f0 + f1; a = a2; return true;
    case 14: f = settings.flow1_on ? f0 : f1; a = a1 + a2; return true;
    default: return false;
    }
}

void update_range()
{
    int32_t f = 0, a = 0;
    if (!range_basis(derived.fuel_config, f, a)) {
        fuel.fuel_range = FUEL_NOT_AVAILABLE;
        fuel.fuel_time_left = FUEL_NOT_AVAILABLE;
        return;
    }
    if (f < 0) f = 0;
    if (a == 0) {
        fuel.fuel_range = 0;
        fuel.fuel_time_left = 0;
        return;
    }
    if (f == 0) {
        fuel.fuel_range = FUEL_NOT_AVAILABLE;
        fuel.fuel_time_left = FUEL_NOT_AVAILABLE;
        return;
    }
    const uint32_t v = gps.gps_fix_valid == 1 ? gps.gps_speed_dist : settings.cruise_speed;
    const uint32_t ua = uint32_t(a);
    const uint32_t uf = uint32_t(f);
    const uint64_t scale = (!gallons() && settings.tank_resolution == 0) ? 10 : 1;
    fuel.fuel_range = quotient_u16(uint64_t(v) * ua * scale, uf, FUEL_RANGE_MAX);
    fuel.fuel_time_left = quotient_u16(uint64_t(ua) * 60 * scale, uf, FUEL_RANGE_MAX);
}

// Flows are in 0.1 unit per hour and a tick is 1/36000 hour: a flow reading
// of 1 uses one unit in 360000 ticks, so k pulses per unit at flow f for n
// ticks are k * f * n / 360000 pulses.
constexpr uint32_t TICKS_PER_UNIT_AT_FLOW_1 = 360000;
// A longer gap between two passes (a paused host) counts as this many ticks,
// which keeps every product within 64 bits.
constexpr uint32_t MAX_COUNTED_TICKS = 864000; // one day

// Pulses used at `flow` over `ticks`, for `k` pulses per unit and `per` as
// above (ten times finer for tenth-litre tanks); the fraction of a pulse
// carries over in `rest`, so nothing is lost however short the passes are.
uint32_t pulses_used(uint32_t k, uint16_t flow, uint32_t ticks, uint32_t per, uint32_t& rest)
{
    const uint64_t n = uint64_t(k) * flow * ticks + rest;
    rest = uint32_t(n % per);
    const uint64_t pulses = n / per;
    return pulses > UINT32_MAX ? UINT32_MAX : uint32_t(pulses);
}

} // namespace

void process_fuel_flow()
{
    const uint16_t level_before[2] = {fuel.tank_level[0], fuel.tank_level[1]};
    const uint32_t used_before[2] = {fuel.fuel_used[0], fuel.fuel_used[1]};
    const bool litres = !gallons();
    const uint32_t k1 = k_unit(settings.k_factor1);
    const uint32_t k2 = k_unit(settings.k_factor2);

    // 1. The engine computer's flow replaces flow sender 1.
    const bool ecu_flow = ecu_substitution_active();
    if (ecu_flow) {
        const int32_t l = float_to_i32(ecu_selected_lane().flow_rate * 10.0f);
        fuel.fuel_flow_l[0] = clamp_u16(l);
        fuel.fuel_flow[0] = litres ? fuel.fuel_flow_l[0] : uint16_t(uint32_t(fuel.fuel_flow_l[0]) * 10000 / 37854);
    }
    const bool compute_flow1 = !ecu_flow && settings.ecu_type != ECU_UL_POWER;

    // 2. Inputs: pulses in the window, or injector duty cycles.
    uint32_t i1 = raw.flow_pulses[0];
    uint32_t i2 = raw.flow_pulses[1];
    if (settings.fuel_flow_source == FLOW_SOURCE_INJECTOR) {
        i1 = injector_input(raw.injector_duty[0]);
        i2 = injector_input(raw.injector_duty[1]);
    }

    // 3. Flows; beyond 6553.5 per hour they hold at 0xFFFF.
    const uint32_t window = sens.flow_window;
    if (window > 0 && window < 100000) {
        if (compute_flow1) {
            fuel.fuel_flow_l[0] = flow_of_pulses(i1, k_litre(settings.k_factor1), window);
            fuel.fuel_flow[0] = flow_of_pulses(i1, k1, window);
        }
        fuel.fuel_flow_l[1] = flow_of_pulses(i2, k_litre(settings.k_factor2), window);
        fuel.fuel_flow[1] = flow_of_pulses(i2, k2, window);
    } else {
        if (compute_flow1) fuel.fuel_flow_l[0] = fuel.fuel_flow[0] = 0;
        fuel.fuel_flow_l[1] = fuel.fuel_flow[1] = 0;
    }

    // 4. Fuel used since the last pass, in pulses. Tenth-litre tanks count ten times finer.
    const uint32_t ticks = tick.ticks - fuel.flow_tick;
    const uint32_t counted = ticks < MAX_COUNTED_TICKS ? ticks : MAX_COUNTED_TICKS;
    fuel.flow_tick = tick.ticks;
    const uint8_t cfg = derived.fuel_config;
    const uint32_t per = (litres && settings.tank_resolution == 1) ? TICKS_PER_UNIT_AT_FLOW_1 / 10
                                                                   : TICKS_PER_UNIT_AT_FLOW_1;
    uint32_t u1 = pulses_used(k1, fuel.fuel_flow[0], counted, per, fuel.flow_rest[0]);
    uint32_t u2 = pulses_used(k2, fuel.fuel_flow[1], counted, per, fuel.flow_rest[1]);
    if (cfg == 14) u1 = u2 = settings.flow1_on == 1 ? u1 : u2;

    FuelData& fd = fuel_hobbs.fuel;
    // 5. Tank 1; flow 2 counted in tank 1's pulses (at the same resolution as u1).
    if (settings.tank1_mode == TANK_CALCULATED) {
        const uint32_t x = pulses_used(k1, fuel.fuel_flow[1], counted, per, fuel.flow_rest[2]);
        const int64_t c = tank1_change(cfg, fd.tank1_contents, u1, x);
        fd.tank1_contents = c < 0 ? 0 : c > UINT32_MAX ? UINT32_MAX : uint32_t(c);
        fuel.tank_level[0] = contents_level(fd.tank1_contents, k1, settings.tank1_size);
    }

    // 6. Totals.
    const uint32_t scale = litres ? 1 : 10;
    fd.fuel_used1 = add_u32(fd.fuel_used1, uint64_t(u1) * scale);
    fd.fuel_used2 = add_u32(fd.fuel_used2, uint64_t(u2) * scale);
    fuel.fuel_used[0] = div_u32(fd.fuel_used1, k1);

    // 7. Tank 2; flow 1 counted in tank 2's pulses.
    if (settings.tank2_mode == TANK_CALCULATED) {
        const uint32_t y = pulses_used(k2, fuel.fuel_flow[0], counted, per, fuel.flow_rest[3]);
        const int64_t c = tank2_change(cfg, fd.tank2_contents, u2, y);
        fd.tank2_contents = c < 0 ? 0 : c > UINT32_MAX ? UINT32_MAX : uint32_t(c);
        fuel.tank_level[1] = contents_level(fd.tank2_contents, k2, settings.tank2_size);
    }

    // 8. Fuel used by sender 2.
    fuel.fuel_used[1] = div_u32(fd.fuel_used2, k2);

    // 9. Range and endurance.
    update_range();

    // 10. Tell the hardware hook about changed fuel quantities.
    if (fuel.tank_level[0] != level_before[0] || fuel.tank_level[1] != level_before[1] ||
        fuel.fuel_used[0] != used_before[0] || fuel.fuel_used[1] != used_before[1])
        fuel_data_changed();
}

} // namespace ems
