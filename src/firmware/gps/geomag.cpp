// The World Magnetic Model point computation and the magnetic-variation
// update. The model follows the published WMM routine: geodetic to spherical
// coordinates on the WGS-84 ellipsoid, time-adjusted Gauss coefficients,
// spherical-harmonic summation with unnormalised associated Legendre
// functions built by recursion, rotation back to geodetic axes.
#include "gps/geomag.h"

#include <cmath>
#include <limits>

#include "gps/gps_data.h"
#include "gps/sun.h"
#include "system/clock.h"

namespace ems {

MagSunState magsun;

namespace {

constexpr int N = WMM_MAX_DEGREE + 1;

// WGS-84 ellipsoid and the geomagnetic reference radius, km.
constexpr double A = 6378.137;
constexpr double B = 6356.7523142;
constexpr double RE = 6371.2;
constexpr double A2 = A * A;
constexpr double B2 = B * B;
constexpr double C2 = A2 - B2;
constexpr double A4 = A2 * A2;
constexpr double B4 = B2 * B2;
constexpr double C4 = A4 - B4;
constexpr double DTR = 3.14159265358979323846 / 180.0;

// The model and the reusable terms of the last point. Arrays are indexed
// [m][n]; c[n][m-1] holds the h coefficient of degree n, order m.
struct GeomagModel {
    int maxord = WMM_MAX_DEGREE;
    double c[N][N] = {};    // unnormalised g (and h) at the epoch, nT
    double cd[N][N] = {};   // their secular variation, nT per year
    double tc[N][N] = {};   // time-adjusted coefficients
    double p[N][N] = {};    // associated Legendre functions
    double dp[N][N] = {};   // their derivatives in theta
    double k[N][N] = {};    // recursion factors
    double snorm[N][N] = {}; // Schmidt normalisation factors
    double sp[N] = {}, cp[N] = {}; // sin and cos of m times the longitude
    double fn[N] = {}, fm[N] = {};
    double pp[N] = {};      // Legendre terms at the geographic poles
    // Spherical coordinates of the last point.
    double ct = 0, st = 0, r = 0, ca = 0, sa = 0;
    // Reuse markers: position and time of the last point.
    double otime = -1000, oalt = -1000, olat = -1000, olon = -1000;
};
GeomagModel model;

} // namespace

void geomag_init(int max_degree)
{
    GeomagModel& g = model;
    g = GeomagModel{};
    g.maxord = max_degree >= 1 && max_degree <= WMM_MAX_DEGREE ? max_degree : WMM_MAX_DEGREE;

    for (const GeomagCoefficient& row : WMM2020_COEFFICIENTS) {
        const int n = int(row.n);
        const int m = int(row.m);
        if (n < 1 || n > g.maxord || m < 0 || m > n) continue;
        g.c[m][n] = row.g;
        g.cd[m][n] = row.gdot;
        if (m != 0) {
            g.c[n][m - 1] = row.h;
            g.cd[n][m - 1] = row.hdot;
        }
    }

    // Schmidt semi-normalised to unnormalised coefficients.
    g.snorm[0][0] = 1.0;
    for (int n = 1; n <= g.maxord; ++n) {
        g.snorm[0][n] = g.snorm[0][n - 1] * double(2 * n - 1) / double(n);
        double j = 2.0;
        for (int m = 0; m <= n; ++m) {
            g.k[m][n] = double((n - 1) * (n - 1) - m * m) / double((2 * n - 1) * (2 * n - 3));
            if (m > 0) {
                const double flnmj = double(n - m + 1) * j / double(n + m);
                g.snorm[m][n] = g.snorm[m - 1][n] * std::sqrt(flnmj);
                j = 1.0;
                g.c[n][m - 1] *= g.snorm[m][n];
                g.cd[n][m - 1] *= g.snorm[m][n];
            }
            g.c[m][n] *= g.snorm[m][n];
            g.cd[m][n] *= g.snorm[m][n];
        }
        g.fn[n] = double(n + 1);
        g.fm[n] = double(n);
    }
    g.k[1][1] = 0.0;

    g.p[0][0] = 1.0;
    g.dp[0][0] = 0.0;
    g.sp[0] = 0.0;
    g.cp[0] = 1.0;
    g.pp[0] = 1.0;
    g.otime = g.oalt = g.olat = g.olon = -1000.0;
}

void geomag_point(double alt, double glat, double glon, double time, double& dec, double& dip, double& ti,
                  double& gv)
{
    GeomagModel& g = model;
    const double dt = time - WMM2020_EPOCH;
    const double rlon = glon * DTR;
    const double rlat = glat * DTR;
    const double srlon = std::sin(rlon);
    const double srlat = std::sin(rlat);
    const double crlon = std::cos(rlon);
    const double crlat = std::cos(rlat);
    const double srlat2 = srlat * srlat;
    const double crlat2 = crlat * crlat;
    g.sp[1] = srlon;
    g.cp[1] = crlon;

    const bool new_position = alt != g.oalt || glat != g.olat;
    if (new_position) {
        // Geodetic to spherical coordinates.
        const double q = std::sqrt(A2 - C2 * srlat2);
        const double q1 = alt * q;
        const double q2 = ((q1 + A2) / (q1 + B2)) * ((q1 + A2) / (q1 + B2));
        g.ct = srlat / std::sqrt(q2 * crlat2 + srlat2);
        g.st = std::sqrt(1.0 - g.ct * g.ct);
        const double r2 = alt * alt + 2.0 * q1 + (A4 - C4 * srlat2) / (q * q);
        g.r = std::sqrt(r2);
        const double d = std::sqrt(A2 * crlat2 + B2 * srlat2);
        g.ca = (alt + d) / g.r;
        g.sa = C2 * crlat * srlat / (g.r * d);
    }
    if (glon != g.olon) {
        for (int m = 2; m <= g.maxord; ++m) {
            g.sp[m] = g.sp[1] * g.cp[m - 1] + g.cp[1] * g.sp[m - 1];
            g.cp[m] = g.cp[1] * g.cp[m - 1] - g.sp[1] * g.sp[m - 1];
        }
    }

    const double ct = g.ct, st = g.st;
    const double aor = RE / g.r;
    double ar = aor * aor;
    double br = 0, bt = 0, bp = 0, bpp = 0;
    for (int n = 1; n <= g.maxord; ++n) {
        ar *= aor;
        for (int m = 0; m <= n; ++m) {
            // Unnormalised associated Legendre functions and derivatives.
            if (new_position) {
                if (n == m) {
                    g.p[m][n] = st * g.p[m - 1][n - 1];
                    g.dp[m][n] = st * g.dp[m - 1][n - 1] + ct * g.p[m - 1][n - 1];
                } else if (n == 1 && m == 0) {
                    g.p[m][n] = ct * g.p[m][n - 1];
                    g.dp[m][n] = ct * g.dp[m][n - 1] - st * g.p[m][n - 1];
                } else {
                    if (m > n - 2) {
                        g.p[m][n - 2] = 0.0;
                        g.dp[m][n - 2] = 0.0;
                    }
                    g.p[m][n] = ct * g.p[m][n - 1] - g.k[m][n] * g.p[m][n - 2];
                    g.dp[m][n] = ct * g.dp[m][n - 1] - st * g.p[m][n - 1] - g.k[m][n] * g.dp[m][n - 2];
                }
            }
            // Time-adjusted Gauss coefficients.
            if (time != g.otime) {
                g.tc[m][n] = g.c[m][n] + dt * g.cd[m][n];
                if (m != 0) g.tc[n][m - 1] = g.c[n][m - 1] + dt * g.cd[n][m - 1];
            }
            // Terms of the spherical-harmonic expansions.
            const double par = ar * g.p[m][n];
            double temp1, temp2;
            if (m == 0) {
                temp1 = g.tc[m][n] * g.cp[m];
                temp2 = g.tc[m][n] * g.sp[m];
            } else {
                temp1 = g.tc[m][n] * g.cp[m] + g.tc[n][m - 1] * g.sp[m];
                temp2 = g.tc[m][n] * g.sp[m] - g.tc[n][m - 1] * g.cp[m];
            }
            bt -= ar * temp1 * g.dp[m][n];
            bp += g.fm[m] * temp2 * par;
            br += g.fn[n] * temp1 * par;
            // At the geographic poles the east component needs its own series.
            if (st == 0.0 && m == 1) {
                g.pp[n] = n == 1 ? g.pp[n - 1] : ct * g.pp[n - 1] - g.k[m][n] * g.pp[n - 2];
                bpp += g.fm[m] * temp2 * ar * g.pp[n];
            }
        }
    }
    bp = st == 0.0 ? bpp : bp / st;

    // Spherical to geodetic axes: north, east, down.
    const double bx = -bt * g.ca - br * g.sa;
    const double by = bp;
    const double bz = bt * g.sa - br * g.ca;
    const double bh = std::sqrt(bx * bx + by * by);
    ti = std::sqrt(bh * bh + bz * bz);
    dec = std::atan2(by, bx) / DTR;
    dip = std::atan2(bz, bh) / DTR;

    gv = -999.0;
    if (std::fabs(glat) >= 55.0) {
        if (glat > 0.0 && glon >= 0.0) gv = dec - glon;
        if (glat > 0.0 && glon < 0.0) gv = dec + std::fabs(glon);
        if (glat < 0.0 && glon >= 0.0) gv = dec + glon;
        if (glat < 0.0 && glon < 0.0) gv = dec - std::fabs(glon);
        if (gv > 180.0) gv -= 360.0;
        if (gv < -180.0) gv += 360.0;
    }

    g.otime = time;
    g.oalt = alt;
    g.olat = glat;
    g.olon = glon;
}

double decimal_year_fraction(int month, int day)
{
    static constexpr int DAYS_BEFORE[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    if (month < 1) month = 1;
    if (month > 12) month = 12;
    return double(day + DAYS_BEFORE[month - 1] - 1) / 365.0;
}

void magvar_update()
{
    if (gps.gps_fix_position == 0) return;
    geomag_init(WMM_MAX_DEGREE);
    const ClockRecord& utc = clk.clock_utc;
    const double year = double(utc.year) + decimal_year_fraction(utc.month, utc.day);
    const double alt_km = double(gps.gps_altitude_m / 1000);
    double dec = 0, dip = 0, ti = 0, gv = 0;
    geomag_point(alt_km, double(gps.gps_latitude), double(gps.gps_longitude), year, dec, dip, ti, gv);
    // Near the magnetic poles the horizontal field is too weak for a compass
    // direction to mean anything.
    if (!(ti * std::cos(dip * DTR) >= MAGVAR_MIN_HORIZONTAL_NT)) dec = std::numeric_limits<double>::quiet_NaN();
    magsun.mag_variation = float(dec);
}

} // namespace ems
