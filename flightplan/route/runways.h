#pragma once
// The runways of a plan: which end of an airport's runways is used, and for an arrival on a runway
// with an ILS, the approach that lines the FMC's route up with its localizer.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flightplan/route/navdb.h"
#include "flightplan/route/route.h"

namespace planner {

struct Wind {
    double from_deg = 0;  // true
    double kt = 0;
};

inline constexpr double final_fix_nm = 10.0;        // the final approach fix, from the threshold
inline constexpr double intercept_nm = 16.0;        // the intercept point, from the threshold
inline constexpr int final_fix_height_ft = 3000;    // above the runway, or lower: at or below the glide slope
inline constexpr double threshold_crossing_ft = 50;  // the glide slope's height over the threshold
inline constexpr int intercept_speed_kt = 210;
inline constexpr int final_fix_speed_kt = 170;

// The end (index into the airport's ends) to use: the one the route names; else, with a wind, the
// one most into it; else the one whose direction lies nearest course_deg (for an arrival, the
// nearest with an ILS to land on, landing_ils, when that is less than 90 degrees further off). Between parallel ends the one
// with an ILS, then the longest, is taken. No ends: nullopt.
std::optional<std::size_t> choose_runway_end(const NavDb& db, const worlddata::Airport& a, const std::string& given,
                                             const std::optional<Wind>& wind, double course_deg, bool arrival = false);

// The end of an airport that a plan names ("22", "9L", "28R"): the end of that designator; else,
// since runways are renumbered as the magnetic variation drifts, the one end whose number is one
// apart, with the same side letter, lying within 20 degrees of the named direction. Nothing when
// no end, or more than one, would do.
std::optional<std::size_t> named_runway_end(const NavDb& db, const worlddata::Airport& a, const std::string& given);
// "28R" for "28R", "RW28R", "9l" or "RUNWAY 9L"; empty for text that names no runway.
std::string runway_designator(std::string_view text);
// The airport's runway ends, for messages: "01L, 01R, 19L, 19R".
std::string runway_list(const worlddata::Airport& a);

// Whether the end has an ILS the host's approach mode lands on: a localizer (not an LDA or SDF)
// whose course line runs along the runway, within 30 ft of its centre line over the threshold and
// the touchdown zone, and a glide slope.
bool landing_ils(const NavDb& db, const worlddata::Airport& a, std::size_t end);

// The intercept point and the final approach fix on the extended centre line of the runway end's
// localizer, at the final fix's altitude; empty when the end has no localizer.
std::vector<RoutePlace> approach_points(const NavDb& db, const worlddata::Airport& a, std::size_t end);

}  // namespace planner
