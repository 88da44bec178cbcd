// Firmware variables by name, as the scenario runner dumps them.
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "app/var_registry.h"
#include "gps/gps_data.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "system/raw_inputs.h"

namespace {

using namespace ems;

TEST(VarRegistry, NamesAreUniqueAndSettingsFieldsLieInsideTheBlock)
{
    std::set<std::string> names;
    const auto* begin = reinterpret_cast<const uint8_t*>(&settings);
    size_t settings_fields = 0;
    for (size_t i = 0; i < var_count(); ++i) {
        const VarInfo& v = var_at(i);
        EXPECT_TRUE(names.insert(v.name).second) << "twice: " << v.name;
        if (std::string(v.name).rfind("settings.", 0) == 0) {
            ++settings_fields;
            const auto* p = static_cast<const uint8_t*>(v.ptr);
            EXPECT_TRUE(p >= begin && p < begin + sizeof(UnitSettings)) << v.name;
        }
    }
    EXPECT_GT(settings_fields, 500u) << "every field of every record is listed";
}

TEST(VarRegistry, ReadsValuesOfEveryKind)
{
    test::reset_firmware();
    raw.tc_input[3] = -150;
    nmea.nmea_active = 1;
    const VarInfo* tc = find_var("tc_input");
    ASSERT_TRUE(tc);
    EXPECT_EQ(tc->count, 12);
    EXPECT_EQ(var_int(*tc, 3), -150);
    EXPECT_EQ(var_int(*tc, 12), 0) << "past the end reads 0";
    EXPECT_EQ(var_int(*find_var("nmea_active"), 0), 1);
    EXPECT_EQ(var_int(*find_var("settings.rpm1_pulses"), 0), 600) << "a packed 32-bit field";
    const VarInfo* label = find_var("settings.pressure_cfg[1].label");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->type, VarType::Text);
    EXPECT_STREQ(static_cast<const char*>(label->ptr), "OILP");
    EXPECT_EQ(var_int(*find_var("settings.temperature_cfg[0].cal.point[3].adc"), 0), 400);
    calibration.oat_cal_offset = -7;
    EXPECT_EQ(var_int(*find_var("oat_cal_offset"), 0), -7) << "the calibration constants, signed";
    EXPECT_EQ(var_int(*find_var("volts_cal_percent"), 0), 100);
    EXPECT_EQ(find_var("no_such_thing"), nullptr);
}

} // namespace
