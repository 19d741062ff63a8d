#include "flightplan/formats/simbrief_format.h"

#include <cmath>
#include <cstdio>

#include "flightplan/formats/icao_route.h"
#include "flightplan/formats/xml_document.h"

namespace planner {

namespace {

// The navlog and the world data place a point alike to about this.
constexpr double navlog_agreement_nm = 2.0;

struct NavlogFix {
    std::string ident;
    sim::LatLon at;
    pugi::xml_node node;
};

}  // namespace

plat::Result<FlightPlan> read_simbrief(const NavDb& db, std::string_view text, std::string_view file) {
    auto parsed = XmlDocument::parse(text, file);
    if (!parsed) return plat::Error{parsed.error()};
    const XmlDocument& doc = **parsed;
    const pugi::xml_node root = doc.root();
    if (std::string(root.name()) != "OFP")
        return doc.error(root, std::string("root element <") + root.name() + ">: not a SimBrief flight plan (<OFP>)");
    if (const auto status = XmlDocument::text(root.child("fetch"), "status"); status && status->rfind("Error", 0) == 0)
        return doc.error(root.child("fetch"), "SimBrief answered with an error, not a plan: " + status->substr(0, 120));

    RouteContext context;
    context.departure = XmlDocument::text(root.child("origin"), "icao_code").value_or("");
    context.arrival = XmlDocument::text(root.child("destination"), "icao_code").value_or("");
    context.departure_runway = XmlDocument::text(root.child("origin"), "plan_rwy").value_or("");
    context.arrival_runway = XmlDocument::text(root.child("destination"), "plan_rwy").value_or("");
    if (context.departure.empty()) return doc.error(root, "no <origin><icao_code>");
    if (context.arrival.empty()) return doc.error(root, "no <destination><icao_code>");
    const auto route = XmlDocument::text(root.child("atc"), "route");
    if (!route) return doc.error(root, "no <atc><route>");

    std::vector<NavlogFix> navlog;
    for (pugi::xml_node fix = root.child("navlog").child("fix"); fix; fix = fix.next_sibling("fix")) {
        const std::string ident = XmlDocument::text(fix, "ident").value_or("");
        const std::string type = XmlDocument::text(fix, "type").value_or("");
        if (ident.empty() || ident == "TOC" || ident == "TOD" || type == "apt") continue;
        if (XmlDocument::text(fix, "is_sid_star").value_or("0") == "1") continue;
        auto lat = doc.number(fix, "pos_lat");
        if (!lat) return plat::Error{lat.error()};
        auto lon = doc.number(fix, "pos_long");
        if (!lon) return plat::Error{lon.error()};
        if (!lat->has_value() || !lon->has_value() || std::fabs(**lat) > 90 || std::fabs(**lon) > 180)
            return doc.error(fix, "navlog fix '" + ident + "' has no position (pos_lat, pos_long)");
        navlog.push_back({ident, {**lat, **lon}, fix});
        context.hints.emplace_back(ident, sim::LatLon{**lat, **lon});
    }

    auto resolved = resolve_icao_route(db, *route, context);
    if (!resolved) return doc.error(root.child("atc").child("route"), "atc/route: " + resolved.error());
    FlightPlan plan = std::move(resolved).value();

    std::size_t at = 1;
    for (const NavlogFix& f : navlog) {
        std::size_t k = at;
        while (k + 1 < plan.waypoints.size() && plan.waypoints[k].place.ident != f.ident &&
               !(is_latlon_point(plan.waypoints[k].place) &&
                 sim::distance_nm(plan.waypoints[k].place.at, f.at) < navlog_agreement_nm))
            ++k;
        if (k + 1 >= plan.waypoints.size())
            return doc.error(f.node,
                             "navlog fix '" + f.ident + "' is not on the route that atc/route gives (in that order)");
        const double off = sim::distance_nm(plan.waypoints[k].place.at, f.at);
        if (off > navlog_agreement_nm) {
            char why[64];
            std::snprintf(why, sizeof why, "%.1f", off);
            return doc.error(f.node, "navlog fix '" + f.ident + "' lies " + why + " nm from the route's " + f.ident);
        }
        at = k + 1;
    }

    const pugi::xml_node general = root.child("general");
    if (!plan.cruise_altitude_ft) {
        auto alt = doc.number(general, "initial_altitude");
        if (!alt) return plat::Error{alt.error()};
        if (alt->has_value() && **alt > 0 && **alt < 99999)
            plan.cruise_altitude_ft = static_cast<int>(std::lround(**alt));
    }
    if (!plan.cruise_speed) {
        auto mach = doc.number(general, "cruise_mach");
        if (!mach) return plat::Error{mach.error()};
        auto tas = doc.number(general, "cruise_tas");
        if (!tas) return plat::Error{tas.error()};
        if (mach->has_value() && **mach > 0 && **mach <= 5) plan.cruise_speed = **mach;
        else if (tas->has_value() && **tas > 5 && **tas < 2000) plan.cruise_speed = std::round(**tas);
    }
    return plan;
}

}  // namespace planner
