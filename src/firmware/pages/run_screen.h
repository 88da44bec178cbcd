// The run screen: the active screen whenever the pilot is not in a menu. It
// draws one of five pages per pass (engine, ECU status, ECU faults, GPS,
// information display), lets the alarm box take a key that acknowledges it,
// lets a run notice (ui/notices.h) take the next, runs any open quick-menu
// overlay, acts on the pending key, and draws the notice and then the alarm
// box last, over everything.
#pragma once
#include <cstdint>

namespace ems {

constexpr uint8_t PAGE_ENGINE = 0;
constexpr uint8_t PAGE_ECU_STATUS = 1;
constexpr uint8_t PAGE_ECU_FAULTS = 2;
constexpr uint8_t PAGE_GPS = 3;
constexpr uint8_t PAGE_INFO = 4;
constexpr uint8_t RUN_PAGES = 5;

// Lower-left area of the engine page (egt_cht_view).
constexpr uint8_t VIEW_BARS = 0;
constexpr uint8_t VIEW_EGT_GRAPH = 1;
constexpr uint8_t VIEW_CHT_GRAPH = 2;

struct RunState {
    uint8_t run_page = 0;         // 0 engine, 1 ECU status, 2 ECU faults, 3 GPS, 4 information display
    uint8_t egt_cht_view = 0;     // 0 bar groups, 1 EGT history graph, 2 CHT history graph
    uint8_t fault_page = 0;       // fault page shown by the ECU faults page (0-based)
    uint8_t fault_page_count = 0; // fault pages, set by the ECU faults page; 0 until it has drawn
};
extern RunState run;

// Screen handler of the run screen: page, acknowledgement, notice, overlay, key, alarm box.
void run_screen();

// True when page 0..4 can be shown: 0 and 4 always, 1 and 2 with ecu_type
// ROTAX 912iS, 3 with a GPS source; false for any other number.
bool run_page_enabled(uint8_t page);
// Move run_page to the first enabled page from run_page downwards (wrapping
// 0 -> 4) or upwards (4 -> 0); run_page itself is tried first.
void next_enabled_page_back();
void next_enabled_page_forward();

// The engine page (the instrument's normal display), drawn whole.
void page_engine();

// The readouts the grid shows, in order: 0 volts, 1 current, 2 OAT, 3..6
// analog channel 0..3. Returns their number (at most 6 after the OAT move)
// and sets oat_moved when OAT goes to the top strip instead.
constexpr uint8_t READOUT_VOLTS = 0;
constexpr uint8_t READOUT_CURRENT = 1;
constexpr uint8_t READOUT_OAT = 2;
constexpr uint8_t READOUT_AUX0 = 3;
uint8_t engine_readouts(uint8_t list[7], bool& oat_moved);

// The top strip (rows 0..30) for the fitted engine computer.
void top_strip(bool oat_moved);

} // namespace ems
