// The "engine" scenario command: what it refuses leaves the engine as it was.
#include <gtest/gtest.h>

#include "host/engine/core/engine_session.h"
#include "host/script/core/scenario_parse.h"

namespace {

bool run(host::EngineSession& s, const std::string& line, std::string& error)
{
    std::vector<std::string> words;
    EXPECT_TRUE(host::split_scenario_line(line, words, error)) << line;
    host::EngineDriveRequest drive;
    return host::engine_command(s, words, drive, error);
}

TEST(EngineCommand, RefusesBadValuesWithAReasonAndChangesNothing)
{
    host::EngineSession s;
    std::string error;
    ASSERT_TRUE(run(s, "engine throttle 40", error)) << error;
    ASSERT_TRUE(run(s, "engine fail injector 2", error)) << error;
    ASSERT_TRUE(run(s, "engine spread 0.9 4321", error)) << error;
    EXPECT_LT(s.model().mixture_offset(3), s.model().mixture_offset(0));
    const engine::Controls controls = s.controls;
    const engine::Failures failures = s.failures;
    const double lean = s.model().mixture_offset(3);
    for (const char* bad : {"engine", "engine throttle", "engine throttle 101", "engine throttle -1", "engine throttle 4x",
                            "engine mixture 50 50", "engine mags on", "engine fail plug 5", "engine fail plug 0",
                            "engine fail plug", "engine fail alternator 2", "engine fail wings", "engine spread nan",
                            "engine spread 0.5 1123", "engine spread 0.5 12345", "engine spread 4", "engine on C172",
                            "engine altitude 99999", "engine speed 0", "engine gps fly 360", "engine state hot"}) {
        error.clear();
        EXPECT_FALSE(run(s, bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_TRUE(controls == s.controls);
    EXPECT_TRUE(failures == s.failures);
    EXPECT_EQ(s.model().mixture_offset(3), lean);
}

} // namespace
