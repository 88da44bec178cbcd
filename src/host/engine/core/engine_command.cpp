// The "engine" scenario command: every control of the Engine tab by word.
#include <algorithm>
#include <cstring>
#include <functional>

#include "engine/units.h"
#include "host/engine/core/engine_session.h"
#include "host/script/core/scenario_parse.h"

namespace host {

const char* const ENGINE_COMMAND_USAGE =
    "engine on [LYC360|R912] | off | state cold|idle|cruise | throttle PCT | mixture PCT | "
    "mags off|left|right|both | starter|master|alternator|boost on|off | tank off|left|right|both | "
    "battery PCT | altitude FT | oat C | airspeed KT | gps off|still|fly [TRACK] | speed N | spread GPH [ORDER] | "
    "leanfind on|off | fail|fix NAME [CYL] | fix all";

namespace {

using Words = std::vector<std::string>;

bool fail(std::string& error, const std::string& why)
{
    error = why;
    return false;
}

bool number(const Words& w, size_t i, long long lo, long long hi, long long& out, std::string& error)
{
    if (i >= w.size() || !parse_integer(w[i], out) || out < lo || out > hi)
        return fail(error, "engine " + w[1] + " takes a whole number from " + std::to_string(lo) + " to " +
                               std::to_string(hi));
    return true;
}

bool on_off(const Words& w, bool& out, std::string& error)
{
    if (w.size() == 3 && (w[2] == "on" || w[2] == "off")) {
        out = w[2] == "on";
        return true;
    }
    return fail(error, "engine " + w[1] + " takes on or off");
}

// "off", "left", "right", "both" as the enum's index.
bool four_way(const Words& w, int& out, std::string& error)
{
    static const char* const WAYS[] = {"off", "left", "right", "both"};
    for (int i = 0; i < 4 && w.size() == 3; ++i)
        if (w[2] == WAYS[i]) {
            out = i;
            return true;
        }
    return fail(error, "engine " + w[1] + " takes off, left, right or both");
}

bool failure_command(EngineSession& s, const Words& w, std::string& error)
{
    const bool on = w[1] == "fail";
    if (!on && w.size() == 3 && w[2] == "all") {
        s.clear_failures();
        return true;
    }
    for (const EngineFailureInfo& f : ENGINE_FAILURE_TABLE) {
        if (w.size() < 3 || w[2] != f.word) continue;
        long long cyl = 1;
        if (f.per_cylinder && !number(w, 3, 1, s.model().profile().cylinders, cyl, error)) return false;
        if (w.size() != (f.per_cylinder ? 4u : 3u)) return fail(error, "engine " + w[1] + " " + w[2] + ": too many words");
        s.set_failure(f.id, int(cyl) - 1, on);
        return true;
    }
    std::string names;
    for (const EngineFailureInfo& f : ENGINE_FAILURE_TABLE) names += std::string(names.empty() ? "" : ", ") + f.word;
    return fail(error, "engine " + w[1] + " takes one of " + names);
}

// "spread 0.6 3421": the GAMI spread in gallons an hour and the cylinders
// from the leanest, each once.
bool spread_command(EngineSession& s, const Words& w, std::string& error)
{
    const int n = s.model().profile().cylinders;
    char* end = nullptr;
    const double gph = w.size() >= 3 ? std::strtod(w[2].c_str(), &end) : -1;
    if (w.size() < 3 || w.size() > 4 || end == w[2].c_str() || *end || !(gph >= 0 && gph <= 3))
        return fail(error, "engine spread takes gallons an hour from 0 to 3 and the order from the leanest");
    std::array<uint8_t, engine::MAX_CYLINDERS> order{};
    std::copy(s.model().profile().lean_order, s.model().profile().lean_order + engine::MAX_CYLINDERS, order.begin());
    if (w.size() == 4) {
        bool seen[engine::MAX_CYLINDERS + 1] = {};
        if (int(w[3].size()) != n) return fail(error, "engine spread: the order names every cylinder once");
        for (int i = 0; i < n; ++i) {
            const int c = w[3][i] - '0';
            if (c < 1 || c > n || seen[c]) return fail(error, "engine spread: the order names every cylinder once");
            seen[c] = true;
            order[i] = uint8_t(c);
        }
    }
    s.model().set_mixture_spread(gph, order);
    return true;
}

struct Sub {
    const char* word;
    std::function<bool(EngineSession&, const Words&, EngineDriveRequest&, std::string&)> run;
};

bool percent(const Words& w, double& out, std::string& error)
{
    long long v = 0;
    if (w.size() != 3 || !number(w, 2, 0, 100, v, error)) return error.empty() ? fail(error, "engine " + w[1] + " takes PCT") : false;
    out = double(v) / 100;
    return true;
}

const Sub SUBS[] = {
    {"on", [](EngineSession& s, const Words& w, EngineDriveRequest& d, std::string& e) {
         if (w.size() > 3) return fail(e, "engine on takes at most an engine type");
         if (w.size() == 3) {
             const engine::EngineProfile* p = engine::profile_named(w[2].c_str());
             if (!p) return fail(e, "engine on: no engine type " + w[2] + " (LYC360 or R912)");
             if (w[2] != s.model().profile().name) s.choose(*p);
         }
         d = EngineDriveRequest::On;
         return true;
     }},
    {"off", [](EngineSession&, const Words& w, EngineDriveRequest& d, std::string& e) {
         if (w.size() != 2) return fail(e, "engine off takes nothing");
         d = EngineDriveRequest::Off;
         return true;
     }},
    {"state", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         static const char* const STATES[] = {"cold", "idle", "cruise"};
         for (int i = 0; i < 3 && w.size() == 3; ++i)
             if (w[2] == STATES[i]) {
                 s.start_in(EngineStart(i));
                 return true;
             }
         return fail(e, "engine state takes cold, idle or cruise");
     }},
    {"throttle", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         return percent(w, s.controls.throttle, e);
     }},
    {"mixture", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         return percent(w, s.controls.mixture, e);
     }},
    {"mags", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         int way = 0;
         if (!four_way(w, way, e)) return false;
         s.controls.magnetos = engine::Magnetos(way);
         return true;
     }},
    {"tank", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         int way = 0;
         if (!four_way(w, way, e)) return false;
         s.controls.tank = engine::TankSelector(way);
         return true;
     }},
    {"starter", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) { return on_off(w, s.controls.starter, e); }},
    {"master", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) { return on_off(w, s.controls.master, e); }},
    {"alternator", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         return on_off(w, s.controls.alternator_field, e);
     }},
    {"boost", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) { return on_off(w, s.controls.boost_pump, e); }},
    {"battery", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         double share = 1;
         if (!percent(w, share, e)) return false;
         s.model().set_battery_charge(share);
         return true;
     }},
    {"leanfind", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         bool on = false;
         if (!on_off(w, on, e)) return false;
         s.set_lean_find(on);
         return true;
     }},
    {"altitude", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         long long ft = 0;
         if (w.size() != 3 || !number(w, 2, -1000, 25000, ft, e)) return e.empty() ? fail(e, "engine altitude takes FT") : false;
         s.air.altitude_m = double(ft) * engine::METRES_PER_FOOT;
         return true;
     }},
    {"oat", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         long long c = 0;
         if (w.size() != 3 || !number(w, 2, -50, 50, c, e)) return e.empty() ? fail(e, "engine oat takes C") : false;
         s.air.oat_k = engine::kelvin_from_c(double(c));
         return true;
     }},
    {"airspeed", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         long long kt = 0;
         if (w.size() != 3 || !number(w, 2, 0, 250, kt, e)) return e.empty() ? fail(e, "engine airspeed takes KT") : false;
         s.air.airspeed_ms = double(kt) * engine::MS_PER_KNOT;
         return true;
     }},
    {"gps", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         long long track = static_cast<long long>(s.flight.track_deg);
         if (w.size() == 3 && w[2] == "still") {
             s.flight.moving = false;
             return true;
         }
         if (w.size() < 3 || w[2] != "fly" || w.size() > 4 || (w.size() == 4 && !number(w, 3, 0, 359, track, e)))
             return e.empty() ? fail(e, "engine gps takes still, or fly and a track from 0 to 359") : false;
         s.flight.moving = true;
         s.flight.track_deg = double(track);
         return true;
     }},
    {"speed", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) {
         long long n = 1;
         if (w.size() != 3 || !number(w, 2, 1, 64, n, e)) return e.empty() ? fail(e, "engine speed takes N") : false;
         s.set_steps_per_tick(int(n));
         return true;
     }},
    {"spread", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) { return spread_command(s, w, e); }},
    {"fail", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) { return failure_command(s, w, e); }},
    {"fix", [](EngineSession& s, const Words& w, EngineDriveRequest&, std::string& e) { return failure_command(s, w, e); }},
};

} // namespace

bool engine_command(EngineSession& session, const Words& w, EngineDriveRequest& drive, std::string& error)
{
    drive = EngineDriveRequest::None;
    error.clear();
    if (w.size() < 2) return fail(error, std::string("usage: ") + ENGINE_COMMAND_USAGE);
    for (const Sub& sub : SUBS)
        if (w[1] == sub.word) return sub.run(session, w, drive, error);
    return fail(error, std::string("usage: ") + ENGINE_COMMAND_USAGE);
}

} // namespace host
