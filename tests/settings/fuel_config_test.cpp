// The fuel configuration number for every combination of flow senders, tank
// modes and flow mode, with its side effects on the K-factors and the tank
// litre resolution.
#include <gtest/gtest.h>

#include "settings/settings.h"

namespace {

constexpr uint8_t S = ems::TANK_SENDER;
constexpr uint8_t C = ems::TANK_CALCULATED;
constexpr uint8_t O = ems::TANK_OFF;

struct Case {
    uint8_t f1, f2, t1, t2, mode, expected;
};

// Every combination of flows (F1 F2), tanks (T1 T2) and flow mode 0 or 1.
constexpr Case CASES[] = {
    // No flow sender: tank senders only; the flow mode does not matter.
    {0, 0, S, S, 0, 4}, {0, 0, S, S, 1, 4},
    {0, 0, S, O, 0, 2}, {0, 0, S, O, 1, 2},
    {0, 0, O, S, 0, 3}, {0, 0, O, S, 1, 3},
    {0, 0, S, C, 0, 9}, {0, 0, C, S, 0, 9}, {0, 0, C, C, 0, 9},
    {0, 0, C, O, 0, 9}, {0, 0, O, C, 1, 9}, {0, 0, O, O, 0, 9},
    // No tank: flows only.
    {1, 1, O, O, 0, 7}, {1, 1, O, O, 1, 8}, {1, 1, O, O, 2, 8},
    {1, 0, O, O, 0, 5}, {1, 0, O, O, 1, 5},
    {0, 1, O, O, 0, 6}, {0, 1, O, O, 1, 6},
    // Both flow senders.
    {1, 1, S, S, 0, 10}, {1, 1, S, C, 0, 10}, {1, 1, C, C, 0, 10},
    {1, 1, S, S, 1, 11}, {1, 1, C, S, 2, 11}, {1, 1, C, C, 1, 11},
    {1, 1, S, O, 0, 9}, {1, 1, C, O, 0, 9}, {1, 1, S, O, 1, 12}, {1, 1, C, O, 2, 12},
    {1, 1, O, S, 0, 9}, {1, 1, O, C, 0, 9}, {1, 1, O, S, 1, 13}, {1, 1, O, C, 2, 13},
    // One flow sender with two tanks.
    {1, 0, S, S, 0, 11}, {0, 1, S, S, 1, 11},
    {1, 0, S, C, 0, 14}, {1, 0, C, S, 0, 14}, {1, 0, C, C, 1, 14},
    {0, 1, S, C, 0, 14}, {0, 1, C, S, 0, 14}, {0, 1, C, C, 1, 14},
    // One flow sender with one tank.
    {1, 0, S, O, 0, 0}, {1, 0, C, O, 1, 0},
    {0, 1, O, S, 0, 1}, {0, 1, O, C, 1, 1},
    {1, 0, O, S, 0, 9}, {1, 0, O, C, 0, 9},
    {0, 1, S, O, 0, 9}, {0, 1, C, O, 0, 9},
};

class FuelConfig : public ::testing::Test {
protected:
    void SetUp() override { ems::settings_load_defaults(); }
    void TearDown() override { ems::settings_load_defaults(); }

    static void set(const Case& c)
    {
        ems::settings.flow1_on = c.f1;
        ems::settings.flow2_on = c.f2;
        ems::settings.tank1_mode = c.t1;
        ems::settings.tank2_mode = c.t2;
        ems::settings.flow_mode = c.mode;
    }
};

TEST_F(FuelConfig, EveryCombination)
{
    for (const Case& c : CASES) {
        ems::derived.fuel_config = 0xFF;
        set(c);
        ems::fuel_config_derive();
        EXPECT_EQ(int(ems::derived.fuel_config), int(c.expected))
            << "F1 " << int(c.f1) << " F2 " << int(c.f2) << " T1 " << int(c.t1) << " T2 "
            << int(c.t2) << " mode " << int(c.mode);
    }
}

TEST_F(FuelConfig, OneSenderFeedingTwoTanksEqualisesKFactors)
{
    // Flow 1 into tank 1 (sender) and tank 2 (calculated): k_factor2 follows k_factor1.
    ems::settings.k_factor1 = 6800;
    ems::settings.k_factor2 = 7300;
    set({1, 0, S, C, 0, 14});
    ems::fuel_config_derive();
    EXPECT_EQ(ems::derived.fuel_config, 14);
    EXPECT_EQ(+ems::settings.k_factor1, 6800);
    EXPECT_EQ(+ems::settings.k_factor2, 6800);

    // Flow 2 on its own: k_factor1 follows k_factor2.
    ems::settings.k_factor1 = 6800;
    ems::settings.k_factor2 = 7300;
    set({0, 1, C, C, 0, 14});
    ems::fuel_config_derive();
    EXPECT_EQ(+ems::settings.k_factor1, 7300);
    EXPECT_EQ(+ems::settings.k_factor2, 7300);

    // Both tank senders (configuration 11) or both flows: K-factors stay apart.
    ems::settings.k_factor1 = 6800;
    set({1, 0, S, S, 0, 11});
    ems::fuel_config_derive();
    set({1, 1, S, C, 1, 11});
    ems::fuel_config_derive();
    EXPECT_EQ(+ems::settings.k_factor1, 6800);
    EXPECT_EQ(+ems::settings.k_factor2, 7300);
}

TEST_F(FuelConfig, TankResolutionBackToWholeLitresWithoutTanks)
{
    ems::settings.tank_resolution = 1;
    set({1, 0, S, O, 0, 0});
    ems::fuel_config_derive();
    EXPECT_EQ(+ems::settings.tank_resolution, 1);

    set({1, 1, O, O, 1, 8});
    ems::fuel_config_derive();
    EXPECT_EQ(+ems::settings.tank_resolution, 0);

    ems::settings.tank_resolution = 1;
    set({0, 0, O, O, 0, 9});
    ems::fuel_config_derive();
    EXPECT_EQ(+ems::settings.tank_resolution, 0);
}

} // namespace
