// The two Rotax engine-computer pages of the run screen. Both are crossed out
// while rotax_data_valid is 0; the last values stay visible.
#pragma once
#include <cstdint>

namespace ems {

// Lane data, hours, ambient pressure and status word texts.
void page_ecu_status();
// Set fault bits, 15 per page; sets run.fault_page_count (1 with no faults).
void page_ecu_faults();

} // namespace ems
