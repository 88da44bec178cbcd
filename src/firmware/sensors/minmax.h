// The kept minimum and maximum readings since the last reset. The sensor
// channels move them outward as readings arrive (never during the power-on
// alarm hold-off, except the thermocouple maxima), the RMC parser raises the
// ground-speed maximum, the MIN/MAX page resets them. In memory only.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ems {

#pragma pack(push, 1)
// 92 bytes, packed, in this order. Units are those of the reading followed.
struct MinMaxValues {
    uint16_t volts_min;           // lowest volts_x10 (0.1 V)
    uint16_t volts_max;           // highest volts_x10
    int16_t oat_min;              // lowest oat_disp (display units)
    int16_t oat_max;              // highest oat_disp
    int16_t map_min;              // lowest map_disp (mb or 0.1 inHg)
    int16_t map_max;              // highest map_disp
    uint16_t gps_speed_max;       // highest gps_speed, in speed_unit
    int32_t rpm1_max;             // highest RPM 1: percent when rpm1_display is 1, else RPM
    int32_t rpm2_max;             // highest RPM 2, likewise with rpm2_display
    int16_t tc_max[12];           // highest tc_value per thermocouple (display units)
    int16_t aux_pressure_max[4];  // highest aux_pressure per analog channel
    int16_t aux_temp_max[4];      // highest aux_temp per analog channel
    int16_t aux_current_min[4];   // lowest aux_current per analog channel (A)
    int16_t aux_current_max[4];   // highest aux_current per analog channel (A)
    int16_t fuel_pressure_max;    // highest fuel_pressure
    int16_t current_min;          // lowest main current_a (A)
    int16_t current_max;          // highest current_a
    int16_t aux_generic_max[4];   // highest aux_generic per analog channel
};
#pragma pack(pop)

static_assert(sizeof(MinMaxValues) == 92);
static_assert(offsetof(MinMaxValues, gps_speed_max) == 12);
static_assert(offsetof(MinMaxValues, rpm1_max) == 14);
static_assert(offsetof(MinMaxValues, rpm2_max) == 18);
static_assert(offsetof(MinMaxValues, tc_max) == 22);
static_assert(offsetof(MinMaxValues, aux_pressure_max) == 46);
static_assert(offsetof(MinMaxValues, aux_temp_max) == 54);
static_assert(offsetof(MinMaxValues, aux_current_min) == 62);
static_assert(offsetof(MinMaxValues, aux_current_max) == 70);
static_assert(offsetof(MinMaxValues, fuel_pressure_max) == 78);
static_assert(offsetof(MinMaxValues, current_min) == 80);
static_assert(offsetof(MinMaxValues, current_max) == 82);
static_assert(offsetof(MinMaxValues, aux_generic_max) == 84);

extern MinMaxValues minmax; // all zero at program start

// Seeds every field from the present readings (a min and its max alike;
// rpm1_max / rpm2_max in percent when their display is not 0), then calls
// minmax_changed.
void minmax_reset();

// RPM 1 and RPM 2 in the unit their maxima are kept and shown in: percent
// while their display is not 0 ("RPM"), else RPM.
int32_t rpm1_kept_reading();
int32_t rpm2_kept_reading();

// Helpers for the channels (packed fields are passed by value):
//   minmax.fuel_pressure_max = minmax_higher(minmax.fuel_pressure_max, fuel_pressure);
// Return the new kept value, calling minmax_changed when it differs.
int16_t minmax_higher(int16_t kept, int16_t value);
int16_t minmax_lower(int16_t kept, int16_t value);
uint16_t minmax_higher(uint16_t kept, uint16_t value);
uint16_t minmax_lower(uint16_t kept, uint16_t value);
int32_t minmax_higher(int32_t kept, int32_t value);

} // namespace ems
