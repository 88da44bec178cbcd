#include <benchmark/benchmark.h>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "ui/navigation.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

// One full setup page drawn by hand: title bar, eleven rows (one of them a
// text row being edited), the scroll indicator and the soft-key bar.
static void BM_SetupPageWidgets(benchmark::State& state)
{
    ems::build_trig_tables();
    ems::nav = {};
    ems::nav.menu_cursor = 4;
    ems::nav.edit_step = 10;
    for (auto _ : state) {
        ems::title_bar("EMS SETUP", "OIL PRESSURE SETUP");
        ems::list_row(0, "OIL PRESSURE DISPLAY: ", "ON");
        ems::list_row(1, "TYPE: ", "VOLTAGE");
        ems::list_row(2, "SENDER: ", "0.5-4.5V");
        ems::list_row(3, "PRESSURE @ 0.5V: ", "0.0");
        ems::list_row(4, "PRESSURE @ 4.5V: ", "10.0");
        ems::list_row_text4(5, "LABEL: ", "OILP");
        ems::list_row(6, "PRESSURE UNIT: ", "bar");
        ems::list_row(7, "DISPLAY MAX: ", "7.0");
        ems::list_row(8, "DISPLAY MIN: ", "0.0");
        ems::list_row(9, "HIGH ALARM: ", "ON");
        ems::list_row(10, "HIGH ALARM: ", "6.0");
        ems::step_label_1dp(4);
        ems::scroll_indicator(ems::nav.menu_cursor, 16);
        ems::soft_key_bar(1);
        benchmark::DoNotOptimize(ems::Framebuffer);
    }
}
BENCHMARK(BM_SetupPageWidgets);

// The same kind of page through the row table: visibility, value texts,
// drawing and an idle key pass.
namespace {
int16_t values[11] = {0, 1, 2, 0, 100, 70, 0, 60, 55, 15, 10};
template <int I> int32_t get_value() { return values[I]; }
template <int I> void set_value(int32_t v) { values[I] = int16_t(v); }
char label[7] = "OILP";
const char* const TYPES[] = {"RESISTIVE", "VOLTAGE", "CURRENT"};
const ems::SetupRow ROWS[] = {
    {.label = "OIL PRESSURE DISPLAY: ", .kind = ems::RowKind::Flag, .get = get_value<0>, .set = set_value<0>},
    {.label = "TYPE: ", .kind = ems::RowKind::Option, .get = get_value<1>, .set = set_value<1>,
     .options = TYPES, .option_count = 3},
    {.label = "SENDER: ", .kind = ems::RowKind::Option, .get = get_value<2>, .set = set_value<2>,
     .options = TYPES, .option_count = 3},
    {.label = "PRESSURE @ 0.5V: ", .kind = ems::RowKind::Number, .get = get_value<3>, .set = set_value<3>,
     .min = 0, .max = 100, .decimals = 1},
    {.label = "PRESSURE @ 4.5V: ", .kind = ems::RowKind::Number, .get = get_value<4>, .set = set_value<4>,
     .min = 0, .max = 100, .decimals = 1},
    {.label = "LABEL: ", .kind = ems::RowKind::Text, .text = [] { return label; }, .text_length = 4},
    {.label = "DISPLAY MAX: ", .kind = ems::RowKind::Number, .get = get_value<5>, .set = set_value<5>,
     .min = 1, .max = 100, .decimals = 1},
    {.label = "DISPLAY MIN: ", .kind = ems::RowKind::Number, .get = get_value<6>, .set = set_value<6>,
     .min = 1, .max = 100, .decimals = 1},
    {.label = "HIGH ALARM: ", .kind = ems::RowKind::Number, .get = get_value<7>, .set = set_value<7>,
     .min = 1, .max = 100, .decimals = 1},
    {.label = "HIGH CAUTION: ", .kind = ems::RowKind::Number, .get = get_value<8>, .set = set_value<8>,
     .min = 1, .max = 100, .decimals = 1},
    {.label = "LOW CAUTION: ", .kind = ems::RowKind::Number, .get = get_value<9>, .set = set_value<9>,
     .min = 1, .max = 100, .decimals = 1},
};
const ems::SetupPage PAGE = {.section = "EMS SETUP", .name = "OIL PRESSURE SETUP", .rows = ROWS,
                             .row_count = 11, .largest_step = 10, .parent = ems::ScreenId::EMS_SETUP};
} // namespace

static void BM_SetupPageTable(benchmark::State& state)
{
    ems::build_trig_tables();
    ems::nav = {};
    ems::nav.menu_cursor = 4;
    for (auto _ : state) {
        ems::setup_page(PAGE);
        benchmark::DoNotOptimize(ems::Framebuffer);
    }
}
BENCHMARK(BM_SetupPageTable);
