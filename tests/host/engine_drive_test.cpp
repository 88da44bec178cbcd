// The built-in engine's outputs on the instrument's raw inputs: each
// thermocouple channel from its own cylinder, read back by the firmware's
// own conversions; an open probe and a barely turning engine.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/units.h"
#include "host/engine/core/engine_drive.h"
#include "sensors/channels.h"
#include "sensors/sensor_inverse.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"

namespace {

using namespace engine;

int32_t driven(const std::vector<host::DrivenInput>& in, host::SimInput what, int index)
{
    for (const host::DrivenInput& d : in)
        if (d.input == what && d.index == index) return d.value;
    return -1;
}

TEST(EngineDrive, EveryChannelReadsItsCylinderAndAnOpenProbeReadsTheLowestInput)
{
    test::reset_firmware();
    ems::settings_load_defaults();
    ems::settings.egt_channels = 4;
    ems::settings.cht_channels = 4;
    Outputs o;
    o.rpm = 2400;
    for (int i = 0; i < 4; ++i) {
        o.egt_k[i] = kelvin_from_f(1400 + 20 * i);
        o.cht_k[i] = kelvin_from_c(150 + 10 * i);
    }
    o.cht_open[2] = true;
    const auto in = host::engine_inputs(o, Environment{}, host::EngineFlight{}, 4);
    for (int ch = 0; ch < 8; ++ch) {
        const int16_t raw = int16_t(driven(in, host::SimInput::Tc, ch));
        if (ch == 6) {
            EXPECT_EQ(raw, ems::TC_INPUT_MIN);
            continue;
        }
        const double want_c = ch < 4 ? c_from_kelvin(o.egt_k[ch]) : c_from_kelvin(o.cht_k[ch - 4]);
        EXPECT_NEAR(ems::tc_reading_c(raw, ems::tc_channel_type(uint8_t(ch))), want_c, 1) << ch;
    }
    const uint16_t period = uint16_t(driven(in, host::SimInput::RpmPeriod, 0));
    EXPECT_NEAR(double(ems::rpm_of_period(period)), 2400, 5);

    o.rpm = 3; // a crankshaft creeping to a stop
    EXPECT_EQ(driven(host::engine_inputs(o, Environment{}, host::EngineFlight{}, 4), host::SimInput::RpmPeriod, 0),
              ems::RPM_PERIOD_STOPPED);
}

} // namespace
