// Unit information: the INFORMATION page (model, firmware version, serial
// number, registration; from MISCELLANEOUS SETUP) and the SENSOR INFO page of
// raw readings (main menu tile 6), which so far shows only its frame
// (title, EXIT, BACK); its readings come with the unit-information work.
#pragma once

namespace ems {

void screen_information();
void screen_sensor_info();

} // namespace ems
