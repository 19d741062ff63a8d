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
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/result.h"
#include "sim/aircraft.h"
#include "sim/state.h"

namespace panelhost {

enum class ConditionKind { none, ias_below, ias_above, height_below, height_above, approach };

struct Condition {
    ConditionKind kind = ConditionKind::none;
    double value = 0;
    sim::ApproachPhase phase = sim::ApproachPhase::off;
    std::string text;  // as written, for the report of one never met
};

// The commands, one type each, as the file writes them after "at <t>".

struct SetCommand {  // set <token> <value>
    int token = 0;
    double value = 0;
};
struct SetIntCommand {  // set-int <token> <int>
    int token = 0;
    std::int32_t value = 0;
};
struct SetTextCommand {  // set-text <token> <text>
    int token = 0;
    std::string text;
};
struct RampCommand {  // ramp <token> <to> <seconds>
    int token = 0;
    double to = 0, seconds = 0;
};
struct NamedCommand {  // named <name> <value>
    std::string name;
    double value = 0;
};
struct ClickCommand {  // click <gauge> <x> <y>
    std::string gauge;
    int x = 0, y = 0;
};
struct HoldCommand {  // hold <gauge> <x> <y> <seconds>
    std::string gauge;
    int x = 0, y = 0;
    double seconds = 0;
};
struct KeyCommand {  // key <vk> [shift] [ctrl]
    int vk = 0;
    bool shift = false, ctrl = false;
};
struct SnapCommand {  // snap <name>
    std::string name;
};
struct DumpCommand {  // dump <name>
    std::string name;
};
struct PokeCommand {  // poke <block> <offset> <text>
    std::string block;
    std::size_t offset = 0;
    std::string text;
};
struct ReloadCommand {};  // reload
struct StatsCommand {     // stats [<label>]
    std::string label;
};
struct FailCommand {  // fail <key> on|off
    int key = 0;
    bool on = false;
};
struct WindowCommand {  // window <ident>
    int ident = 0;
};
struct AircraftCommand {  // aircraft lat=.. lon=.. ...
    sim::Placement placement;
};
struct RadioCommand {  // radio nav1|nav2|course1|course2|adf <value>
    sim::RadioKnob knob = sim::RadioKnob::nav1;
    double value = 0;
};
struct AutopilotCommand {  // autopilot approach|speed [KT]
    bool speed = false;  // hold the speed; else arm the approach
    std::optional<double> speed_kt;  // the speed setting to hold; none: the one set
};

using Action = std::variant<SetCommand, SetIntCommand, SetTextCommand, RampCommand, NamedCommand, ClickCommand,
                            HoldCommand, KeyCommand, SnapCommand, DumpCommand, PokeCommand, ReloadCommand,
                            StatsCommand, FailCommand, WindowCommand, AircraftCommand, RadioCommand,
                            AutopilotCommand>;

struct Command {
    double t = 0;
    int line = 0;
    Condition when;
    Action action;
};

struct Scenario {
    std::string path;
    std::vector<Command> commands;  // in time order (stable for equal times)
};

// Fails with "<file>:<line>: <what was wrong>".
plat::Result<Scenario> parse_scenario(const std::string& text, const std::string& path);
plat::Result<Scenario> load_scenario(const std::string& path);

}  // namespace panelhost
