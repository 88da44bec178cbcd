#include "host/window/core/tick_pacer.h"

#include <algorithm>

namespace host {

int TickPacer::take_due(int64_t now_ms)
{
    if (now_ms < next_ms_) return 0;
    const int64_t due = (now_ms - next_ms_) / TICK_MS + 1;
    // Beyond the bound the ticks are dropped; the ones to come keep their phase.
    next_ms_ += due * TICK_MS;
    return int(std::min<int64_t>(due, TICK_CATCH_UP_MAX));
}

} // namespace host
