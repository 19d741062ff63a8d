#pragma once
// Flight plans in and out, in every format the planner knows. The format of an input is told
// from its content, never from its name (the FMC's plans and the simulators' XML plans both end
// in .pln); an output's format is chosen by name or by its file's extension.

#include <optional>
#include <string>
#include <string_view>

#include "flightplan/formats/flight_plan.h"
#include "flightplan/planning/profile.h"
#include "platform/result.h"

namespace planner {

enum class PlanFormat { fmc, fms, flightgear, msfs, simbrief, fs2004, route };

// "fmc", "fms", "flightgear", "msfs", "simbrief", "fs2004", "route".
const char* format_name(PlanFormat f);
std::optional<PlanFormat> format_named(std::string_view name);
// The output format of a file name: .pln the FMC's, .fms X-Plane's, .xml and .fgfp FlightGear's.
std::optional<PlanFormat> format_for_output(std::string_view path);
bool can_write(PlanFormat f);

// From the content: an XML document by its root element, an FMS file by its first two lines, an
// FS2004 plan by its [flightplan] section, an FMC plan by its sections, anything else a route
// string. Errors name the file.
plat::Result<PlanFormat> detect_format(std::string_view text, std::string_view file);

struct ReadPlan {
    PlanFormat format;
    FlightPlan plan;
};
// The plan as the file states it, read with no world data (a route string's words are left in
// its route, unresolved).
plat::Result<ReadPlan> parse_plan(std::string_view text, std::string_view file);
// Read and resolved over the world data (plan_resolve.h): the plan the planner works with.
plat::Result<ReadPlan> read_plan(const NavDb& db, std::string_view text, std::string_view file);
plat::Result<ReadPlan> read_plan_file(const NavDb& db, const std::string& path);
// A plan file's text; errors name the file (missing, unreadable, too large).
plat::Result<std::string> read_plan_text(const std::string& path);

// The text of plan in format f (one of those can_write allows); perf fills what the plan lacks.
// note receives a remark for the user (the FMC plan's lowered cruise altitude), if any.
plat::Result<std::string> write_plan(const NavDb& db, const FlightPlan& plan, PlanFormat f, const Performance& perf,
                                     std::string* note = nullptr);

}  // namespace planner
