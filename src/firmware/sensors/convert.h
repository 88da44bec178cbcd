// Conversion helpers shared by all sensor channels. Bit-exact: the single
// precision steps are done in float, one operation at a time, as written.
#pragma once
#include <cstdint>

namespace ems {

// Value at x of the straight line through (x1, y1) and (x2, y2), rounded to an
// integer with halves away from zero (slope and value in single precision,
// then t = value x 10 truncated; last digit of |t| >= 5 rounds up). x outside
// [x1, x2] extrapolates. A vertical line (x1 == x2) has no value: returns
// `fallback` (callers pass the output's previous value); never divides by zero.
// Results beyond the int32 range saturate.
int32_t interpolate(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t x, int32_t fallback);

// As above for lines whose ends are fixed constants (x1 != x2); a vertical
// line returns y1.
inline int32_t interpolate(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t x)
{
    return interpolate(x1, x2, y1, y2, x, y1);
}

// a / 10 rounded half away from zero: a x 0.1 in single precision, +0.5 for
// a >= 0 or -0.5 otherwise, truncated. round_tenths(25) = 3, (-25) = -3.
int32_t round_tenths(int32_t a);

// Degrees C to F: c * 18 / 10 + 32 in integer arithmetic (truncating), taken as 16 bit.
int16_t c_to_f(int32_t c);

// Converts a float to int32 truncating toward zero; NaN gives 0 and values
// beyond the range saturate (no undefined conversion).
int32_t float_to_i32(float v);

// Narrowing that holds the value at the target type's ends.
inline int16_t saturate16(int64_t v) { return v < INT16_MIN ? INT16_MIN : v > INT16_MAX ? INT16_MAX : int16_t(v); }
inline int32_t saturate32(int64_t v) { return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : int32_t(v); }

} // namespace ems
