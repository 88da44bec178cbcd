// The sensor-preset file: what it accepts, how it refuses, and writing it back.
#include <gtest/gtest.h>

#include "host/inputs/core/sensor_preset.h"

namespace {

using host::parse_sensor_preset;
using host::SensorPreset;

TEST(SensorPreset, ReadsSectionsCaptionsNumbersAndSwitches)
{
    SensorPreset p;
    std::string error;
    ASSERT_TRUE(parse_sensor_preset("# comment\nname = Cruise\n\n[EMS]\n  TC1 = -150 \nVolts: = 1557\r\n"
                                    "; other comment\nVEXA On/Off = ON\n[UL Power]\nECU Comms = no\n",
                                    p, error))
        << error;
    EXPECT_EQ(p.name, "Cruise");
    ASSERT_EQ(p.entries.size(), 4u);
    EXPECT_EQ(p.entries[0].caption, "TC1");
    EXPECT_EQ(p.entries[0].value, -150);
    EXPECT_EQ(p.entries[1].caption, "Volts") << "a trailing ':' names the same control";
    EXPECT_EQ(p.entries[1].line, 6);
    EXPECT_TRUE(p.entries[2].on_off);
    EXPECT_EQ(p.entries[2].value, 1);
    EXPECT_EQ(p.entries[3].tab, "UL Power");
    EXPECT_EQ(p.entries[3].value, 0);
}

TEST(SensorPreset, RefusesWithTheLineAndLeavesTheOutputAlone)
{
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"TC1 = 5\n", "line 1: \"TC1\" stands before any [TAB]"},
        {"[EMS]\nTC1 5\n", "line 2: expected CAPTION = VALUE"},
        {"[EMS]\nTC1 = hot\n", "line 2: \"hot\" is neither a whole number nor on/off"},
        {"[EMS]\nTC1 = 99999999999\n", "line 2: \"99999999999\" is neither a whole number nor on/off"},
        {"[EMS\n", "line 1: a section needs a closing ']'"},
        {"[EMS]\nTC1 = 1\nTC1: = 2\n", "line 3: EMS/TC1 is already set on line 2"},
        {"[EMS]\n = 2\n", "line 2: a caption is missing before '='"},
    };
    for (const auto& c : cases) {
        SensorPreset p;
        p.name = "kept";
        std::string error;
        EXPECT_FALSE(parse_sensor_preset(c.text, p, error)) << c.text;
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(p.name, "kept");
    }
    SensorPreset p;
    std::string error;
    EXPECT_FALSE(parse_sensor_preset(std::string(host::PRESET_MAX_BYTES + 1, '#'), p, error));
}

TEST(SensorPreset, WrittenTextReadsBackTheSame)
{
    SensorPreset p;
    p.name = "Mine";
    p.entries = {{"EMS", "TC1", 680, false, 0}, {"EMS", "SD Card Mounted", 1, true, 0}, {"UL Power", "Oil Temp", 900, false, 0}};
    SensorPreset again;
    std::string error;
    ASSERT_TRUE(parse_sensor_preset(host::format_sensor_preset(p), again, error)) << error;
    EXPECT_EQ(again.name, "Mine");
    ASSERT_EQ(again.entries.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(again.entries[i].tab, p.entries[i].tab);
        EXPECT_EQ(again.entries[i].caption, p.entries[i].caption);
        EXPECT_EQ(again.entries[i].value, p.entries[i].value);
        EXPECT_EQ(again.entries[i].on_off, p.entries[i].on_off);
    }
}

} // namespace
