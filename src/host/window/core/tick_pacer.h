// The 100 ms time base held to the wall clock. A toolkit timer fires late, or
// not at all, while the window's thread is busy (a flood on a link, a slow
// dialog); counting its firings would make the flight time, the hobbs and the
// recordings run slow. The pacer instead reads a monotonic clock and says how
// many ticks have fallen due since the last call, so the ticks a busy spell
// held up are delivered afterwards, each one in full. Catch-up is bounded:
// after a gap longer than TICK_CATCH_UP_MAX ticks (the PC asleep, the process
// stopped) only that many are delivered and the time base goes on from now.
#pragma once
#include <cstdint>

namespace host {

constexpr int64_t TICK_MS = 100;
constexpr int TICK_CATCH_UP_MAX = 100; // 10 s of ticks

class TickPacer {
public:
    // The first tick falls due TICK_MS after now_ms (a monotonic clock, ms).
    void start(int64_t now_ms) { next_ms_ = now_ms + TICK_MS; }
    // Ticks due by now_ms and not yet taken, at most TICK_CATCH_UP_MAX.
    int take_due(int64_t now_ms);
    // Milliseconds from now_ms until the next tick falls due (0 when due).
    int64_t wait_ms(int64_t now_ms) const { return next_ms_ > now_ms ? next_ms_ - now_ms : 0; }

private:
    int64_t next_ms_ = TICK_MS;
};

} // namespace host
