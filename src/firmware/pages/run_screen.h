// The run screen: the engine page and its companions, chosen by run_page.
#pragma once
#include <cstdint>

namespace ems {

struct RunState {
    uint8_t run_page = 0; // 0 engine, 1 ECU status, 2 ECU faults, 3 GPS, 4 information display
};
extern RunState run;

// Screen handler of the run screen.
void run_screen();

} // namespace ems
