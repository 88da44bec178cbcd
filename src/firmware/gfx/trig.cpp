// The whole-degree angle tables behind sin_deg and cos_deg.
#include <cmath>

#include "gfx/draw.h"

namespace ems {

TrigTables trig_tables;

void build_trig_tables()
{
    constexpr double DEG_TO_RAD = 3.141592653589793 / 180.0;
    for (int d = 0; d < TRIG_TABLE_SIZE; ++d) {
        const double rad = d * DEG_TO_RAD;
        trig_tables.sin_pos[d] = float(std::sin(rad));
        trig_tables.sin_neg[d] = float(std::sin(-rad));
        trig_tables.cos_pos[d] = float(std::cos(rad));
        trig_tables.cos_neg[d] = float(std::cos(-rad));
    }
}

namespace {

// Brings an angle into -360..360; the angles the screens pass are unchanged.
int table_angle(int16_t a)
{
    return (a > 360 || a < -360) ? a % 360 : a;
}

} // namespace

float sin_deg(int16_t a)
{
    const int d = table_angle(a);
    return d >= 0 ? trig_tables.sin_pos[d] : trig_tables.sin_neg[-d];
}

float cos_deg(int16_t a)
{
    const int d = table_angle(a);
    return d >= 0 ? trig_tables.cos_pos[d] : trig_tables.cos_neg[-d];
}

} // namespace ems
