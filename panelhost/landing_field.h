#pragma once
// The field a scenario's heights are measured above: the airport the flight is landing at. That is
// the airport of the runway whose localizer NAV1 receives, once it does; before that the
// destination of the FMC's plan; without either, the nearest airport, where the aircraft's ground is.

#include <optional>
#include <string>
#include <vector>

#include "flightplan/formats/route_text.h"
#include "sim/aircraft.h"

namespace panelhost {

class LandingField {
public:
    // The field's elevation for the aircraft as it is now, and the plan's route.
    double elevation_ft(const sim::Aircraft& a, const std::vector<planner::RoutePoint>& route);

private:
    // Looked up again only when the localizer or the destination changes.
    std::optional<double> localizer_field(const sim::World& world, const sim::AircraftState& s);
    std::optional<double> destination_field(const sim::World& world, const std::vector<planner::RoutePoint>& route);

    std::string localizer_key_, destination_;
    std::optional<double> localizer_ft_, destination_ft_;
};

}  // namespace panelhost
