// The Rotax ECU status and faults pages.
#include <bit>
#include <cstdio>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "pages/ecu_pages.h"
#include "pages/gauges.h"
#include "pages/gauges_internal.h"
#include "pages/run_screen.h"
#include "sensors/ecu_data.h"
#include "ui/navigation.h"
#include "ui/widgets.h"

namespace ems {

using namespace gauge_detail;

namespace {

constexpr uint8_t FAULTS_PER_PAGE = 15;

void ecu_title(const char* title)
{
    clear_screen();
    draw_hline(0, 120, 10, COLOUR_SILVER);
    draw_hline(350, 471, 10, COLOUR_SILVER);
    draw_text(236, 0, title, 10, ALIGN_CENTRE, COLOUR_SILVER);
}

void rotax_box()
{
    fill_rect(300, 220, 460, 265, COLOUR_RED);
    draw_text(380, 227, "ROTAX", 16, ALIGN_CENTRE, COLOUR_WHITE);
}

void rotax_cross()
{
    if (ecu.rotax_data_valid == 0) cross_out(50, 45, 429, 200);
}

} // namespace

void page_ecu_status()
{
    ecu_title("ROTAX ECU STATUS");
    nav.menu_scroll = nav.menu_cursor > 4 ? uint8_t(nav.menu_cursor - 4) : 0;
    EcuStatusView v = ecu_status_view();
    char text[64];
    std::snprintf(text, sizeof text, "LANE A DATA: %s", ecu_lane_present(0) ? "YES" : "NO");
    draw_text(50, 40, text, 8, ALIGN_LEFT, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "LANE B DATA: %s", ecu_lane_present(1) ? "YES" : "NO");
    draw_text(50, 55, text, 8, ALIGN_LEFT, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "ENGINE HRS: %.2f", double(v.engine_hours));
    draw_text(50, 70, text, 8, ALIGN_LEFT, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "ECU HRS: %.2f", double(v.ecu_hours));
    draw_text(50, 85, text, 8, ALIGN_LEFT, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "ENGINE AMBIENT PRESSURE: %dhPa", int(v.ambient_pressure));
    draw_text(50, 100, text, 8, ALIGN_LEFT, COLOUR_WHITE);
    const char* rows[ECU_STATUS_ROWS];
    ecu_status_texts(v.status, rows);
    for (size_t i = 0; i < ECU_STATUS_ROWS; ++i)
        if (rows[i] != nullptr) draw_text(50, int16_t(125 + 15 * i), rows[i], 8, ALIGN_LEFT, COLOUR_WHITE);
    rotax_box();
    rotax_cross();
}

void page_ecu_faults()
{
    ecu_title("ROTAX ECU FAULTS");
    EcuStatusView v = ecu_status_view();
    int n = 0;
    for (uint32_t word : v.faults) n += std::popcount(word);
    if (n == 0) {
        run.fault_page_count = 1;
        run.fault_page = 0;
        draw_text(240, 100, "NO FAULTS", 16, ALIGN_CENTRE, COLOUR_WHITE);
        rotax_box();
        rotax_cross();
        return;
    }
    run.fault_page_count = uint8_t((n + FAULTS_PER_PAGE - 1) / FAULTS_PER_PAGE);
    // A page left over from a longer list shows the last page instead of an empty one.
    if (run.fault_page >= run.fault_page_count) run.fault_page = uint8_t(run.fault_page_count - 1);
    const int first = FAULTS_PER_PAGE * run.fault_page;
    int k = 0;
    char text[64];
    for (uint8_t word = 0; word < 4; ++word)
        for (uint8_t bit = 0; bit < 32; ++bit) {
            if (!(v.faults[word] & (1u << bit))) continue;
            if (k >= first && k < first + FAULTS_PER_PAGE) {
                std::snprintf(text, sizeof text, "%s%.40s", ecu_fault_prefix(word), ecu_fault_name(word, bit));
                draw_text(50, int16_t(15 * k - 225 * run.fault_page + 26), text, 8, ALIGN_LEFT, COLOUR_WHITE);
            }
            ++k;
        }
    if (run.fault_page_count > 1) scroll_indicator(run.fault_page, run.fault_page_count);
    rotax_cross();
}

} // namespace ems
