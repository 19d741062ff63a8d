#include "flightplan/formats/msfs_pln_format.h"

#include <cmath>
#include <cstdlib>

#include "flightplan/formats/xml_document.h"

namespace planner {

namespace {

// "28" with "RIGHT" gives "28R"; "NONE" or nothing gives the number alone.
std::string msfs_runway(pugi::xml_node wp) {
    std::string number = XmlDocument::text(wp, "RunwayNumberFP").value_or("");
    if (number.empty()) return {};
    if (number.size() == 1) number = "0" + number;
    const std::string side = XmlDocument::text(wp, "RunwayDesignatorFP").value_or("");
    if (side == "LEFT" || side == "RIGHT" || side == "CENTER") number += side[0];
    return number;
}

// MSFS marks its own top of climb and descent as user points: no route points.
bool simulator_marker(const std::string& ident) {
    for (const char* m : {"TIMECLMB", "TIMECLIMB", "TIMECRUIS", "TIMEDSCNT", "TIMEAPPR", "TIMEVERT"})
        if (ident == m) return true;
    return false;
}

// "N37° 37' 7.70",W122° 22' 31.50",+000013.00": the position, and the altitude when given.
struct WorldPosition {
    sim::LatLon at;
    int altitude_ft = 0;
};

std::optional<WorldPosition> parse_world_position(const std::string& text) {
    const std::size_t c1 = text.find(','), c2 = c1 == std::string::npos ? c1 : text.find(',', c1 + 1);
    const auto lat = parse_dms(std::string_view(text).substr(0, c1));
    const auto lon = c1 == std::string::npos ? std::nullopt : parse_dms(std::string_view(text).substr(c1 + 1, c2 - c1 - 1));
    if (!lat || !lon || std::fabs(*lat) > 90 || std::fabs(*lon) > 180) return std::nullopt;
    WorldPosition p{{*lat, *lon}};
    if (c2 != std::string::npos)
        if (auto a = number_in(std::string_view(text).substr(c2 + 1), -2000, 99999))
            p.altitude_ft = static_cast<int>(std::lround(*a));
    return p;
}

class Reader {
public:
    explicit Reader(const XmlDocument& doc) : doc_(doc) {}

    plat::Result<FlightPlan> read() {
        const pugi::xml_node root = doc_.root();
        if (std::string(root.name()) != "SimBase.Document")
            return doc_.error(root, std::string("root element <") + root.name() +
                                        ">: not an FSX/MSFS flight plan (<SimBase.Document>)");
        const pugi::xml_node fp = root.child("FlightPlan.FlightPlan");
        if (!fp) return doc_.error(root, "no <FlightPlan.FlightPlan> element");
        if (auto alt = doc_.number(fp, "CruisingAlt"); !alt) {
            return plat::Error{alt.error()};
        } else if (alt->has_value() && **alt > 0 && **alt < 99999) {
            plan_.cruise_altitude_ft = static_cast<int>(std::lround(**alt));
        }
        runway_of(fp, "DeparturePosition", true);
        runway_of(fp, "DestinationPosition", false);
        std::vector<pugi::xml_node> wps;
        for (pugi::xml_node wp = fp.child("ATCWaypoint"); wp; wp = wp.next_sibling("ATCWaypoint")) wps.push_back(wp);
        bool approach_skipped = false;
        for (std::size_t i = 0; i < wps.size(); ++i) {
            if (XmlDocument::text(wps[i], "ApproachTypeFP")) {
                approach_skipped = true;
                take_runway(msfs_runway(wps[i]), wps[i], false);
                continue;
            }
            if (auto e = point(wps[i])) return *e;
        }
        if (approach_skipped)
            plan_.warnings.push_back("skipped the approach's points: the planner lays its own to the runway");
        // MSFS 2024 leaves the airports out of the points: the plan's own elements name them.
        auto& w = plan_.waypoints;
        if (w.empty() || w.front().place.type != "APT") {
            auto a = airport_of(fp, "DepartureID", "DepartureLLA");
            if (!a) return plat::Error{a.error()};
            w.insert(w.begin(), std::move(a).value());
        }
        if (w.size() < 2 || w.back().place.type != "APT") {
            auto a = airport_of(fp, "DestinationID", "DestinationLLA");
            if (!a) return plat::Error{a.error()};
            w.push_back(std::move(a).value());
        }
        if (!wps.empty()) {
            take_runway(msfs_runway(wps.front()), wps.front(), true);
            take_runway(msfs_runway(wps.back()), wps.back(), false);
        }
        return std::move(plan_);
    }

private:
    // The first runway named for an end is the plan's.
    void take_runway(const std::string& text, pugi::xml_node at, bool departure) {
        const std::string designator = runway_designator(text);
        std::string& runway = departure ? plan_.departure_runway : plan_.arrival_runway;
        if (designator.empty() || !runway.empty()) return;
        runway = designator;
        (departure ? plan_.departure_runway_line : plan_.arrival_runway_line) = doc_.line(at);
    }

    // DeparturePosition names the runway or a parking place ("PARKING 12", "GATE A 3").
    void runway_of(pugi::xml_node fp, const char* element, bool departure) {
        if (const auto text = XmlDocument::text(fp, element)) take_runway(*text, fp.child(element), departure);
    }

    plat::Result<PlanWaypoint> airport_of(pugi::xml_node fp, const char* id, const char* lla) const {
        const std::string ident = XmlDocument::text(fp, id).value_or("");
        if (ident.empty()) return doc_.error(fp, std::string("no airport: neither an Airport waypoint nor <") + id + ">");
        PlanWaypoint w = stated_airport(ident);
        if (const auto text = XmlDocument::text(fp, lla))
            if (const auto p = parse_world_position(*text)) w.place.at = p->at, w.positioned = true;
        w.line = doc_.line(fp.child(id));
        return w;
    }

    std::optional<plat::Error> point(pugi::xml_node wp) {
        const std::string type = XmlDocument::text(wp, "ATCWaypointType").value_or("");
        std::string ident = XmlDocument::text(wp.child("ICAO"), "ICAOIdent").value_or("");
        if (ident.empty()) ident = wp.attribute("id").value();
        if (type == "User" && simulator_marker(ident)) return std::nullopt;
        if (ident.empty() && type != "User") return doc_.error(wp, "a waypoint without an ident (<ICAOIdent> or id)");
        if (type != "Airport" && type != "User" && type != "Intersection" && type != "VOR" && type != "NDB")
            return doc_.error(wp, "waypoint type '" + type + "' is not known (Airport, Intersection, VOR, NDB, User)");
        PlanWaypoint w;
        if (const auto pos = XmlDocument::text(wp, "WorldPosition")) {
            const auto p = parse_world_position(*pos);
            if (!p)
                return doc_.error(wp.child("WorldPosition"),
                                  "waypoint '" + ident + "': '" + pos->substr(0, 60) + "' is not a position");
            w = stated_point(type == "Airport" ? "APT" : type == "VOR" || type == "NDB" ? type : "INT", ident, p->at);
            if (type != "Airport") w.altitude_ft = p->altitude_ft;
        } else if (type == "User") {
            return doc_.error(wp, "user waypoint '" + ident + "' has no <WorldPosition>");
        } else {
            w = type == "Airport" ? stated_airport(ident) : PlanWaypoint{};
            w.place.ident = w.place.name = ident;
            w.place.type = type == "Airport" ? "APT" : type == "VOR" || type == "NDB" ? type : "INT";
            w.positioned = false;
        }
        w.user_point = type == "User";
        w.airway = XmlDocument::text(wp, "ATCAirway").value_or("");
        w.line = doc_.line(wp);
        if (XmlDocument::text(wp, "DepartureFP")) take_runway(msfs_runway(wp), wp, true);
        if (XmlDocument::text(wp, "ArrivalFP")) take_runway(msfs_runway(wp), wp, false);
        plan_.waypoints.push_back(std::move(w));
        return std::nullopt;
    }

    const XmlDocument& doc_;
    FlightPlan plan_;
};

}  // namespace

std::optional<double> parse_dms(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    if (i >= t.size()) return std::nullopt;
    const char h = t[i++];
    if (h != 'N' && h != 'S' && h != 'E' && h != 'W') return std::nullopt;
    double parts[3] = {0, 0, 0};
    std::size_t given = 0;
    for (double& part : parts) {
        while (i < t.size() && !(t[i] >= '0' && t[i] <= '9')) {
            if (t[i] == '-' || t[i] == '+' || t[i] == '.') return std::nullopt;
            ++i;
        }
        if (i >= t.size()) break;
        std::string number;
        while (i < t.size() && ((t[i] >= '0' && t[i] <= '9') || t[i] == '.') && number.size() < 20) number += t[i++];
        const auto v = number_in(number, 0, 180);
        if (!v) return std::nullopt;
        part = *v;
        ++given;
    }
    if (given == 0 || parts[1] >= 60 || parts[2] >= 60) return std::nullopt;
    const double v = parts[0] + (parts[1] + parts[2] / 60.0) / 60.0;
    return h == 'S' || h == 'W' ? -v : v;
}

plat::Result<FlightPlan> read_msfs_pln(std::string_view text, std::string_view file) {
    auto doc = XmlDocument::parse(text, file);
    if (!doc) return plat::Error{doc.error()};
    return Reader(**doc).read();
}

}  // namespace planner
