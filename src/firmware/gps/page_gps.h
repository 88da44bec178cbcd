// The GPS page (run-screen page 3): information list, sky view and signal
// quality chart, drawn from the GPS record, clock_utc, the magnetic variation
// and the sun times.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ems {

// Draws the whole page into the frame buffer (starting with clear_screen);
// crosses it out in red while nmea_active is 0. Keeps no state; computes the
// sun times (sun_time) while a fix is valid.
void page_gps();

// Position text by settings.gps_position_format (0 d°m.mmm, 1 d°m's.s,
// 2 d.dddd°; other values as 2): hemisphere letter, then the number, e.g.
// "S33°30.000". Writes at most size bytes, always terminated.
void format_latitude(float value, char* text, size_t size);
void format_longitude(float value, char* text, size_t size);

// Course text by settings.gps_cog: "%d°T" of gps_course (TRUE) or "%d°M" of
// gps_course_mag (MAGNETIC); "---°T" / "---°M" without a fix.
void format_course(char* text, size_t size);

// A sun time (local hours as sun_time leaves them) as "hh:mm", wrapped into
// the day: 24.5 is "00:30", -0.5 is "23:30". "--:--" when the sun does not
// rise or set (NaN) or the value is not above -24 and below 48 hours.
void format_sun_time(float hours, char* text, size_t size);

// The computed magnetic variation (mag_variation) in degrees and minutes,
// "%.0f°%.0f" then "E" (east, 0 included) or "W"; "--°--" when it is not a number.
void format_auto_variation(char* text, size_t size);

} // namespace ems
