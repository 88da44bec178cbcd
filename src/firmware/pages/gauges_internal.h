// Helpers shared by the gauge and page sources (not part of the widget contract).
#pragma once
#include <cstdint>

#include "pages/gauges.h"

namespace ems::gauge_detail {

// Truncates f toward zero after holding it within lo..hi, so that huge or
// non-finite quotients never reach an out-of-range float-to-int conversion.
int32_t trunc_held(float f, int32_t lo, int32_t hi);

// Text colour and box colour of a highlighted value: alarm (red, white text,
// only while blink_flag is 1), caution (yellow, black text) or none.
enum class Level : uint8_t { Normal, Caution, Alarm, Avoid };

// Writes text, then highlights it per level: box rows y1..y2 from
// text_start_x - pad to text_end_x. Alarm shows only while blink_flag is 1.
void text_with_level(int16_t x, int16_t y, const char* text, uint8_t font, uint8_t align,
                     int16_t pad, int16_t y1, int16_t y2, Level level);

// Level of a value against its low and high alarm and caution limits.
Level limit_level(int64_t v, const Limits& l);

// Row of a 5-on / 5-off dashed line from x1 to x2.
void dashed_5_5(int16_t x1, int16_t x2, int16_t y, uint8_t colour);

// Unit text of a pressure record unit (gauge form of options::PRESSURE_UNIT).
const char* pressure_unit_text(uint8_t unit);
// options::DEGREE_UNIT text of a unit value.
const char* degree_unit_text(uint8_t unit);
// MAP value text ("%.1f" of map_disp x 0.1 for inches, else "%d") into buf[16].
void map_value_text(char* buf);
// options::MAP_UNIT text of map_unit.
const char* map_unit_text();

} // namespace ems::gauge_detail

namespace ems::gauge_detail {

// An arc of a scale: it starts at angle `start` and sweeps `sweep` degrees
// clockwise over the ring radius - band .. radius, mirrored left-right for
// the left twin arc.
struct Arc {
    ScreenPoint centre;
    int16_t radius = 0;
    int16_t band = 0;
    int16_t start = 0;
    int16_t sweep = 0;
    bool mirrored = false;
};

// Coloured bands and the avoid zone of a scale on an arc. Nothing when max <= min.
void scale_bands(const Arc& arc, const Scale& s);
// Needle angle for value v on that scale, held within start .. start + sweep
// (start when max <= min).
int16_t scale_angle(int64_t v, const Scale& s, const Arc& arc);
// Point at radius r and angle a from (cx, cy); mirrored flips left-right.
int16_t polar_x(int16_t cx, int16_t r, int16_t a, bool mirrored);
int16_t polar_y(int16_t cy, int16_t r, int16_t a);
// Line along angle a from radius r1 to r2.
void radial_line(int16_t cx, int16_t cy, int16_t r1, int16_t r2, int16_t a, uint8_t colour,
                 bool mirrored);

// Scale of RPM 1 (instrument 0) or RPM 2 (instrument 1), with its avoid zone.
Scale rpm_scale(uint8_t instrument);
// Highlight level of an RPM against its limits and avoid zone.
Level rpm_level(int64_t rpm, const Scale& s);

} // namespace ems::gauge_detail
