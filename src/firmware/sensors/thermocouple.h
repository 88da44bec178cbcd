// Thermocouples and cold-junction compensation: the twelve EGT/CHT channels,
// their history for the trend graphs, lean-find and cruise bookkeeping, and
// the shared EGT/CHT alarm.
//
// Channels 0 .. egt_channels-1 are EGT, the next cht_channels are CHT; the
// rest are converted (with cht_probe) but not alarmed. The simulated probe is
// always type K: its EMF is synthesised from the slider temperature and then
// converted with the configured type, as the instrument would.
#pragma once
#include <cstdint>

#include "alarms/alarm_table.h"
#include "settings/settings.h"

namespace ems {

constexpr uint8_t TC_CHANNELS = 12;
constexpr uint16_t TC_HISTORY = 250;     // samples kept per channel
constexpr uint8_t TC_TYPE_K = 0;
constexpr uint8_t TC_TYPE_J = 1;
constexpr uint8_t TC_TYPE_E = 2;
constexpr int16_t TC_OPEN_BELOW = -100;   // tc_value below this: an open or shorted probe

// A reference table: EMF in microvolts at `step` degree intervals from `first_x10` / 10.
struct TcTable {
    uint16_t count;      // points
    uint8_t step;        // degrees C between points
    int32_t first_x10;   // temperature of point 0, 0.1 degree C
    const int32_t* emf;  // count values, microvolts
};
// IPTS-68 tables of types K, J and E (index TC_TYPE_K..TC_TYPE_E).
extern const TcTable TC_TABLES[3];

struct ThermocoupleState {
    int16_t cjc_c = 0;                               // cold-junction temperature, whole degrees C
    int16_t tc_value_c[TC_CHANNELS] = {};            // channel temperature, whole degrees C
    int16_t tc_value[TC_CHANNELS] = {};              // channel temperature in temp_unit (C or F)
    int16_t tc_history[TC_CHANNELS][TC_HISTORY] = {}; // tc_value samples, oldest first
    uint8_t tc_history_phase[TC_CHANNELS] = {};      // 1 when the next pass skips the sample
    int16_t tc_peak[TC_CHANNELS] = {};               // lean-find peak / cruise reference (display units)
    int16_t tc_delta[TC_CHANNELS] = {};              // tc_value - tc_peak
    int16_t tc_peak_order[TC_CHANNELS] = {};         // 0 not yet peaked, else order of passing the peak
    uint8_t lean_order_next = 0;                     // next peak order to hand out
    uint8_t lean_mode = 0;                           // 1 while the lean page runs
    uint8_t cruise_mode = 0;                         // 1 while the cruise page runs
};
extern ThermocoupleState thermo;

// EMF in microvolts of thermocouple type 0..2 (K, J, E) at temp_c degrees C;
// outside the table the end segments continue. An unknown type reads as K.
int32_t tc_emf(int32_t temp_c, uint8_t type);
// Temperature in 0.1 degree C (truncated) of a measured EMF in microvolts,
// cold-junction compensated with cjc_c. An unknown type reads as K.
int32_t tc_temp_x10(int32_t emf_uv, uint8_t type);

// What a channel configured for thermocouple `type` reads, in whole degrees
// C, from the simulated type-K probe at input_c (its cold junction at cjc_c).
int16_t tc_reading_c(int16_t input_c, uint8_t type);
// The probe type a channel is read with: egt_probe for EGT channels,
// cht_probe for all others.
uint8_t tc_channel_type(uint8_t channel);

// Per-pass entry points (declared in channels.h too).
void process_cjc();                         // cjc_c from raw_cjc
void process_thermocouple(uint8_t channel); // 0..11; other channels are ignored

} // namespace ems
