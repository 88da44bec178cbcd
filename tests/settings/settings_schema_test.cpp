// The settings schema against what is built from it: the variables by path,
// the range check of recalled blocks, and setup rows taking its ranges and
// option texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/var_registry.h"
#include "settings/settings_schema.h"
#include "support/firmware_reset.h"
#include "ui/setup_keys.h"

using namespace ems;

namespace {

// Every element of every field below `r`, with its byte offset in the block.
void each_element(const RecordSchema& r, size_t base,
                  const std::function<void(const SettingsField&, size_t)>& visit)
{
    for (uint16_t i = 0; i < r.field_count; ++i) {
        const SettingsField& f = r.fields[i];
        for (uint16_t k = 0; k < f.count; ++k) {
            const size_t at = base + f.offset + size_t(k) * f.size;
            if (f.kind == FieldKind::Record) each_element(*f.record, at, visit);
            else if (f.kind != FieldKind::Text) visit(f, at);
        }
        if (f.kind == FieldKind::Text) visit(f, base + f.offset);
    }
}

// How many names the registry offers below `r`: one a field, none for
// reserved bytes, a sub-record's per element.
size_t names_below(const RecordSchema& r)
{
    size_t n = 0;
    for (uint16_t i = 0; i < r.field_count; ++i) {
        const SettingsField& f = r.fields[i];
        if (f.kind == FieldKind::Record) n += f.count * names_below(*f.record);
        else if (f.kind != FieldKind::Reserved) ++n;
    }
    return n;
}

// Marks the reserved bytes of `r`, which no name reaches.
void mark_reserved(const RecordSchema& r, size_t base, std::vector<bool>& reserved)
{
    for (uint16_t i = 0; i < r.field_count; ++i) {
        const SettingsField& f = r.fields[i];
        for (uint16_t k = 0; k < f.count; ++k) {
            const size_t at = base + f.offset + size_t(k) * f.size;
            if (f.kind == FieldKind::Record) mark_reserved(*f.record, at, reserved);
            if (f.kind != FieldKind::Reserved) continue;
            for (size_t b = 0; b < f.size; ++b) reserved[at + b] = true;
        }
    }
}

TEST(SettingsSchema, EveryByteIsReachableByPathExactlyOnce)
{
    test::reset_firmware();
    const auto* block = reinterpret_cast<const uint8_t*>(&settings);
    std::vector<int> owners(sizeof(UnitSettings), 0);
    size_t listed = 0;
    for (size_t i = 0; i < var_count(); ++i) {
        const VarInfo& v = var_at(i);
        const std::string name = v.name;
        if (name.rfind("settings.", 0) != 0) continue;
        ++listed;
        const auto* p = static_cast<const uint8_t*>(v.ptr);
        const size_t width = v.type == VarType::Text ? 1
                             : v.type == VarType::U8 || v.type == VarType::I8 ? 1
                             : v.type == VarType::U16 || v.type == VarType::I16 ? 2 : 4;
        for (size_t b = 0; b < v.count * width; ++b) ++owners[size_t(p - block) + b];
        // The listed name finds the same variable.
        const VarInfo* found = find_var(name.c_str());
        ASSERT_TRUE(found) << name;
        EXPECT_EQ(found->ptr, p) << name;
        EXPECT_EQ(found->type, v.type) << name;
        EXPECT_EQ(found->count, v.count) << name;
    }
    EXPECT_EQ(listed, names_below(UNIT_SETTINGS_SCHEMA));
    std::vector<bool> reserved(sizeof(UnitSettings), false);
    mark_reserved(UNIT_SETTINGS_SCHEMA, 0, reserved);
    for (size_t b = 0; b < owners.size(); ++b) EXPECT_EQ(owners[b], reserved[b] ? 0 : 1) << "byte " << b;
}

TEST(SettingsSchema, PathsAreWalkedElementByElement)
{
    test::reset_firmware();
    settings.generic_cfg[3].cal.point[20].adc = 4095;
    settings.channel_mode[2] = 3;
    const VarInfo* adc = find_var("settings.generic_cfg[3].cal.point[20].adc");
    ASSERT_TRUE(adc);
    EXPECT_EQ(var_int(*adc, 0), 4095);
    const VarInfo* mode = find_var("settings.channel_mode[2]");
    ASSERT_TRUE(mode);
    EXPECT_EQ(mode->count, 1);
    EXPECT_EQ(var_int(*mode, 0), 3);
    EXPECT_EQ(find_var("settings.channel_mode")->count, 4);
    const VarInfo* count = find_var("settings.fuel_pressure_cfg.cal.count");
    ASSERT_TRUE(count);
    EXPECT_EQ(var_int(*count, 0), 16);

    for (const char* bad : {"settings.", "settings.pressure_cfg", "settings.pressure_cfg.label",
                            "settings.pressure_cfg[4].label", "settings.pressure_cfg[1]label",
                            "settings.pressure_cfg[1].labels", "settings.channel_mode[4]",
                            "settings.channel_mode[]", "settings.channel_mode[1x]", "settings.registration[0]",
                            "settings.reserved_85", "settings.rpm1_pulses.x", "settings.rpm1_pulses[0]",
                            "settings.fuel_pressure_cfg[0].type", "settings.cal.count", "rpm1_pulses"})
        EXPECT_EQ(find_var(bad), nullptr) << bad;
}

// Each checked field one past its range is refused, and at the edge of its
// range accepted, element by element in every record of the block.
TEST(SettingsSchema, RecalledBlocksAreHeldToTheRanges)
{
    test::reset_firmware();
    UnitSettings base = settings;
    base.egt_channels = base.cht_channels = 0; // each may reach 12 on its own
    ASSERT_EQ(settings_validate(base), nullptr);
    int checked = 0;
    each_element(UNIT_SETTINGS_SCHEMA, 0, [&](const SettingsField& f, size_t at) {
        UnitSettings s = base;
        uint8_t* p = reinterpret_cast<uint8_t*>(&s) + at;
        switch (f.kind) {
        case FieldKind::Flag:
        case FieldKind::Option:
        case FieldKind::Checked:
            schema_write(f, p, f.range.max);
            EXPECT_EQ(settings_validate(s), nullptr) << f.name << " at " << at;
            schema_write(f, p, int64_t(f.range.max) + 1);
            EXPECT_NE(settings_validate(s), nullptr) << f.name << " at " << at;
            if (f.range.min > 0) {
                schema_write(f, p, f.range.min - 1);
                EXPECT_NE(settings_validate(s), nullptr) << f.name << " at " << at;
            }
            break;
        case FieldKind::Divisor:
            schema_write(f, p, 0);
            EXPECT_NE(settings_validate(s), nullptr) << f.name << " at " << at;
            break;
        case FieldKind::Text:
            std::memset(p, 'X', f.count);
            EXPECT_NE(settings_validate(s), nullptr) << f.name << " at " << at;
            break;
        default: return;
        }
        ++checked;
    });
    EXPECT_GT(checked, 150);
}

TEST(SettingsSchema, SetupRowsTakeRangesAndTextsFromTheRows)
{
    test::reset_firmware();
    static const SetupRow ROWS[] = {
        {.label = "SPEED UNIT: ", .kind = RowKind::Option, SETUP_FIELD(settings.speed_unit),
         SETUP_OPTIONS(unit_fields::speed_unit)},
        {.label = "DISPLAY MAX: ", .kind = RowKind::Number, SETUP_FIELD(settings.volts_display_max),
         SETUP_RANGE(unit_fields::volts_display_max), .decimals = 1, .suffix = "V"},
        {.label = "SENDER: ", .kind = RowKind::Option, SETUP_FIELD(settings.pressure_cfg[0].sender),
         SETUP_OPTIONS(pressure_fields::sender)},
    };
    char t[32];
    settings.speed_unit = 2;
    setup_row_value(ROWS[0], t, sizeof t);
    EXPECT_STREQ(t, "knots") << "the menu form";
    EXPECT_STREQ(option_gauge_text(options::SPEED_UNIT, 2), "kts") << "the gauge form";
    EXPECT_EQ(ROWS[0].option_count, 3);
    EXPECT_EQ(ROWS[1].min, 80);
    EXPECT_EQ(ROWS[1].max, 300);
    EXPECT_EQ(ROWS[2].option_count, 2) << "the first list: RESISTIVE senders";
    EXPECT_EQ(field_options(pressure_fields::sender, 1).count, 3) << "VOLTAGE senders";
    EXPECT_EQ(field_range(pressure_fields::display_max, 2).max, 999) << "psi(0.1)";
    EXPECT_EQ(field_range(unit_fields::map_display_max, 1).min, 73) << "inches of mercury";
}

} // namespace
