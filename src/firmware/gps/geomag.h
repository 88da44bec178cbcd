// The World Magnetic Model 2020 point routine (geomagnetic field at one place
// and time, double precision) and the magnetic-variation update built on it.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ems {

// One row of the coefficient file: degree n, order m, Schmidt
// semi-normalised Gauss coefficients g and h in nT and their secular
// variation in nT per year. Six single-precision values.
struct GeomagCoefficient {
    float n, m, g, h, gdot, hdot;
};
static_assert(sizeof(GeomagCoefficient) == 24);

constexpr size_t WMM2020_ROWS = 90;      // n = 1..12, m = 0..n
constexpr double WMM2020_EPOCH = 2020.0; // decimal year of the coefficients
constexpr int WMM_MAX_DEGREE = 12;
extern const GeomagCoefficient WMM2020_COEFFICIENTS[WMM2020_ROWS]; // geomag_coefficients.cpp

// Loads the coefficients up to max_degree (1..12; other values are taken as
// 12) into the model's unnormalised arrays and recursion factors, and forgets
// the position and time of the last point.
void geomag_init(int max_degree);

// The field at alt_km above the WGS-84 ellipsoid, geodetic latitude lat and
// longitude lon (degrees, south and west negative; 240 is -120), at
// decimal_year: declination and inclination in degrees, total intensity in
// nT, and the grid variation (degrees; -999 outside latitudes beyond 55
// degrees). Terms that depend only on the position or only on the time are
// reused while those inputs stay the same. Needs geomag_init first.
void geomag_point(double alt_km, double lat, double lon, double decimal_year, double& declination,
                  double& inclination, double& total_intensity, double& grid_variation);

// (day of year - 1) / 365 of a date in a common year (February 29 not
// counted): 1 June gives 151/365. month 1..12 (others are clamped), day 1..31.
double decimal_year_fraction(int month, int day);

// Declination where the horizontal intensity is at least this many nT; NaN below.
constexpr double MAGVAR_MIN_HORIZONTAL_NT = 100.0;

} // namespace ems
