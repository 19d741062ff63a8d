#pragma once
// What a simulator link speaks: the one thing that differs between simulators under the link engine
// (link.h). The engine's worker owns the transport and calls it from its thread alone.

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "flightplan/formats/route_text.h"
#include "simlink/engine/readings.h"

namespace simlink {

// A value written to a path, or a command run once (value unused).
struct Write {
    bool command = false;
    std::string path, value;
};

enum class Exchange {
    answered,  // values came: the readings are the simulator's newest
    quiet,     // nothing yet, and not so long that the simulator counts as gone
    lost,      // the simulator is gone (the reason said)
};

class Transport {
public:
    virtual ~Transport() = default;
    // The simulator's name and where it is, for the messages: "X-Plane", "127.0.0.1:49000".
    virtual std::string name() const = 0;
    virtual std::string where() const = 0;
    // What the user does so the simulator answers, for the message that it does not.
    virtual std::string start_hint() const = 0;
    // Reaches the simulator and asks it for every path of the index; false (reason in why) when it
    // cannot be reached at all.
    virtual bool open(const PropertyIndex& index, std::string& why) = 0;
    // One cycle: the writes sent, then what the simulator sends taken into the readings until the
    // cycle's end (or for a request-answer protocol, until the answers are in).
    virtual Exchange exchange(const std::vector<Write>& writes, Readings& readings,
                              std::chrono::steady_clock::time_point cycle_end, const std::atomic<bool>& stop,
                              std::string& why) = 0;
    virtual void close() = 0;
    // How long a write stays the link's own newest value after an answer came: as long as the
    // simulator may take to show it in its answers.
    virtual std::chrono::milliseconds write_settles() const { return std::chrono::milliseconds(0); }
    // The writes that give the simulator's own navigation the route the FMC loaded; none when the
    // simulator takes no route this way.
    virtual std::vector<Write> route_writes(const std::vector<planner::RoutePoint>&, const planner::PlanRunways&) const {
        return {};
    }
    // Writes of the same path that replace each other while unsent begin with this ("" none).
    virtual std::string route_prefix() const { return {}; }
};

}  // namespace simlink
