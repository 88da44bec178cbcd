// Raw sensor inputs, written by the host's sliders between passes and read by
// the sensor processing. ADC counts are 0..4095 (the sliders reach 4096).
#pragma once
#include <cstdint>

namespace ems {

struct RawInputs {
    uint16_t raw_volts = 0;          // supply-voltage ADC count
    uint16_t raw_current = 0;        // current-sensor ADC count
    uint16_t raw_oat = 0;            // outside-air-temperature ADC count
    uint16_t raw_map = 0;            // manifold-pressure ADC count
    uint16_t rpm_period = 0;         // RPM 1 pulse period in 155.86 kHz ticks (larger is slower)
    uint16_t raw_cjc = 0;            // cold-junction sensor ADC count
    int16_t tc_input[12] = {};       // thermocouple hot-junction temperatures, whole degrees C
    uint16_t raw_aux[4] = {};        // analog inputs 1..4, ADC counts
    uint16_t raw_fuel_level[2] = {}; // tank level senders 1 and 2, ADC counts
    uint16_t raw_fuel_pressure = 0;  // fuel-pressure sender ADC count
    uint16_t flow_pulses[2] = {};    // flow sender pulses per measuring window
    uint16_t injector_duty[2] = {};  // injector duty cycle in 0.1 % (no host control; stays 0)
    int32_t rpm2 = 0;                // RPM 2 (rotor) in RPM, straight from its slider
    int32_t rpm2_percent = 0;        // rpm2 * 100 / rpm2_full_scale, set by the slider handler
};
extern RawInputs raw;

} // namespace ems
