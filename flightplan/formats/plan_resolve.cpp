#include "flightplan/formats/plan_resolve.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "flightplan/formats/icao_route.h"
#include "flightplan/route/airway_chain.h"

namespace planner {

namespace {

// Positions in the formats are written to a millionth of a degree or a hundredth of a second: a
// point this close to the world data's one is that point.
constexpr double same_point_nm = 0.05;
// A plan that starts or ends at a point of its own departs from or arrives at an airport this near.
constexpr double end_airport_nm = 30.0;
// How many names a warning lists before it only counts.
constexpr std::size_t names_in_warning = 8;

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string nm_text(double nm) {
    char t[32];
    std::snprintf(t, sizeof t, "%.1f", nm);
    return t;
}

std::string name_list(const std::vector<std::string>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size() && i < names_in_warning; ++i) out += (i ? ", " : "") + names[i];
    if (names.size() > names_in_warning) out += " and " + std::to_string(names.size() - names_in_warning) + " more";
    return out;
}

// A route string's error names a word in quotes: the line that word stands on.
plat::Error route_error(std::string_view text, std::string_view file, const std::string& what) {
    const std::size_t q = what.find('\'');
    const std::size_t q2 = q == std::string::npos ? q : what.find('\'', q + 1);
    std::size_t line = 1;
    if (q2 != std::string::npos) {
        const std::size_t at = upper(std::string(text)).find(what.substr(q + 1, q2 - q - 1));
        if (at != std::string::npos) line = line_of(text, at);
    }
    return file_error(file, line, what);
}

class Resolver {
public:
    Resolver(const NavDb& db, FlightPlan plan, std::string_view file) : db_(db), plan_(std::move(plan)), file_(file) {}

    plat::Result<FlightPlan> run() {
        if (!plan_.route.empty())
            if (auto e = resolve_route_text()) return *e;
        if (plan_.waypoints.size() < 2)
            return file_error(file_, 0, "a plan needs a departure and an arrival airport");
        if (auto e = resolve_end(true)) return *e;
        if (auto e = resolve_end(false)) return *e;
        if (auto e = resolve_points()) return *e;
        if (auto e = check_runway(true)) return *e;
        if (auto e = check_runway(false)) return *e;
        cruise_from_restrictions();
        return std::move(plan_);
    }

private:
    std::optional<plat::Error> resolve_route_text() {
        RouteContext context;
        auto& w = plan_.waypoints;
        if (w.size() >= 2) {
            context.departure = w.front().place.ident, context.arrival = w.back().place.ident;
            context.departure_runway = plan_.departure_runway, context.arrival_runway = plan_.arrival_runway;
        }
        auto resolved = resolve_icao_route(db_, plan_.route, context);
        if (!resolved) {
            if (plan_.route_line > 0) return file_error(file_, plan_.route_line, "route: " + resolved.error());
            return route_error(plan_.route, file_, resolved.error());
        }
        FlightPlan r = std::move(resolved).value();
        w = std::move(r.waypoints);
        for (auto& warning : r.warnings) plan_.warnings.push_back(std::move(warning));
        if (!r.departure_runway.empty()) plan_.departure_runway = r.departure_runway;
        if (!r.arrival_runway.empty()) plan_.arrival_runway = r.arrival_runway;
        if (r.cruise_altitude_ft) plan_.cruise_altitude_ft = r.cruise_altitude_ft;
        if (r.cruise_speed) plan_.cruise_speed = r.cruise_speed;
        from_route_text_ = plan_.route_line == 0;
        return std::nullopt;
    }

    std::optional<RoutePlace> airport(const std::string& ident) const { return airport_place(db_, upper(ident)); }

    std::optional<RoutePlace> nearest_airport(sim::LatLon at, double& nm) const {
        const worlddata::Airport* best = nullptr;
        for (const auto& a : db_.airports()) {
            const double d = sim::distance_nm(at, {a.lat, a.lon});
            if (!best || d < nm) best = &a, nm = d;
        }
        if (!best || nm > end_airport_nm) return std::nullopt;
        return airport(best->icao);
    }

    // The departure (first) or arrival (last) airport.
    std::optional<plat::Error> resolve_end(bool departure) {
        auto& w = plan_.waypoints;
        PlanWaypoint& end = departure ? w.front() : w.back();
        if (end.place.airport) return std::nullopt;
        if (end.place.type == "APT") {
            auto a = airport(end.place.ident);
            if (!a) return file_error(file_, end.line, "unknown airport '" + end.place.ident + "'");
            end.place = std::move(*a);
            end.positioned = true;
            return std::nullopt;
        }
        const char* which = departure ? "start" : "end";
        double nm = 0;
        auto a = end.positioned ? nearest_airport(end.place.at, nm) : std::nullopt;
        if (!a)
            return file_error(file_, end.line,
                              std::string("the plan must ") + which + " at an airport: '" + end.place.ident +
                                  "' is not one, and no airport lies within " + nm_text(end_airport_nm) + " nm of it");
        plan_.warnings.push_back(std::string("the plan ") + (departure ? "starts" : "ends") + " at '" +
                                 end.place.ident + "', not at an airport: " + (departure ? "departing from " : "arriving at ") +
                                 a->ident + ", " + nm_text(nm) + " nm from it");
        PlanWaypoint airport_point;
        airport_point.place = std::move(*a);
        airport_point.line = end.line;
        w.insert(departure ? w.begin() : w.end(), std::move(airport_point));
        return std::nullopt;
    }

    std::optional<plat::Error> resolve_points() {
        std::vector<PlanWaypoint> in = std::move(plan_.waypoints);
        plan_.waypoints.clear();
        plan_.waypoints.push_back(std::move(in.front()));
        const sim::LatLon arrival = in.back().place.at;
        for (std::size_t i = 1; i + 1 < in.size(); ++i) {
            PlanWaypoint& w = in[i];
            w.place.ident = upper(w.place.ident);
            if (w.follow_airway && !w.airway.empty()) {
                if (auto e = follow(w)) return *e;
                continue;
            }
            if (w.positioned) {
                enrich(w);
            } else if (auto e = find(w, arrival)) {
                return *e;
            }
            plan_.waypoints.push_back(std::move(w));
        }
        plan_.waypoints.push_back(std::move(in.back()));
        if (!unknown_.empty())
            plan_.warnings.push_back("not in the world data, kept at the file's positions: " + name_list(unknown_));
        if (!direct_.empty())
            plan_.warnings.push_back("airways not in the world data between the file's points, flown direct: " +
                                     name_list(direct_));
        return std::nullopt;
    }

    // A positioned point: the world data's navaid or fix of that name there, else the file's point.
    void enrich(PlanWaypoint& w) {
        const Place* best = nullptr;
        double best_nm = 0;
        for (const Place& p : db_.places(w.place.ident)) {
            if (p.kind == Place::airport) continue;
            const double d = sim::distance_nm(w.place.at, db_.position(p));
            if (!best || d < best_nm) best = &p, best_nm = d;
        }
        if (best && best_nm <= same_point_nm) {
            const int altitude = w.place.fixed_altitude_ft;
            w.place = to_route_place(db_, *best);
            w.place.fixed_altitude_ft = altitude;
            return;
        }
        if (w.place.type.empty() || w.place.type == "APT") w.place.type = "INT";
        if (w.place.name.empty()) w.place.name = w.place.ident;
        if (!w.user_point && !is_latlon_point(w.place)) unknown_.push_back(w.place.ident);
    }

    // A point given by ident alone: of the places of that name, the one nearest the way on.
    std::optional<plat::Error> find(PlanWaypoint& w, sim::LatLon arrival) {
        if (auto at = parse_latlon_ident(w.place.ident)) {
            w.place.type = "INT", w.place.at = *at, w.place.name = w.place.ident;
            return std::nullopt;
        }
        const sim::LatLon from = plan_.waypoints.back().place.at;
        const Place* best = nullptr;
        double best_score = 0;
        for (const Place& p : db_.places(w.place.ident)) {
            if (p.kind == Place::airport) continue;
            const sim::LatLon at = db_.position(p);
            const double score =
                sim::distance_nm(from, at) + sim::distance_nm(at, arrival) - sim::distance_nm(from, arrival);
            if (!best || score < best_score) best = &p, best_score = score;
        }
        if (!best)
            return file_error(file_, w.line,
                              "unknown name '" + w.place.ident + "': the file gives no position and the world data has none");
        w.place = to_route_place(db_, *best);
        return std::nullopt;
    }

    std::optional<plat::Error> follow(PlanWaypoint& w) {
        const RoutePlace& entry = plan_.waypoints.back().place;
        auto steps = follow_airways(db_, {upper(w.airway)}, entry, w.place.ident);
        if (steps && !steps->empty() &&
            (!w.positioned || sim::distance_nm(steps->back().place.at, w.place.at) <= 1.0)) {
            for (auto& s : *steps) {
                PlanWaypoint step;
                step.place = std::move(s.place);
                step.airway = std::move(s.airway);
                plan_.waypoints.push_back(std::move(step));
            }
            plan_.waypoints.back().altitude_ft = w.altitude_ft;
            plan_.waypoints.back().altitude_rule = w.altitude_rule;
            return std::nullopt;
        }
        if (!w.positioned)
            return file_error(file_, w.line, steps ? "airway " + w.airway + " does not lead to " + w.place.ident
                                                   : steps.error());
        direct_.push_back(w.airway + " " + entry.ident + "-" + w.place.ident);
        w.follow_airway = false;
        enrich(w);
        plan_.waypoints.push_back(std::move(w));
        return std::nullopt;
    }

    std::optional<plat::Error> check_runway(bool departure) {
        std::string& given = departure ? plan_.departure_runway : plan_.arrival_runway;
        if (given.empty()) return std::nullopt;
        const RoutePlace& a = (departure ? plan_.waypoints.front() : plan_.waypoints.back()).place;
        const std::string designator = runway_designator(given);
        const auto end = designator.empty() ? std::nullopt : named_runway_end(db_, *a.airport, designator);
        if (!end) {
            const std::string what = a.ident + " has no runway " + given + "; its runways are " + runway_list(*a.airport);
            if (from_route_text_) return route_error(plan_.route, file_, "'" + a.ident + "/" + upper(given) + "': " + what);
            return file_error(file_, departure ? plan_.departure_runway_line : plan_.arrival_runway_line, what);
        }
        const std::string& taken = a.airport->ends[*end].designator;
        if (taken != designator)
            plan_.warnings.push_back("runway " + given + " of " + a.ident + " is " + taken +
                                     " in the world data (renumbered): taken as " + taken);
        given = taken;
        return std::nullopt;
    }

    void cruise_from_restrictions() {
        if (plan_.cruise_altitude_ft) return;
        int highest = 0;
        for (const auto& w : plan_.waypoints)
            if (w.altitude_rule != AltitudeRule::planned) highest = std::max(highest, w.altitude_ft);
        if (highest > 0) plan_.cruise_altitude_ft = highest;
    }

    const NavDb& db_;
    FlightPlan plan_;
    std::string file_;
    bool from_route_text_ = false;
    std::vector<std::string> unknown_, direct_;
};

}  // namespace

plat::Result<FlightPlan> resolve_plan(const NavDb& db, FlightPlan plan, std::string_view file) {
    return Resolver(db, std::move(plan), file).run();
}

}  // namespace planner
