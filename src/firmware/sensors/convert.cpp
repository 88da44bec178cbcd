#include "sensors/convert.h"

#include <cmath>

namespace ems {

int32_t float_to_i32(float v)
{
    if (std::isnan(v)) return 0;
    // 2^31 is exact in float; every float below it converts without overflow.
    if (v >= 2147483648.0f) return INT32_MAX;
    if (v <= -2147483648.0f) return INT32_MIN;
    return int32_t(v);
}

int32_t interpolate(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t x, int32_t fallback)
{
    if (x1 == x2) return fallback;
    // One single-precision operation per statement, in the order written.
    const float dy = float(int64_t(y2) - y1);
    const float dx = float(int64_t(x2) - x1);
    const float slope = dy / dx;
    const float at_x = float(x) * slope;
    const float x2_part = float(x2) * slope;
    const float offset = float(y2) - x2_part;
    const float v = at_x + offset;
    const float v10 = v * 10.0f;
    // |t| / 10 must fit int32, so t itself is limited to +-2^35 first.
    constexpr float T_LIMIT = 34359738368.0f; // 2^35, exact in float
    if (std::isnan(v10)) return 0;
    const int64_t t = v10 >= T_LIMIT ? int64_t(T_LIMIT) : v10 <= -T_LIMIT ? -int64_t(T_LIMIT) : int64_t(v10);
    const int64_t mag = t < 0 ? -t : t;
    int64_t r = mag / 10 + (mag % 10 >= 5 ? 1 : 0);
    if (t < 0) r = -r;
    return r > INT32_MAX ? INT32_MAX : r < INT32_MIN ? INT32_MIN : int32_t(r);
}

int32_t round_tenths(int32_t a)
{
    const float tenth = float(a) * 0.1f;
    const float v = a >= 0 ? tenth + 0.5f : tenth - 0.5f;
    return float_to_i32(v);
}

int16_t c_to_f(int32_t c)
{
    return int16_t(int64_t(c) * 18 / 10 + 32);
}

} // namespace ems
