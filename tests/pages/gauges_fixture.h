// The gauge tests' fixture: a fresh firmware with the trig tables built, the
// engine computer's data valid and the blink on; bars built in one line.
#pragma once
#include <gtest/gtest.h>

#include "pages/gauges.h"
#include "support/firmware_reset.h"
#include "system/tick.h"
#include "sensors/ecu_data.h"

namespace test {

class GaugesFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        ems::build_trig_tables();
        ems::ecu.vexa_data_valid = 1;
        ems::tick.blink_flag = 1;
    }
    void TearDown() override { test::reset_firmware(); }

    // A bar at row 100, 10 rows thick.
    static ems::Bar bar(int16_t x, int16_t w, int64_t min, int64_t max, ems::Limits l, int64_t v)
    {
        return {.x = x,
                .y = 100,
                .width = w,
                .thickness = 10,
                .scale = {.min = min, .max = max, .limits = l},
                .value = v};
    }
    // Low alarm 10, low caution 20, high caution 80, high alarm 90.
    static constexpr ems::Limits L10_90{
        .low_alarm = 10, .low_caution = 20, .high_caution = 80, .high_alarm = 90};
};

} // namespace test
