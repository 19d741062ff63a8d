#pragma once
// A simulator binding: which of the simulator's values each token of the panel reads, with the
// named conversion into the form and units the modules expect, and what the key events move there.
// Bindings are data, read from a binding file (share/cockpit-panel/sim/flightgear-generic,
// share/cockpit-panel/sim/xplane, or the user's own), one statement a line:
//
//   simulator flightgear|xplane              first: whose names the paths are
//   base NAME                                next, if at all: start from another binding file
//                                            (beside this one, else a shipped one) and change it
//   token NAME number|integer CONVERSION [SOURCE...]
//   token NAME text PATH                     the text the simulator holds
//   setting heading_bug_deg|altitude_ft|vertical_speed_fpm|speed_kt PATH
//   throttle PATH                            '*' in PATH stands for the lever, 0 to 3
//   gear PATH bool|number                    the gear lever; true/false or 1/0 written
//   speed_brakes PATH                        0 .. 1
//   lock PATH RULE                           a text the rule makes of the autopilot's switches
//   switch NAME set PATH ON OFF              a value written when the switch turns on or off
//   switch NAME toggle COMMAND STATE VALUES  the command until STATE reads one of VALUES (on) or none (off)
//   event NAME set PATH VALUE | event NAME command COMMAND
//
// Over a base, a token, setting, throttle, gear, speed brakes or event line replaces the base's
// one; any lock or switch line replaces all of the base's locks and switches.
// A SOURCE is PATH, PATH=VALUE (the value it stands for until the simulator answers) or text:PATH.
// Tokens and events go by the names host/tokens.h and host/key_events.h give them; '#' starts a
// comment. Anything else is an error that names its line.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "simlink/engine/conversions.h"

namespace simlink {

enum class Simulator { flightgear, xplane };
std::string_view simulator_name(Simulator s);

enum class Form { number, integer, text };

struct Source {
    std::string path;
    bool text = false;
    double until_answered = 0;
};

struct TokenBinding {
    int token = 0;
    Form form = Form::number;
    std::vector<Source> sources;  // at most max_sources; a text row has its one
    Conversion convert = nullptr;  // number and integer rows
    int line = 0;
};

enum class SwitchName { master, heading_hold, altitude_hold, speed_hold, autothrottle_armed };

struct SwitchBinding {
    SwitchName name{};
    bool toggle = false;             // false: set ON/OFF to path
    std::string path;                // the written path, or the toggle command
    std::string on, off;             // set: the values ("-" writes nothing)
    std::string state;               // toggle: the path that tells whether the switch is on
    std::vector<double> on_values;   // toggle: the state's values that mean on
};

struct LockBinding {
    std::string path;
    LockRule rule = nullptr;
};

struct EventBinding {
    std::uint32_t id = 0;
    bool command = false;
    std::string path, value;
};

enum class GearForm { boolean, number };

struct Bindings {
    Simulator simulator = Simulator::flightgear;
    std::string file;  // where it was read from, for messages
    std::vector<TokenBinding> tokens;
    std::array<std::string, 4> settings;  // by sim::KeySetting; empty: the setting is not bound
    std::string throttle;                 // with '*' for the lever
    std::string gear;
    GearForm gear_form = GearForm::boolean;
    std::string speed_brakes;
    std::vector<LockBinding> locks;
    std::vector<SwitchBinding> switches;
    std::vector<EventBinding> events;

    const TokenBinding* find_token(int token) const;
    const EventBinding* find_event(std::uint32_t id) const;
    // The throttle path of a lever ("" when not bound).
    std::string throttle_path(int lever) const;
};

// Finds the file a "base" line names; an error when there is none (or it has a base itself).
using BaseLoader = std::function<plat::Result<Bindings>(std::string_view name)>;

// Reads a binding file's text; errors read "FILE:LINE: what is wrong".
plat::Result<Bindings> parse_bindings(std::string_view text, std::string_view file_name, const BaseLoader& base = {});
// A base is looked for beside the file, then in shipped_dir (when given).
plat::Result<Bindings> load_bindings(const std::string& path, const std::string& shipped_dir = {});

// Whether a path is of the simulator's form: FlightGear's absolute property paths, X-Plane's
// dataref and command paths (with an optional [index]).
bool valid_sim_path(Simulator s, std::string_view path);

}  // namespace simlink
