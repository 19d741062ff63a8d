#pragma once
// The .pln flight plan text: departure and arrival sections, the aircraft keys, and the waypoint
// records of fixed columns, 103 characters each, every line ended by CR LF.
//
//   columns  0-4  type          5-9  ident         12-36 name       38-43 frequency "115.80"
//           46-59 latitude "N37 37 08.69"          60-73 longitude "W122 22 25.80"
//           75-79 altitude ft   82-84 course       87-93 distance   95-96 hours, 97 ":", 98-99 minutes

#include <string>

#include "flightplan/planning/profile.h"

namespace planner {

inline constexpr std::size_t pln_record_length = 103;
inline constexpr std::size_t pln_ident_length = 5;

// One waypoint record, without its line end.
std::string format_record(const PlanPoint& p);
// "RUNWAY=" value of one runway end (an index into the airport's ends): designator (3), "/",
// magnetic heading (3), "/", length in feet (5). Empty for an index past the ends.
std::string runway_end_text(const worlddata::Airport& a, std::size_t end, double variation_deg);
std::string format_plan(const Profile& profile, const Performance& perf, const std::string& departure_runway,
                        const std::string& arrival_runway);

}  // namespace planner
