#include "panelhost/landing_field.h"

namespace panelhost {

double LandingField::elevation_ft(const sim::Aircraft& a, const std::vector<planner::RoutePoint>& route) {
    const sim::AircraftState& s = a.state();
    if (!a.world()) return s.ground_elevation_ft;
    if (auto ft = localizer_field(*a.world(), s)) return *ft;
    if (auto ft = destination_field(*a.world(), route)) return *ft;
    return s.ground_elevation_ft;
}

std::optional<double> LandingField::localizer_field(const sim::World& world, const sim::AircraftState& s) {
    const sim::NavReception& nav = s.reception.nav[0];
    if (!nav.received || !nav.localizer) return std::nullopt;
    // The same identifier serves both ends of some runways: the channel and the course tell them apart.
    const std::string key = nav.ident + "/" + std::to_string(s.radios.nav_channel[0]) + "/" +
                            std::to_string(static_cast<int>(nav.localizer_course_deg));
    if (key != localizer_key_) {
        localizer_key_ = key;
        const sim::LatLon antenna = sim::travel(s.position, nav.bearing_deg, nav.station_nm);
        const sim::RunwayEnd* r = world.runway_of_localizer(antenna, nav.localizer_course_deg);
        localizer_ft_ = r ? std::optional<double>(r->elevation_ft) : std::nullopt;
    }
    return localizer_ft_;
}

std::optional<double> LandingField::destination_field(const sim::World& world,
                                                      const std::vector<planner::RoutePoint>& route) {
    if (route.empty() || route.back().type != "APT") return std::nullopt;
    if (route.back().ident != destination_) {
        destination_ = route.back().ident;
        const sim::World::Field* f = world.field(destination_);
        destination_ft_ = f ? std::optional<double>(f->elevation_ft) : std::nullopt;
    }
    return destination_ft_;
}

}  // namespace panelhost
