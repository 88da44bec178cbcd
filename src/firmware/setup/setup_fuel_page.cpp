// FUEL SETUP: fuel unit, flow senders and their mode, and the links to the
// tank pages and FUEL PRESSURE SETUP. Leaving it brings the fuel computer's
// configuration up to date.
#include "settings/settings.h"
#include "settings/settings_schema.h"
#include "settings/unit_switch.h"
#include "setup/calibration.h"
#include "setup/setup_common.h"
#include "setup/setup_pages.h"
#include "ui/navigation.h"
#include "ui/setup_keys.h"

namespace ems {

namespace {

constexpr uint8_t SOURCE_FLOW_SENDER = 0;
constexpr uint8_t SOURCE_INJECTOR = 1;

bool any_flow() { return settings.flow1_on || settings.flow2_on; }

const SetupRow FUEL_ROWS[] = {
    {.label = "UNIT: ", .kind = RowKind::Option, .get = [] { return int32_t(settings.fuel_unit); },
     .set = [](int32_t v) { fuel_unit_switch(uint8_t(v)); }, SETUP_OPTIONS(unit_fields::fuel_unit)},
    {.label = "FLOW 1: ", .kind = RowKind::Flag, SETUP_FIELD(settings.flow1_on)},
    {.label = "K-FACTOR 1: ", .kind = RowKind::Number, SETUP_FIELD(settings.k_factor1),
     SETUP_RANGE(unit_fields::k_factor1), .shown = [] { return settings.flow1_on != 0; }},
    {.label = "FLOW 2: ", .kind = RowKind::Flag, SETUP_FIELD(settings.flow2_on)},
    {.label = "K-FACTOR 2: ", .kind = RowKind::Number, SETUP_FIELD(settings.k_factor2),
     SETUP_RANGE(unit_fields::k_factor2), .shown = [] { return settings.flow2_on != 0; }},
    {.label = "MODE: ", .kind = RowKind::Option, SETUP_FIELD(settings.fuel_flow_source),
     SETUP_OPTIONS(unit_fields::fuel_flow_source), .shown = any_flow},
    {.label = "INJECTOR: ", .kind = RowKind::Option, SETUP_FIELD(settings.injector_level),
     SETUP_OPTIONS(unit_fields::injector_level),
     .shown = [] { return any_flow() && settings.fuel_flow_source == SOURCE_INJECTOR; }},
    {.label = "FLOW MODE: ", .kind = RowKind::Option, SETUP_FIELD(settings.flow_mode),
     SETUP_OPTIONS(unit_fields::flow_mode),
     .shown = [] {
         return settings.flow1_on && settings.flow2_on && settings.fuel_flow_source == SOURCE_FLOW_SENDER;
     }},
    {.label = "TANK 1 SETUP", .kind = RowKind::Action, .action = [] { open_tank_setup(0); }},
    {.label = "TANK 2 SETUP", .kind = RowKind::Action, .action = [] { open_tank_setup(1); }},
    {.label = "FUEL PRESSURE SETUP", .kind = RowKind::Action, .action = [] { open_setup_page(screen_fuel_pressure_setup); }},
};

// The link rows, last in the table in FUEL_LINK_ order.
constexpr uint8_t FIRST_LINK_ROW = uint8_t(std::size(FUEL_ROWS) - 3);

const SetupPage FUEL_PAGE = {.section = "EMS SETUP", .name = "FUEL SETUP", .rows = FUEL_ROWS,
                             .row_count = uint8_t(std::size(FUEL_ROWS)), .largest_step = 100,
                             .step_on_numbers_only = true, .parent = ScreenId::EMS_SETUP,
                             .parent_item = TILE_FUEL, .on_leave = fuel_config_derive};

} // namespace

uint8_t fuel_setup_link_row(uint8_t link)
{
    VisibleRows rows;
    setup_visible_rows(FUEL_PAGE, rows);
    const uint8_t wanted = uint8_t(FIRST_LINK_ROW + (link > FUEL_LINK_FUEL_PRESSURE ? FUEL_LINK_FUEL_PRESSURE : link));
    for (uint8_t i = 0; i < rows.count; ++i)
        if (rows.index[i] == wanted) return i;
    return 0;
}

void screen_fuel_setup() { setup_page(FUEL_PAGE); }

} // namespace ems
