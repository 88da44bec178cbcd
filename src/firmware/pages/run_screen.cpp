#include "pages/run_screen.h"

#include "alarms/alarm_box.h"
#include "gps/page_gps.h"
#include "ops/quick_menus.h"
#include "pages/document_state.h"
#include "pages/ecu_pages.h"
#include "pages/info_page.h"
#include "sensors/ecu_data.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "system/tick.h"
#include "ui/navigation.h"
#include "ui/notices.h"
#include "ui/screen.h"

namespace ems {

RunState run;

bool run_page_enabled(uint8_t page)
{
    switch (page) {
    case PAGE_ENGINE:
    case PAGE_INFO: return true;
    case PAGE_ECU_STATUS:
    case PAGE_ECU_FAULTS: return settings.ecu_type == ECU_ROTAX_912IS;
    case PAGE_GPS: return settings.gps_source != 0;
    default: return false;
    }
}

void next_enabled_page_back()
{
    uint8_t page = run.run_page < RUN_PAGES ? run.run_page : PAGE_ENGINE;
    for (int i = 0; i < RUN_PAGES; ++i) {
        if (run_page_enabled(page)) break;
        page = page == 0 ? RUN_PAGES - 1 : uint8_t(page - 1);
    }
    run.run_page = page;
}

void next_enabled_page_forward()
{
    uint8_t page = run.run_page < RUN_PAGES ? run.run_page : PAGE_ENGINE;
    for (int i = 0; i < RUN_PAGES; ++i) {
        if (run_page_enabled(page)) break;
        page = page == RUN_PAGES - 1 ? 0 : uint8_t(page + 1);
    }
    run.run_page = page;
}

namespace {

// After keys 1 and 5: lean and cruise end off the engine page; scanning and
// the fault pages start again.
void page_change_reset()
{
    if (run.run_page != PAGE_ENGINE) {
        thermo.cruise_mode = 0;
        thermo.lean_mode = 0;
    }
    tick.egt_scan_index = 0;
    tick.cht_scan_index = settings.egt_channels;
    run.fault_page = 0;
    run.fault_page_count = 0;
}

void cycle_egt_cht_view()
{
    const bool egt = settings.egt_channels > 0;
    const bool cht = settings.cht_channels > 0;
    switch (run.egt_cht_view) {
    case VIEW_BARS: run.egt_cht_view = egt ? VIEW_EGT_GRAPH : cht ? VIEW_CHT_GRAPH : VIEW_BARS; break;
    case VIEW_EGT_GRAPH: run.egt_cht_view = cht ? VIEW_CHT_GRAPH : VIEW_BARS; break;
    default: run.egt_cht_view = VIEW_BARS; break;
    }
}

void open_quick_menu()
{
    switch (run.run_page) {
    case PAGE_ENGINE: quick.quick_menu_handler = popup_quick_menu; break;
    case PAGE_INFO: quick.quick_menu_handler = popup_documents_menu; break;
    default: quick.quick_menu_handler = popup_short_menu; break;
    }
    quick.quick_menu_count = quick_menu_count(quick.quick_menu_handler);
    nav.menu_cursor = uint8_t(quick.quick_menu_count - 1);
    tick.quick_menu_countdown = 10;
}

void rotary_step(bool up)
{
    if (run.run_page == PAGE_INFO) {
        // The cursor stays on a loaded line (and at 0 with none loaded).
        if (up) {
            if (docs.checklist_cursor + 1 < docs.checklist_line_count) ++docs.checklist_cursor;
        } else if (docs.checklist_cursor > 0) {
            --docs.checklist_cursor;
        }
    } else if (run.run_page == PAGE_ECU_FAULTS) {
        const uint8_t count = run.fault_page_count;
        if (count == 0)
            run.fault_page = 0;
        else if (up)
            run.fault_page = run.fault_page + 1 >= count ? 0 : uint8_t(run.fault_page + 1);
        else
            run.fault_page = run.fault_page == 0 ? uint8_t(count - 1) : uint8_t(run.fault_page - 1);
    }
}

void act_on_key(uint8_t key)
{
    switch (key) {
    case KEY_SOFT1:
        run.run_page = run.run_page == 0 || run.run_page >= RUN_PAGES ? RUN_PAGES - 1 : uint8_t(run.run_page - 1);
        next_enabled_page_back();
        page_change_reset();
        break;
    case KEY_SOFT2:
        if (run.run_page == PAGE_ENGINE) cycle_egt_cht_view();
        break;
    case KEY_SOFT5:
        run.run_page = run.run_page >= RUN_PAGES - 1 ? 0 : uint8_t(run.run_page + 1);
        next_enabled_page_forward();
        page_change_reset();
        break;
    case KEY_PUSH: open_quick_menu(); break;
    case KEY_CW: rotary_step(true); break;
    case KEY_CCW: rotary_step(false); break;
    default: break; // 3 and 4: nothing
    }
}

} // namespace

void run_screen()
{
    // A page number from nowhere (a bad poke) shows the engine page.
    if (run.run_page >= RUN_PAGES) run.run_page = PAGE_ENGINE;
    switch (run.run_page) {
    case PAGE_ECU_STATUS: page_ecu_status(); break;
    case PAGE_ECU_FAULTS: page_ecu_faults(); break;
    case PAGE_GPS: page_gps(); break;
    case PAGE_INFO: page_info(); break;
    default: page_engine(); break;
    }
    alarm_acknowledge();
    run_notice_take_key();
    if (tick.quick_menu_countdown != 0 && quick.quick_menu_handler) quick.quick_menu_handler();
    act_on_key(KeyEvent);
    KeyEvent = KEY_NONE;
    // Last, over any overlay and notice: a key acknowledges only a box that
    // was in sight.
    run_notice_draw();
    alarm_display();
}

} // namespace ems
