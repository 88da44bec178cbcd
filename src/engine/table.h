// A curve given as sorted (x, y) points, read by straight-line interpolation
// and held flat beyond its ends. Static data; nothing is allocated.
#pragma once
#include <cstddef>

namespace engine {

struct Point {
    double x, y;
};

template <size_t N>
double lookup(const Point (&curve)[N], double x)
{
    if (x <= curve[0].x) return curve[0].y;
    for (size_t i = 1; i < N; ++i)
        if (x <= curve[i].x) {
            const Point& a = curve[i - 1];
            const Point& b = curve[i];
            return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
        }
    return curve[N - 1].y;
}

} // namespace engine
