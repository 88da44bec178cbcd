#include "host/flightgear/core/flightgear_drive.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sensors/sensor_inverse.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"

namespace host {

namespace {

using ems::settings;

constexpr double HPA_PER_INHG = 33.8639;
constexpr double LITRES_PER_GALLON = 3.785411784;
constexpr double PSI_PER_BAR = 14.5037738;
constexpr double METRES_PER_FOOT = 0.3048;
constexpr uint8_t CHANNEL_PRESSURE = 1;
constexpr uint8_t CHANNEL_TEMPERATURE = 2;
constexpr uint8_t SENDER_TEMP_USER = 5;

int32_t whole(double v) { return int32_t(std::lround(v)); }
double at_least_0(double v) { return v < 0 ? 0 : v; }
double f_to_c(double f) { return (f - 32) * 5 / 9; }

int first_input_in_mode(uint8_t mode)
{
    for (int n = 0; n < 4; ++n)
        if (settings.channel_mode[n] == mode) return n;
    return -1;
}

// A pressure in psi in a record's unit: 0.1 bar, psi or 0.1 psi.
int32_t pressure_in_unit(double psi, uint8_t unit)
{
    switch (unit) {
    case 1: return whole(psi);
    case 2: return whole(psi * 10);
    default: return whole(psi / PSI_PER_BAR * 10);
    }
}

// US gallons in the tank unit: 0.1 gal, whole litres or 0.1 litre.
int32_t tank_in_unit(double gallons)
{
    if (settings.fuel_unit % 2 == 1) return whole(gallons * 10);
    const double litres = gallons * LITRES_PER_GALLON;
    return whole(settings.tank_resolution == 1 ? litres * 10 : litres);
}

// Degrees and minutes as NMEA writes them: "ddmm.mmmm" (latitude) or
// "dddmm.mmmm" (longitude), and the hemisphere letter.
std::string position(double degrees, int degree_digits, char positive, char negative)
{
    const long long tenthousandths = std::llround(std::fabs(degrees) * 60 * 10000);
    const long long d = tenthousandths / 600000;
    const long long m = tenthousandths % 600000;
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld%02lld.%04lld,%c", degree_digits, d, m / 10000, m % 10000,
                  degrees < 0 ? negative : positive);
    return text;
}

std::string sentence(const std::string& body)
{
    uint8_t sum = 0;
    for (char c : body) sum ^= uint8_t(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

} // namespace

std::vector<DrivenInput> flightgear_inputs(const FlightGearSample& s)
{
    std::vector<DrivenInput> out;
    auto add = [&out](SimInput input, int index, int32_t value) { out.push_back({input, uint8_t(index), value}); };
    add(SimInput::RpmPeriod, 0, ems::rpm_period_for(whole(s.rpm)));
    // Aimed at the displayed step, which truncates: 16.59 inHg is step 16.6.
    const double map_disp = settings.map_unit == 1 ? s.map_inhg * 10 : s.map_inhg * HPA_PER_INHG;
    add(SimInput::Map, 0, ems::raw_map_for(whole(map_disp)));

    const int egt = std::min<int>(settings.egt_channels, ems::TC_CHANNELS);
    const int cht_end = std::min<int>(egt + settings.cht_channels, ems::TC_CHANNELS);
    for (int ch = 0; ch < cht_end; ++ch) {
        const double c = f_to_c(ch < egt ? s.egt_degf : s.cht_degf);
        add(SimInput::Tc, ch, ems::tc_input_for(uint8_t(ch), whole(c)));
    }

    if (const int n = first_input_in_mode(CHANNEL_TEMPERATURE); n >= 0) {
        // A user table is in the display unit; the built-in senders in C.
        const bool table_in_f = settings.temperature_cfg[n].sender == SENDER_TEMP_USER && settings.temp_unit == 1;
        const double t = table_in_f ? s.oil_temp_degf : f_to_c(s.oil_temp_degf);
        add(SimInput::Aux, n, ems::raw_aux_temperature_for(uint8_t(n), whole(t)));
    }
    if (const int n = first_input_in_mode(CHANNEL_PRESSURE); n >= 0) {
        const int32_t p = pressure_in_unit(at_least_0(s.oil_press_psi), settings.pressure_cfg[n].unit);
        add(SimInput::Aux, n, ems::raw_aux_pressure_for(uint8_t(n), p));
    }

    add(SimInput::FlowPulses, 0, ems::flow_pulses_for(0, whole(at_least_0(s.fuel_flow_gph) * LITRES_PER_GALLON * 10)));
    add(SimInput::FuelLevel, 0, ems::raw_fuel_level_for(0, tank_in_unit(at_least_0(s.tank1_gal))));
    add(SimInput::FuelLevel, 1, ems::raw_fuel_level_for(1, tank_in_unit(at_least_0(s.tank2_gal))));
    add(SimInput::Volts, 0, ems::raw_volts_for(whole(at_least_0(s.bus_volts) * 10)));
    add(SimInput::Oat, 0, ems::raw_oat_for(whole(s.oat_degc)));
    return out;
}

namespace {

// The sky the fix is made of (GSA names the same satellites): PRN, elevation,
// azimuth, signal to noise ratio.
constexpr int SKY[8][4] = {{2, 64, 41, 44},  {5, 38, 112, 41}, {7, 22, 175, 36}, {13, 51, 232, 42},
                           {15, 15, 291, 33}, {20, 71, 300, 45}, {24, 33, 10, 39},  {30, 10, 140, 30}};

} // namespace

std::string flightgear_nmea(const FlightGearSample& s, const UtcStamp& t, int gsv_part)
{
    char time[16], date[16], tail[96];
    std::snprintf(time, sizeof time, "%02d%02d%02d.00", t.hour % 100, t.minute % 100, t.second % 100);
    std::snprintf(date, sizeof date, "%02d%02d%02d", t.day % 100, t.month % 100, t.year % 100);
    const std::string where =
        position(s.latitude_deg, 2, 'N', 'S') + "," + position(s.longitude_deg, 3, 'E', 'W');
    double track = std::fmod(s.track_deg, 360.0);
    if (track < 0) track += 360;
    std::snprintf(tail, sizeof tail, ",%.1f,%.1f,%s,,,A", at_least_0(s.groundspeed_kt), track, date);
    std::string out = sentence("GPRMC," + std::string(time) + ",A," + where + tail);
    std::snprintf(tail, sizeof tail, ",1,08,0.9,%.1f,M,0.0,M,,", s.altitude_ft * METRES_PER_FOOT);
    out += sentence("GPGGA," + std::string(time) + "," + where + tail);
    out += sentence("GPGSA,A,3,02,05,07,13,15,20,24,30,,,,,1.6,0.9,1.3");
    const int part = gsv_part == 1 ? 1 : 0;
    std::string gsv = "GPGSV,2," + std::to_string(part + 1) + ",08";
    for (int i = part * 4; i < part * 4 + 4; ++i) {
        char sat[32];
        std::snprintf(sat, sizeof sat, ",%02d,%02d,%03d,%02d", SKY[i][0], SKY[i][1], SKY[i][2], SKY[i][3]);
        gsv += sat;
    }
    return out + sentence(gsv);
}

} // namespace host
