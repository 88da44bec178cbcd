// What each sensor slider amounts to, in the units the instrument's settings
// select: read from the firmware's own converted values, so a readout shows
// what the unit computed from the raw count, never a second conversion.
#pragma once
#include <QString>

namespace host {

// The readout of the slider "TAB/CAPTION", or a null string for sliders
// without one (the inert "UL Power" sliders, the "Selection" tab).
QString sensor_readout(const QString& slider_key);

} // namespace host
