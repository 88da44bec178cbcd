// Values derived from the settings: the RPM 1 scale, the fuel configuration
// and the mode each analog channel is in.
#include "settings/settings.h"
#include "settings/unit_switch.h"

namespace ems {

uint8_t channel_mode_in_use(uint8_t n)
{
    if (n >= 4) return CHANNEL_OFF;
    if (settings.cht_probe == CHT_PROBE_NTC && (n == 2 || (n == 3 && settings.cht_channels != 1)))
        return CHANNEL_OFF;
    if (n == 2 && settings.ecu_type == ECU_ROTAX_912IS) return CHANNEL_TEMPERATURE;
    return settings.channel_mode[n];
}

void rpm1_scale_update()
{
    // 60000 x 15586: 60 s per minute x the 155.86 kHz period counter, over the
    // pulses per revolution in hundredths. One division, so the scale is exact
    // for any pulse count and never 0 within the 1..99000 range.
    if (settings.rpm1_pulses == 0) return;
    derived.rpm1_scale = int32_t(uint64_t(935160000) / settings.rpm1_pulses);
}

namespace {

uint8_t derive(UnitSettings& s)
{
    const bool f1 = s.flow1_on != 0;
    const bool f2 = s.flow2_on != 0;
    const uint8_t t1 = s.tank1_mode;
    const uint8_t t2 = s.tank2_mode;
    const bool both_tanks_in_use = t1 < TANK_OFF && t2 < TANK_OFF;
    const bool differential_or_sum = s.flow_mode > 0;

    // 1. No flow sender: tank senders only.
    if (!f1 && !f2) {
        if (t1 == TANK_SENDER && t2 == TANK_SENDER) return 4;
        if (t1 == TANK_SENDER && t2 == TANK_OFF) return 2;
        if (t1 == TANK_OFF && t2 == TANK_SENDER) return 3;
        return 9;
    }
    // 2. No tank: flows only.
    if (t1 == TANK_OFF && t2 == TANK_OFF) {
        if (f1 && f2) return differential_or_sum ? 8 : 7;
        return f1 ? 5 : 6;
    }
    // 3. Both flow senders.
    if (f1 && f2) {
        if (both_tanks_in_use) return differential_or_sum ? 11 : 10;
        if (t1 < TANK_OFF && t2 == TANK_OFF) return differential_or_sum ? 12 : 9;
        if (t1 == TANK_OFF && t2 < TANK_OFF) return differential_or_sum ? 13 : 9;
        return 9;
    }
    // 4. Exactly one flow sender.
    if (both_tanks_in_use) {
        if (t1 == TANK_SENDER && t2 == TANK_SENDER) return 11;
        // One sender feeds both tanks: both use its K-factor.
        if (f1)
            s.k_factor2 = s.k_factor1;
        else
            s.k_factor1 = s.k_factor2;
        return 14;
    }
    if (f1 && t1 < TANK_OFF) return 0;
    if (f2 && t2 < TANK_OFF) return 1;
    return 9;
}

} // namespace

void fuel_config_derive()
{
    derived.fuel_config = derive(settings);
    // The litre resolution only matters with a tank: back to whole litres
    // without one, converting what is kept in tenths.
    if (settings.tank1_mode == TANK_OFF && settings.tank2_mode == TANK_OFF) tank_resolution_switch(0);
}

} // namespace ems
