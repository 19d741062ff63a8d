#include "flightplan/formats/simbrief_format.h"

#include <cmath>

#include "flightplan/formats/icao_route.h"
#include "flightplan/formats/xml_document.h"

namespace planner {

namespace {

std::string fix_type(const std::string& navlog_type) {
    if (navlog_type == "vor") return "VOR";
    if (navlog_type == "ndb") return "NDB";
    return "INT";
}

class Reader {
public:
    explicit Reader(const XmlDocument& doc) : doc_(doc) {}

    plat::Result<FlightPlan> read() {
        const pugi::xml_node root = doc_.root();
        if (std::string(root.name()) != "OFP")
            return doc_.error(root, std::string("root element <") + root.name() + ">: not a SimBrief flight plan (<OFP>)");
        if (const auto status = XmlDocument::text(root.child("fetch"), "status");
            status && status->rfind("Error", 0) == 0)
            return doc_.error(root.child("fetch"),
                              "SimBrief answered with an error, not a plan: " + status->substr(0, 120));
        auto departure = airport(root.child("origin"), "origin");
        if (!departure) return plat::Error{departure.error()};
        auto arrival = airport(root.child("destination"), "destination");
        if (!arrival) return plat::Error{arrival.error()};
        plan_.departure_runway = XmlDocument::text(root.child("origin"), "plan_rwy").value_or("");
        plan_.departure_runway_line = doc_.line(root.child("origin").child("plan_rwy"));
        plan_.arrival_runway = XmlDocument::text(root.child("destination"), "plan_rwy").value_or("");
        plan_.arrival_runway_line = doc_.line(root.child("destination").child("plan_rwy"));
        const auto route = XmlDocument::text(root.child("atc"), "route");
        if (!route) return doc_.error(root, "no <atc><route>");

        plan_.waypoints.push_back(std::move(departure).value());
        if (auto e = navlog(root.child("navlog"))) return *e;
        if (plan_.waypoints.size() == 1 && !route->empty()) {
            // No fixes between the airports: the route item is all there is.
            plan_.route = *route;
            plan_.route_line = doc_.line(root.child("atc").child("route"));
        }
        plan_.waypoints.push_back(std::move(arrival).value());
        return cruise(root, *route);
    }

private:
    plat::Result<PlanWaypoint> airport(pugi::xml_node node, const char* what) const {
        const std::string ident = XmlDocument::text(node, "icao_code").value_or("");
        if (ident.empty()) return doc_.error(doc_.root(), std::string("no <") + what + "><icao_code>");
        PlanWaypoint w = stated_airport(ident);
        w.line = doc_.line(node);
        return w;
    }

    std::optional<plat::Error> navlog(pugi::xml_node log) {
        bool procedures = false;
        for (pugi::xml_node fix = log.child("fix"); fix; fix = fix.next_sibling("fix")) {
            const std::string ident = XmlDocument::text(fix, "ident").value_or("");
            const std::string type = XmlDocument::text(fix, "type").value_or("");
            if (ident.empty() || ident == "TOC" || ident == "TOD" || type == "apt") continue;
            if (XmlDocument::text(fix, "is_sid_star").value_or("0") == "1") {
                procedures = true;
                continue;
            }
            auto lat = doc_.number(fix, "pos_lat");
            if (!lat) return plat::Error{lat.error()};
            auto lon = doc_.number(fix, "pos_long");
            if (!lon) return plat::Error{lon.error()};
            if (!lat->has_value() || !lon->has_value() || std::fabs(**lat) > 90 || std::fabs(**lon) > 180)
                return doc_.error(fix, "navlog fix '" + ident + "' has no position (pos_lat, pos_long)");
            PlanWaypoint w = stated_point(fix_type(type), ident, {**lat, **lon});
            w.user_point = type == "ltlg";
            const std::string via = XmlDocument::text(fix, "via_airway").value_or("DCT");
            // The navlog may list only an airway's ends: the world data fills in the fixes between.
            if (via != "DCT" && !via.empty()) w.airway = via, w.follow_airway = true;
            w.line = doc_.line(fix);
            plan_.waypoints.push_back(std::move(w));
        }
        if (procedures)
            plan_.warnings.push_back("skipped the SID and STAR points: the FMC flies the route between them");
        return std::nullopt;
    }

    plat::Result<FlightPlan> cruise(pugi::xml_node root, const std::string& route) {
        for (const std::string& word : route_words(route)) {
            const std::size_t slash = word.find('/');
            const auto g = parse_speed_level(slash == std::string::npos ? word : word.substr(slash + 1));
            if (g) take_cruise(plan_, *g);
        }
        const pugi::xml_node general = root.child("general");
        if (!plan_.cruise_altitude_ft) {
            auto alt = doc_.number(general, "initial_altitude");
            if (!alt) return plat::Error{alt.error()};
            if (alt->has_value() && **alt > 0 && **alt < 99999)
                plan_.cruise_altitude_ft = static_cast<int>(std::lround(**alt));
        }
        if (!plan_.cruise_speed) {
            auto mach = doc_.number(general, "cruise_mach");
            if (!mach) return plat::Error{mach.error()};
            auto tas = doc_.number(general, "cruise_tas");
            if (!tas) return plat::Error{tas.error()};
            if (mach->has_value() && **mach > 0 && **mach <= 5) plan_.cruise_speed = **mach;
            else if (tas->has_value() && **tas > 5 && **tas < 2000) plan_.cruise_speed = std::round(**tas);
        }
        return std::move(plan_);
    }

    const XmlDocument& doc_;
    FlightPlan plan_;
};

}  // namespace

plat::Result<FlightPlan> read_simbrief(std::string_view text, std::string_view file) {
    auto parsed = XmlDocument::parse(text, file);
    if (!parsed) return plat::Error{parsed.error()};
    return Reader(**parsed).read();
}

}  // namespace planner
