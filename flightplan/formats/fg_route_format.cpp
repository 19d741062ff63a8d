#include "flightplan/formats/fg_route_format.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "flightplan/formats/xml_document.h"

namespace planner {

namespace {

bool flag(pugi::xml_node wp, const char* name) {
    const auto t = XmlDocument::text(wp, name);
    return t && (*t == "true" || *t == "1");
}

// Altitudes beyond these are FlightGear's "unset" (-9999) or nonsense.
constexpr double lowest_restriction_ft = 1, highest_restriction_ft = 60000;

AltitudeRule restriction_rule(const std::string& text) {
    if (text == "at") return AltitudeRule::at;
    if (text == "above") return AltitudeRule::at_or_above;
    if (text == "below") return AltitudeRule::at_or_below;
    return AltitudeRule::planned;
}

const char* restriction_text(AltitudeRule rule) {
    switch (rule) {
        case AltitudeRule::at_or_above: return "above";
        case AltitudeRule::at_or_below: return "below";
        default: break;
    }
    return "at";
}

class Reader {
public:
    explicit Reader(const XmlDocument& doc) : doc_(doc) {}

    plat::Result<FlightPlan> read() {
        const pugi::xml_node root = doc_.root();
        if (std::string(root.name()) != "PropertyList")
            return doc_.error(
                root, std::string("root element <") + root.name() + ">: not a FlightGear route (<PropertyList>)");
        const pugi::xml_node route = root.child("route");
        if (!route) return doc_.error(root, "no <route> element: not a FlightGear route");
        bool v1 = !route.child("wp").child("lat") && route.child("wp").child("latitude-deg");
        if (const auto version = XmlDocument::text(root, "version")) {
            const auto v = number_in(*version, 1, 2);
            if (!v || (*v != 1 && *v != 2))
                return doc_.error(root.child("version"),
                                  "route version '" + version->substr(0, 20) + "' is not read (1 and 2 are)");
            v1 = *v == 1;
        }

        std::string departure = XmlDocument::text(root.child("departure"), "airport").value_or("");
        std::string arrival = XmlDocument::text(root.child("destination"), "airport").value_or("");
        plan_.departure_runway = XmlDocument::text(root.child("departure"), "runway").value_or("");
        plan_.arrival_runway = XmlDocument::text(root.child("destination"), "runway").value_or("");
        plan_.departure_runway_line = doc_.line(root.child("departure").child("runway"));
        plan_.arrival_runway_line = doc_.line(root.child("destination").child("runway"));
        if (auto e = cruise(root.child("cruise"))) return *e;

        std::vector<pugi::xml_node> wps;
        for (pugi::xml_node wp = route.child("wp"); wp; wp = wp.next_sibling("wp")) wps.push_back(wp);
        // Version 1 lists the airports as its first and last points.
        if (v1 && !wps.empty() && XmlDocument::text(wps.front(), "ident").value_or("") == departure)
            wps.erase(wps.begin());
        if (v1 && !wps.empty() && XmlDocument::text(wps.back(), "ident").value_or("") == arrival) wps.pop_back();
        if (!v1) airports_from_points(wps, departure, arrival);
        if (departure.empty()) return doc_.error(root, "no departure airport (<departure><airport>)");
        if (arrival.empty()) return doc_.error(root, "no destination airport (<destination><airport>)");
        plan_.waypoints.push_back(airport_point(departure, root.child("departure")));
        for (pugi::xml_node wp : wps)
            if (auto e = v1 ? point_v1(wp) : point_v2(wp, wps, departure, arrival)) return *e;
        plan_.waypoints.push_back(airport_point(arrival, root.child("destination")));
        return std::move(plan_);
    }

private:
    PlanWaypoint airport_point(const std::string& ident, pugi::xml_node at) const {
        PlanWaypoint w = stated_airport(ident);
        w.line = doc_.line(at);
        return w;
    }

    // Runway points name their airports, and some writers list the airports themselves as points
    // flagged departure or arrival: they give the airports the plan lacks, and are no route points.
    void airports_from_points(const std::vector<pugi::xml_node>& wps, std::string& departure,
                              std::string& arrival) const {
        for (pugi::xml_node wp : wps) {
            const std::string type = XmlDocument::text(wp, "type").value_or("");
            const bool dep = flag(wp, "departure") || (!flag(wp, "arrival") && en_route_before(wps, wp) == 0);
            std::string& airport = dep ? departure : arrival;
            if (type == "runway") {
                if (airport.empty()) airport = XmlDocument::text(wp, "icao").value_or("");
            } else if ((flag(wp, "departure") || flag(wp, "arrival")) && airport.empty() && airport_ident(wp)) {
                airport = XmlDocument::text(wp, "ident").value_or("");
            }
        }
    }

    // A point that stands for an airport: flagged departure or arrival, with an ICAO airport's
    // four-letter ident and no airway to it.
    static bool airport_ident(pugi::xml_node wp) {
        const std::string ident = XmlDocument::text(wp, "ident").value_or("");
        if (ident.size() != 4 || XmlDocument::text(wp, "airway")) return false;
        for (char c : ident)
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
        return true;
    }

    std::size_t en_route_before(const std::vector<pugi::xml_node>& wps, pugi::xml_node at) const {
        std::size_t n = 0;
        for (pugi::xml_node wp : wps) {
            if (wp == at) break;
            if (XmlDocument::text(wp, "type").value_or("") != "runway") ++n;
        }
        return n;
    }

    std::optional<plat::Error> cruise(pugi::xml_node c) {
        if (!c) return std::nullopt;
        for (const char* name : {"flight-level", "altitude-ft", "mach", "knots"}) {
            auto v = doc_.number(c, name);
            if (!v) return plat::Error{v.error()};
            if (!v->has_value()) continue;
            const double x = **v;
            if (x <= 0 || x > 99999) return doc_.error(c.child(name), std::string("<") + name + "> is out of range");
            if (name[0] == 'f') plan_.cruise_altitude_ft = static_cast<int>(std::lround(x * 100));
            else if (name[0] == 'a') plan_.cruise_altitude_ft = static_cast<int>(std::lround(x));
            else if (name[0] == 'm' && x <= 5) plan_.cruise_speed = x;
            else if (name[0] == 'k' && x > 5) plan_.cruise_speed = x;
        }
        return std::nullopt;
    }

    plat::Result<std::optional<sim::LatLon>> position(pugi::xml_node wp, const char* lat_name, const char* lon_name,
                                                      const std::string& ident) {
        auto lat = doc_.number(wp, lat_name);
        if (!lat) return plat::Error{lat.error()};
        auto lon = doc_.number(wp, lon_name);
        if (!lon) return plat::Error{lon.error()};
        if (!lat->has_value() && !lon->has_value()) return std::optional<sim::LatLon>{};
        if (!lat->has_value() || !lon->has_value())
            return doc_.error(wp, "waypoint '" + ident + "' has only one of <" + lat_name + "> and <" + lon_name + ">");
        if (std::fabs(**lat) > 90 || std::fabs(**lon) > 180)
            return doc_.error(wp, "waypoint '" + ident + "': position out of range");
        return std::optional<sim::LatLon>{sim::LatLon{**lat, **lon}};
    }

    // The point's altitude restriction: version 2's alt-restrict with altitude-ft, or a bare
    // altitude-ft (version 1 and other writers), which the point is to be crossed at.
    void restriction(pugi::xml_node wp, PlanWaypoint& w) const {
        auto a = doc_.number(wp, "altitude-ft");
        if (!a || !a->has_value() || **a < lowest_restriction_ft || **a > highest_restriction_ft) return;
        const auto rule = XmlDocument::text(wp, "alt-restrict");
        w.altitude_rule = rule ? restriction_rule(*rule) : AltitudeRule::at;
        if (w.altitude_rule != AltitudeRule::planned) w.altitude_ft = static_cast<int>(std::lround(**a));
    }

    std::optional<plat::Error> add_point(pugi::xml_node wp, const char* lat_name, const char* lon_name,
                                         const std::string& type, const std::string& ident) {
        auto at = position(wp, lat_name, lon_name, ident);
        if (!at) return plat::Error{at.error()};
        if (!at->has_value()) return doc_.error(wp, "waypoint '" + ident + "' has no <" + lat_name + "> and <" + lon_name + ">");
        PlanWaypoint w = stated_point(type, ident, **at);
        w.airway = XmlDocument::text(wp, "airway").value_or("");
        w.line = doc_.line(wp);
        restriction(wp, w);
        plan_.waypoints.push_back(std::move(w));
        return std::nullopt;
    }

    std::optional<plat::Error> point_v1(pugi::xml_node wp) {
        const std::string ident = XmlDocument::text(wp, "ident").value_or("");
        if (ident.empty()) return doc_.error(wp, "a waypoint without <ident>");
        return add_point(wp, "latitude-deg", "longitude-deg", "", ident);
    }

    std::optional<plat::Error> point_v2(pugi::xml_node wp, const std::vector<pugi::xml_node>& wps,
                                        const std::string& departure, const std::string& arrival) {
        const std::string type = XmlDocument::text(wp, "type").value_or("basic");
        const std::string ident = XmlDocument::text(wp, "ident").value_or("");
        if (type == "runway") {
            const bool dep = flag(wp, "departure") || (!flag(wp, "arrival") && en_route_before(wps, wp) == 0);
            std::string& runway = dep ? plan_.departure_runway : plan_.arrival_runway;
            if (runway.empty()) {
                runway = ident;
                (dep ? plan_.departure_runway_line : plan_.arrival_runway_line) = doc_.line(wp);
            }
            return std::nullopt;
        }
        if (flag(wp, "approach") || flag(wp, "miss")) return std::nullopt;
        if (ident == departure || ident == arrival) return std::nullopt;
        if (type == "discontinuity" || type == "vectors" || type == "hdgToAlt" || type == "hold" ||
            type == "dmeIntercept" || type == "radialIntercept") {
            plan_.warnings.push_back("skipped a " + type + " point (line " + std::to_string(doc_.line(wp)) + ")");
            return std::nullopt;
        }
        if (ident.empty()) return doc_.error(wp, "a waypoint without <ident>");
        if (type == "via") {
            PlanWaypoint w;
            w.place.ident = w.place.name = ident;
            w.airway = XmlDocument::text(wp, "airway").value_or("");
            if (w.airway.empty()) return doc_.error(wp, "a via point without <airway>");
            auto at = position(wp, "lat", "lon", ident);
            if (!at) return plat::Error{at.error()};
            w.positioned = at->has_value();
            if (w.positioned) w.place.at = **at;
            w.follow_airway = true;
            w.line = doc_.line(wp);
            plan_.waypoints.push_back(std::move(w));
            return std::nullopt;
        }
        if (type != "basic" && type != "navaid" && type != "offset-navaid")
            return doc_.error(wp, "waypoint type '" + type + "' is not known");
        return add_point(wp, "lat", "lon", "", ident);
    }

    const XmlDocument& doc_;
    FlightPlan plan_;
};

std::string number_text(double v) {
    char t[40];
    std::snprintf(t, sizeof t, "%.6f", v);
    return t;
}

void add_text(pugi::xml_node parent, const char* name, const char* type, const std::string& value) {
    pugi::xml_node n = parent.append_child(name);
    n.append_attribute("type") = type;
    n.text() = value.c_str();
}

}  // namespace

plat::Result<FlightPlan> read_fg_route(std::string_view text, std::string_view file) {
    auto doc = XmlDocument::parse(text, file);
    if (!doc) return plat::Error{doc.error()};
    return Reader(**doc).read();
}

std::string write_fg_route(const FlightPlan& plan) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("PropertyList");
    add_text(root, "version", "int", "2");
    const auto& w = plan.waypoints;
    if (w.size() < 2) return {};
    pugi::xml_node dep = root.append_child("departure");
    add_text(dep, "airport", "string", w.front().place.ident);
    if (!plan.departure_runway.empty()) add_text(dep, "runway", "string", plan.departure_runway);
    pugi::xml_node arr = root.append_child("destination");
    add_text(arr, "airport", "string", w.back().place.ident);
    if (!plan.arrival_runway.empty()) add_text(arr, "runway", "string", plan.arrival_runway);
    if (plan.cruise_altitude_ft || plan.cruise_speed) {
        pugi::xml_node c = root.append_child("cruise");
        if (plan.cruise_altitude_ft) {
            if (*plan.cruise_altitude_ft % 100 == 0)
                add_text(c, "flight-level", "int", std::to_string(*plan.cruise_altitude_ft / 100));
            else add_text(c, "altitude-ft", "int", std::to_string(*plan.cruise_altitude_ft));
        }
        if (plan.cruise_speed && *plan.cruise_speed <= 5)
            add_text(c, "mach", "double", number_text(*plan.cruise_speed));
        else if (plan.cruise_speed) add_text(c, "knots", "int", std::to_string(static_cast<int>(*plan.cruise_speed)));
    }
    pugi::xml_node route = root.append_child("route");
    int n = 0;
    auto wp = [&] {
        pugi::xml_node x = route.append_child("wp");
        x.append_attribute("n") = n++;
        return x;
    };
    // A runway point: "departure" or "arrival", the runway and its airport.
    auto runway_wp = [&](const char* which, const std::string& runway, const RoutePlace& airport) {
        if (runway.empty()) return;
        pugi::xml_node x = wp();
        add_text(x, "type", "string", "runway");
        add_text(x, which, "bool", "true");
        add_text(x, "ident", "string", runway);
        add_text(x, "icao", "string", airport.ident);
    };
    runway_wp("departure", plan.departure_runway, w.front().place);
    for (std::size_t i = 1; i + 1 < w.size(); ++i) {
        const RoutePlace& p = w[i].place;
        pugi::xml_node x = wp();
        add_text(x, "type", "string", p.type == "VOR" || p.type == "NDB" ? "navaid" : "basic");
        add_text(x, "ident", "string", p.ident);
        add_text(x, "lat", "double", number_text(p.at.lat));
        add_text(x, "lon", "double", number_text(p.at.lon));
        if (!w[i].airway.empty()) add_text(x, "airway", "string", w[i].airway);
        if (w[i].altitude_rule != AltitudeRule::planned && w[i].altitude_ft > 0) {
            add_text(x, "alt-restrict", "string", restriction_text(w[i].altitude_rule));
            add_text(x, "altitude-ft", "double", std::to_string(w[i].altitude_ft));
        }
    }
    runway_wp("arrival", plan.arrival_runway, w.back().place);
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

}  // namespace planner
