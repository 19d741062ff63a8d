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

class Reader {
public:
    Reader(const NavDb& db, const XmlDocument& doc) : db_(db), doc_(doc) {}

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
        std::vector<pugi::xml_node> wps;
        for (pugi::xml_node wp = fp.child("ATCWaypoint"); wp; wp = wp.next_sibling("ATCWaypoint")) wps.push_back(wp);
        if (wps.size() < 2) return doc_.error(fp, "a flight plan needs at least its two airports as <ATCWaypoint>s");
        for (std::size_t i = 0; i < wps.size(); ++i)
            if (auto e = point(wps[i], i == 0 || i + 1 == wps.size())) return *e;
        if (plan_.waypoints.front().place.type != "APT")
            return doc_.error(wps.front(), "the first waypoint must be the departure airport");
        if (plan_.waypoints.back().place.type != "APT")
            return doc_.error(wps.back(), "the last waypoint must be the arrival airport");
        plan_.departure_runway = msfs_runway(wps.front());
        plan_.arrival_runway = msfs_runway(wps.back());
        return std::move(plan_);
    }

private:
    std::optional<plat::Error> point(pugi::xml_node wp, bool end) {
        const std::string type = XmlDocument::text(wp, "ATCWaypointType").value_or("");
        std::string ident = XmlDocument::text(wp.child("ICAO"), "ICAOIdent").value_or("");
        if (ident.empty()) ident = wp.attribute("id").value();
        if (ident.empty() && type != "User") return doc_.error(wp, "a waypoint without an ident (<ICAOIdent> or id)");
        const auto pos = XmlDocument::text(wp, "WorldPosition");
        if (!pos) return doc_.error(wp, "waypoint '" + ident + "' has no <WorldPosition>");
        const std::size_t c1 = pos->find(','), c2 = c1 == std::string::npos ? c1 : pos->find(',', c1 + 1);
        const auto lat = parse_dms(std::string_view(*pos).substr(0, c1));
        const auto lon =
            c1 == std::string::npos ? std::nullopt : parse_dms(std::string_view(*pos).substr(c1 + 1, c2 - c1 - 1));
        if (!lat || !lon || std::fabs(*lat) > 90 || std::fabs(*lon) > 180)
            return doc_.error(wp.child("WorldPosition"),
                              "waypoint '" + ident + "': '" + pos->substr(0, 60) + "' is not a position");
        int altitude = 0;
        if (c2 != std::string::npos) {
            const double a = std::strtod(pos->c_str() + c2 + 1, nullptr);
            if (std::isfinite(a) && std::fabs(a) < 99999) altitude = static_cast<int>(std::lround(a));
        }
        PlanWaypoint w;
        w.altitude_ft = end ? 0 : altitude;
        w.airway = XmlDocument::text(wp, "ATCAirway").value_or("");
        if (type == "Airport") {
            auto a = airport_place(db_, ident);
            if (!a) return doc_.error(wp, "unknown airport '" + ident + "'");
            w.place = std::move(*a);
        } else if (type == "User") {
            w.place = place_from_file(db_, parse_latlon_ident(ident) ? ident : "", {*lat, *lon});
        } else if (type == "Intersection" || type == "VOR" || type == "NDB") {
            w.place = place_from_file(db_, ident, {*lat, *lon});
        } else {
            return doc_.error(wp, "waypoint type '" + type + "' is not known (Airport, Intersection, VOR, NDB, User)");
        }
        plan_.waypoints.push_back(std::move(w));
        return std::nullopt;
    }

    const NavDb& db_;
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
    for (double& part : parts) {
        while (i < t.size() && !(t[i] >= '0' && t[i] <= '9')) {
            if (t[i] == '-' || t[i] == '+') return std::nullopt;
            ++i;
        }
        if (i >= t.size()) return std::nullopt;
        std::string number;
        while (i < t.size() && ((t[i] >= '0' && t[i] <= '9') || t[i] == '.') && number.size() < 20) number += t[i++];
        char* end = nullptr;
        part = std::strtod(number.c_str(), &end);
        if (*end != '\0') return std::nullopt;
    }
    if (parts[1] >= 60 || parts[2] >= 60) return std::nullopt;
    const double v = parts[0] + (parts[1] + parts[2] / 60.0) / 60.0;
    return h == 'S' || h == 'W' ? -v : v;
}

plat::Result<FlightPlan> read_msfs_pln(const NavDb& db, std::string_view text, std::string_view file) {
    auto doc = XmlDocument::parse(text, file);
    if (!doc) return plat::Error{doc.error()};
    return Reader(db, **doc).read();
}

}  // namespace planner
