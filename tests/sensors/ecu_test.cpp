// Engine-computer data: lane selection and substitution, the status and
// fault texts, and the UL Power slider inputs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "alarms/alarm_words.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace {

using namespace ems;

class Ecu : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        EcuLaneRecord& a = ecu.records.lane[0];
        EcuLaneRecord& b = ecu.records.lane[1];
        a.engine_speed = 2400;
        b.engine_speed = 5100;
        a.manifold_pressure = 900;
        b.manifold_pressure = 1002;
        a.battery_voltage = 12.5f;
        b.battery_voltage = 13.8f;
        a.egt_cht[0] = 650;
        b.egt_cht[0] = 702;
        a.status = 1;
        b.status = 2;
    }
    void rotax(uint8_t connect, uint8_t lane)
    {
        settings.ecu_type = ECU_ROTAX_912IS;
        settings.ecu_connect = connect;
        settings.ecu_lane = lane;
    }
};

TEST_F(Ecu, SubstitutionOnlyForRotaxDirect)
{
    EXPECT_FALSE(ecu_substitution_active());
    rotax(ECU_CONNECT_VEXA, 1);
    EXPECT_FALSE(ecu_substitution_active());
    rotax(ECU_CONNECT_DIRECT, 1);
    EXPECT_TRUE(ecu_substitution_active());
    EXPECT_EQ(+ecu_selected_lane().engine_speed, 5100);
    settings.ecu_lane = 0;
    EXPECT_EQ(+ecu_selected_lane().engine_speed, 2400);
    settings.ecu_type = ECU_UL_POWER;
    EXPECT_FALSE(ecu_substitution_active());
}

TEST_F(Ecu, LaneBFeedsTheChannelsWhateverTheSliders)
{
    rotax(ECU_CONNECT_DIRECT, 1);
    raw.rpm_period = 1000; // the slider moves, RPM 1 does not follow
    raw.raw_volts = 4095;
    raw.raw_map = 3000;
    raw.tc_input[0] = 100;
    settings.rpm1_increment = 2;
    settings.map_unit = 0;
    process_rpm();
    process_volts();
    process_map();
    process_thermocouple(0);
    EXPECT_EQ(sens.rpm, 5100);
    EXPECT_EQ(sens.volts_x10, 138);
    EXPECT_EQ(sens.volts_acc, 0u); // the filter does not run meanwhile
    EXPECT_EQ(sens.map_hpa, 1002);
    EXPECT_EQ(thermo.tc_value[0], 702);
    // The rest of the channel still runs: unit conversion, max, alarm.
    settings.map_unit = 1;
    process_map();
    EXPECT_EQ(sens.map_disp, 295);
    EXPECT_EQ(+minmax.rpm1_max, 5100);

    rotax(ECU_CONNECT_VEXA, 1); // relayed: the instrument's own sensors
    process_rpm();
    EXPECT_EQ(sens.rpm, 1560);
}

TEST_F(Ecu, StatusPagesReadTheLaneUnderSubstitutionElseTheRelay)
{
    ecu.records.relay.status = 0x30;
    ecu.records.relay.faults[3] = 0x80000000u;
    rotax(ECU_CONNECT_VEXA, 1);
    EXPECT_EQ(ecu_status_view().status, 0x30u);
    EXPECT_EQ(ecu_status_view().faults[3], 0x80000000u);
    rotax(ECU_CONNECT_DIRECT, 1);
    EXPECT_EQ(ecu_status_view().status, 2u);
    EXPECT_EQ(ecu_status_view().faults[3], 0u);
}

TEST_F(Ecu, LanePresence)
{
    EXPECT_FALSE(ecu_lane_present(0));
    ecu.records.relay.lanes_present = 2;
    EXPECT_FALSE(ecu_lane_present(0));
    EXPECT_TRUE(ecu_lane_present(1));
    ecu.lane_a_online = 1; // counts only over the direct link
    EXPECT_FALSE(ecu_lane_present(0));
    rotax(ECU_CONNECT_DIRECT, 0);
    EXPECT_TRUE(ecu_lane_present(0));
    EXPECT_FALSE(ecu_lane_present(2));
}

TEST(EcuTexts, FaultNamesByWordAndBit)
{
    EXPECT_EQ(std::string(ecu_fault_prefix(0)) + ecu_fault_name(0, 15), "A: EGT CYLINDER 1");
    EXPECT_EQ(std::string(ecu_fault_prefix(2)) + ecu_fault_name(2, 3), "A: RESET OCCURRED");
    EXPECT_EQ(std::string(ecu_fault_prefix(3)) + ecu_fault_name(3, 31), "B: INTERNAL FLASH");
    EXPECT_STREQ(ecu_fault_prefix(1), "B: ");
    EXPECT_STREQ(ecu_fault_name(1, 16), "OIL TEMPERATURE");
    EXPECT_STREQ(ecu_fault_name(0, 16), "COOLANT TEMPERATURE");
    EXPECT_STREQ(ecu_fault_name(1, 15), "SENSOR DRIVE VOLTAGE 1");
    EXPECT_STREQ(ecu_fault_name(2, 19), "NO DATA RECEIVED FROM OPPOSITE LANE");
    EXPECT_STREQ(ecu_fault_name(0, 0), "RESERVED");
    EXPECT_STREQ(ecu_fault_name(1, 6), "RESERVED");
    EXPECT_STREQ(ecu_fault_name(3, 9), "RESERVED");
    EXPECT_STREQ(ecu_fault_name(4, 0), "");
    EXPECT_STREQ(ecu_fault_name(0, 32), "");
}

TEST(EcuTexts, AllNinetySixEntriesArePaddedFields)
{
    int reserved = 0;
    for (const auto& name : ECU_FAULT_NAMES) {
        const size_t n = strnlen(name, ECU_FAULT_NAME_BYTES);
        ASSERT_GT(n, 0u);
        ASSERT_LT(n, ECU_FAULT_NAME_BYTES);
        for (size_t i = n; i < ECU_FAULT_NAME_BYTES; ++i) ASSERT_EQ(name[i], 0);
        reserved += std::strcmp(name, "RESERVED") == 0;
    }
    EXPECT_EQ(reserved, 11 + 18 + 4); // unnamed bits of tables 1, 2 and 3
}

TEST(EcuTexts, StatusWordRows)
{
    const char* rows[ECU_STATUS_ROWS];
    ecu_status_texts(0x1 | 0x2 | 0x10 | (4u << 20), rows);
    EXPECT_STREQ(rows[0], "LANE IS IN CONTROL OF GENERATOR");
    EXPECT_STREQ(rows[1], "ECONOMY MODE");
    EXPECT_STREQ(rows[2], "LANE IS COMMANDING GENERATOR B");
    EXPECT_STREQ(rows[3], "WARNING LAMP FLASHING");
    EXPECT_STREQ(rows[4], "ENGINE SPEED STATUS: FULL SYNC");

    ecu_status_texts(0x4 | 0x30 | (5u << 20), rows); // lamp value 3 and speed 5 have no text
    EXPECT_STREQ(rows[0], "LANE IS NOT IN CONTROL OF GENERATOR");
    EXPECT_STREQ(rows[1], "POWER MODE");
    EXPECT_STREQ(rows[2], "LANE IS COMMANDING GENERATOR A");
    EXPECT_STREQ(rows[3], "");
    EXPECT_STREQ(rows[4], "");

    ecu_status_texts(0x20 | (1u << 20), rows);
    EXPECT_STREQ(rows[3], "WARNING LAMP ON");
    EXPECT_STREQ(rows[4], "ENGINE SPEED STATUS: STALL");
    ecu_status_texts(0, rows);
    EXPECT_STREQ(rows[3], "WARNING LAMP OFF");
    EXPECT_STREQ(rows[4], "");
}

TEST_F(Ecu, UlPowerFuelPressureInTheSenderUnit)
{
    settings.fuel_pressure_cfg.unit = 1; // psi
    ul_fuel_pressure_input(35);
    EXPECT_EQ(senders.fuel_pressure, 50); // 35 * 1450 / 1000
    settings.fuel_pressure_cfg.unit = 0; // bar
    ul_fuel_pressure_input(35);
    EXPECT_EQ(senders.fuel_pressure, 35);
    settings.fuel_pressure_cfg.unit = 2; // psi(0.1)
    ul_fuel_pressure_input(35);
    EXPECT_EQ(senders.fuel_pressure, 507);
    ul_fuel_pressure_input(100);
    EXPECT_EQ(senders.fuel_pressure, 999); // 1450 clamped
    EXPECT_EQ(+minmax.fuel_pressure_max, 999);
}

TEST_F(Ecu, UlPowerFuelPressureAlarmWaitsForTheHoldoff)
{
    PressureSenderConfig& cfg = settings.fuel_pressure_cfg;
    cfg.unit = 0;
    cfg.low_alarm = 20;
    cfg.low_alarm_on = 1;
    tick.alarm_holdoff = 2;
    ul_fuel_pressure_input(5);
    EXPECT_EQ(senders.fuel_pressure, 5);
    EXPECT_FALSE(alarms.alarm_flags & ALARM_FUEL_PRESSURE);
    EXPECT_EQ(+minmax.fuel_pressure_max, 0);
    tick.alarm_holdoff = 0;
    ul_fuel_pressure_input(5);
    EXPECT_TRUE(alarms.alarm_flags & ALARM_FUEL_PRESSURE);
    alarms.alarm_acked |= ALARM_FUEL_PRESSURE;
    ul_fuel_pressure_input(30);
    EXPECT_FALSE(alarms.alarm_flags & ALARM_FUEL_PRESSURE);
    EXPECT_FALSE(alarms.alarm_acked & ALARM_FUEL_PRESSURE);
}

TEST_F(Ecu, UlPowerOilTemperature)
{
    TemperatureSenderConfig& cfg = settings.temperature_cfg[0];
    cfg.high_alarm = 130;
    cfg.high_alarm_on = 1;
    cfg.low_alarm_on = 0;
    ul_oil_temp_input(1234);
    EXPECT_EQ(senders.aux_temp_c[0], 123);
    EXPECT_EQ(senders.aux_temp[0], 123);
    EXPECT_EQ(+minmax.aux_temp_max[0], 123);
    EXPECT_FALSE(alarms.alarm_flags & ALARM_AUX1);
    ul_oil_temp_input(1400);
    EXPECT_TRUE(alarms.alarm_flags & ALARM_AUX1);
    settings.temp_unit = 1;
    ul_oil_temp_input(1234);
    EXPECT_EQ(senders.aux_temp_c[0], 123);
    EXPECT_EQ(senders.aux_temp[0], 253); // F, checked against the same limits
    EXPECT_TRUE(alarms.alarm_flags & ALARM_AUX1);
    ul_oil_temp_input(2000); // 200 C = 392 F
    EXPECT_EQ(senders.aux_temp[0], 392);
}

} // namespace
