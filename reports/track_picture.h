#pragma once
// track.png: the flown track drawn over the plan's route, so a flight can be judged at a glance.

#include <optional>
#include <string>
#include <vector>

#include "flightplan/formats/route_text.h"
#include "platform/result.h"
#include "flightplan/formats/route_text.h"
#include "reports/flight_record.h"
#include "sim/world.h"

namespace plat {
class Bitmap;
}

namespace reports {

inline constexpr int track_picture_size = 800;

inline constexpr double track_inset_nm = 15.0;

// Route in green with its waypoints and idents, track in white from a blue start mark to a red end
// mark, over a graticule. Longitudes are unwrapped from the first point, so a flight across the
// date line stays in one piece. With the world data, an inset in the corner where it hides least of
// the route and the track shows the last 15 NM flown at a larger scale with the runways there, so
// an approach and landing can be judged too.
plat::Bitmap draw_track(const std::vector<planner::RoutePoint>& route, const std::vector<FlightSample>& track,
                        const sim::World* world = nullptr);
std::optional<plat::Error> write_track_png(const std::string& path, const std::vector<planner::RoutePoint>& route,
                                           const std::vector<FlightSample>& track, const sim::World* world = nullptr);

}  // namespace reports
