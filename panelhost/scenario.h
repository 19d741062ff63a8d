#pragma once
// A scenario: timed commands that play the simulator and the pilot during a headless run.
//
//   # comment
//   at 1.5 set 71 12345.0
//   at 2 click ndmodeselect 90 40
//   at 3 radio nav1 111.70
//   at 2900 when ias<200 click geartalk 80 60
//
// "when" holds a command back from its time on until the host's aircraft meets the condition:
// ias<N / ias>N (knots), height<N / height>N (feet above the field), approach=<phase> (reached or
// past: armed, localizer, glide-slope, flare, rollout, stopped).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/result.h"
#include "sim/aircraft.h"
#include "sim/state.h"

namespace panelhost {

enum class CommandKind {
    set, set_int, set_text, ramp, named, click, hold, key, snap, dump, poke, reload, fail, toggle_window, aircraft,
    radio, stats, autopilot,
};

enum class ConditionKind { none, ias_below, ias_above, height_below, height_above, approach };

struct Condition {
    ConditionKind kind = ConditionKind::none;
    double value = 0;
    sim::ApproachPhase phase = sim::ApproachPhase::off;
    std::string text;  // as written, for the report of one never met
};

struct Command {
    double t = 0;
    CommandKind kind = CommandKind::set;
    int line = 0;
    int token = 0;
    double value = 0, to = 0, seconds = 0;
    std::int32_t int_value = 0;
    std::string text;  // set-text text, named/snap/dump name, click gauge, poke block, stats label, autopilot mode
    int x = 0, y = 0;
    int vk = 0;
    bool shift = false, ctrl = false;
    std::size_t offset = 0;
    std::string data;  // poke text
    sim::Placement placement;  // aircraft
    sim::RadioKnob knob = sim::RadioKnob::nav1;  // radio, with value
    Condition when;
};

struct Scenario {
    std::string path;
    std::vector<Command> commands;  // in time order (stable for equal times)
};

// Fails with "<file>:<line>: <what was wrong>".
plat::Result<Scenario> parse_scenario(const std::string& text, const std::string& path);
plat::Result<Scenario> load_scenario(const std::string& path);

}  // namespace panelhost
