// The built-in engine as the window runs it: the model, the pilot's controls,
// the air, the failures set and the aeroplane's position, stepped once per
// instrument tick (or several times, to pass time faster), with the
// lean-find helper and the starting states. The Engine tab and the scenario
// commands both work through this; no Qt.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "engine/engine_model.h"
#include "host/engine/core/engine_drive.h"

namespace host {

enum class EngineStart : uint8_t { Cold, Idle, Cruise };

// The failures a pilot can set, one row each: the word a script uses, the
// caption on the Engine tab, and whether it names a cylinder.
#define ENGINE_FAILURES(X)                                                   \
    X(Plug, "plug", "Fouled plug (left magneto)", true)                      \
    X(Injector, "injector", "Clogged injector", true)                        \
    X(Cylinder, "cylinder", "Dead cylinder", true)                           \
    X(OpenEgt, "egt", "Open EGT probe", true)                                \
    X(OpenCht, "cht", "Open CHT probe", true)                                \
    X(Alternator, "alternator", "Alternator failure", false)                 \
    X(OilLeak, "oil-leak", "Oil leak", false)                                \
    X(FuelLeak, "fuel-leak", "Fuel leak", false)                             \
    X(Starvation, "starvation", "Fuel starvation", false)

enum class EngineFailure : uint8_t {
#define ENGINE_FAILURE_ENUM(id, word, caption, per_cylinder) id,
    ENGINE_FAILURES(ENGINE_FAILURE_ENUM)
#undef ENGINE_FAILURE_ENUM
};

struct EngineFailureInfo {
    EngineFailure id;
    const char* word;
    const char* caption;
    bool per_cylinder;
};

inline constexpr EngineFailureInfo ENGINE_FAILURE_TABLE[] = {
#define ENGINE_FAILURE_ROW(id, word, caption, per_cylinder) {EngineFailure::id, word, caption, per_cylinder},
    ENGINE_FAILURES(ENGINE_FAILURE_ROW)
#undef ENGINE_FAILURE_ROW
};

// Leak rates of the failures: about half a quart a minute of oil, five
// litres an hour of fuel.
constexpr double OIL_LEAK_L_PER_MIN = 0.47;
constexpr double FUEL_LEAK_L_PER_H = 5;

class EngineSession {
public:
    EngineSession();

    // Another engine type, cold; the controls and the air stay.
    void choose(const engine::EngineProfile& profile);
    // Cold and stopped, idling warm, or in cruise at the set altitude.
    void start_in(EngineStart state);
    // Steps for one instrument tick; the inputs to drive after it.
    std::vector<DrivenInput> tick();

    void set_failure(EngineFailure failure, int cylinder, bool on); // cylinder from 0
    bool failure(EngineFailure failure, int cylinder) const;
    void clear_failures() { failures = {}; }

    // Leans slowly (a tenth of a percent of mixture a second) until every
    // cylinder is past its peak, or until stopped.
    void set_lean_find(bool on) { lean_find_ = on; }
    bool lean_finding() const { return lean_find_; }

    void set_steps_per_tick(int n) { steps_per_tick_ = n < 1 ? 1 : n > 64 ? 64 : n; }
    int steps_per_tick() const { return steps_per_tick_; }

    const engine::EngineModel& model() const { return model_; }
    engine::EngineModel& model() { return model_; }

    engine::Controls controls;
    engine::Environment air;
    engine::Failures failures;
    EngineFlight flight;

private:
    void settle_at_rpm(double rpm, double seconds);

    engine::EngineModel model_;
    bool lean_find_ = false;
    int steps_per_tick_ = 1;
};

// One "engine ..." scenario line, words[0] being "engine"; false with a
// reason for an unknown word or a value out of range (nothing is changed
// then). "on"/"off" are the window's (whether the engine drives the
// instrument): they are accepted here and reported through drive; so is
// "gps off" (this knows only whether the aeroplane moves). "on" with
// another engine type starts that one cold.
enum class EngineDriveRequest : uint8_t { None, On, Off };
bool engine_command(EngineSession& session, const std::vector<std::string>& words, EngineDriveRequest& drive,
                    std::string& error);
// The usage line of the command, for errors and help.
extern const char* const ENGINE_COMMAND_USAGE;

} // namespace host
