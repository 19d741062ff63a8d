#include "flightplan/formats/icao_route.h"

#include <cmath>

#include "flightplan/route/airway_chain.h"
#include "flightplan/route/route.h"
#include "sim/units.h"

namespace planner {

namespace {

bool all_digits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return !s.empty();
}

bool all_letters(std::string_view s) {
    for (char c : s)
        if (c < 'A' || c > 'Z') return false;
    return !s.empty();
}

int to_int(std::string_view s) {
    int v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    return v;
}

// A procedure's name: letters, one digit, maybe one letter more (SSTIK5, SEAVU2A).
bool procedure_name(std::string_view w) {
    if (w.size() < 3 || w.size() > 7) return false;
    std::size_t digit = w.find_first_of("0123456789");
    if (digit == std::string_view::npos || digit < 2) return false;
    return all_letters(w.substr(0, digit)) && w.size() - digit <= 2 &&
           (w.size() - digit == 1 || all_letters(w.substr(digit + 1)));
}

PlanWaypoint airway_point(AirwayStep step) {
    PlanWaypoint w;
    w.place = std::move(step.place);
    w.airway = std::move(step.airway);
    return w;
}

class Resolver {
public:
    Resolver(const NavDb& db, const RouteContext& context) : db_(db), context_(context) {}

    plat::Result<FlightPlan> run(std::string_view route) {
        std::vector<std::string> words = route_words(route);
        if (context_.departure.empty()) {
            if (words.empty()) return plat::Error{"the route is empty: it needs a departure and an arrival airport"};
            if (auto e = set_airport(words.front(), true)) return *e;
            words.erase(words.begin());
        } else if (auto e = set_airport(
                       context_.departure + (context_.departure_runway.empty() ? "" : "/" + context_.departure_runway),
                       true)) {
            return *e;
        }
        std::optional<PlanWaypoint> arrival;
        if (context_.arrival.empty()) {
            if (words.empty()) return plat::Error{"the route needs an arrival airport at its end"};
            auto a = airport_word(words.back(), false);
            if (!a) return plat::Error{a.error()};
            arrival = std::move(a).value();
            words.pop_back();
        } else {
            auto a = airport_word(
                context_.arrival + (context_.arrival_runway.empty() ? "" : "/" + context_.arrival_runway), false);
            if (!a) return plat::Error{a.error()};
            arrival = std::move(a).value();
        }
        arrival_at_ = arrival->place.at;
        // A route item given with its airports apart may still name them at its ends.
        auto airport_word_of = [](const std::string& w) { return w.substr(0, w.find('/')); };
        if (!context_.departure.empty() && !words.empty() && airport_word_of(words.front()) == context_.departure)
            words.erase(words.begin());
        if (!context_.arrival.empty() && !words.empty() && airport_word_of(words.back()) == context_.arrival)
            words.pop_back();
        for (std::size_t i = 0; i < words.size(); ++i)
            if (auto e = word(words[i], i + 1 == words.size())) return *e;
        if (!pending_.empty()) return plat::Error{"airway " + pending_.back() + " needs a point after it"};
        plan_.waypoints.push_back(std::move(*arrival));
        return std::move(plan_);
    }

private:
    std::optional<plat::Error> set_airport(const std::string& w, bool departure) {
        auto a = airport_word(w, departure);
        if (!a) return plat::Error{a.error()};
        plan_.waypoints.push_back(std::move(a).value());
        return std::nullopt;
    }

    plat::Result<PlanWaypoint> airport_word(const std::string& w, bool departure) {
        const std::size_t slash = w.find('/');
        const std::string ident = w.substr(0, slash);
        auto place = airport_place(db_, ident);
        if (!place) {
            if (db_.places(ident).empty() && !parse_latlon_ident(ident))
                return plat::Error{"unknown name '" + ident + "'"};
            return plat::Error{std::string("the route must ") + (departure ? "start" : "end") +
                               " at an airport, not '" + ident + "'"};
        }
        if (slash != std::string::npos) {
            const std::string suffix = w.substr(slash + 1);
            const std::string runway = runway_designator(suffix);
            if (!runway.empty()) {
                (departure ? plan_.departure_runway : plan_.arrival_runway) = runway;
            } else if (auto group = parse_speed_level(suffix)) {
                apply(*group);
            } else {
                return plat::Error{"'" + w + "': '" + suffix + "' is neither a runway nor a speed and level"};
            }
        }
        PlanWaypoint p;
        p.place = std::move(*place);
        return p;
    }

    void apply(const SpeedLevel& g) { take_cruise(plan_, g); }

    std::optional<plat::Error> word(const std::string& w, bool last) {
        if (w == "DCT") {
            if (!pending_.empty()) return plat::Error{"DCT cannot follow airway " + pending_.back()};
            return std::nullopt;
        }
        if (auto group = parse_speed_level(w)) {
            apply(*group);
            return std::nullopt;
        }
        const std::size_t slash = w.find('/');
        const std::string base = w.substr(0, slash);
        std::optional<SpeedLevel> change;
        if (slash != std::string::npos) {
            change = parse_speed_level(std::string_view(w).substr(slash + 1));
            if (!change)
                return plat::Error{"'" + w + "': '" + w.substr(slash + 1) + "' is not a speed and level group"};
        }
        const bool named = !db_.places(base).empty();
        if (!change && !db_.airway(base).empty() && !(last && named)) {
            if (last) return plat::Error{"airway " + base + " needs a point after it"};
            pending_.push_back(base);
            return std::nullopt;
        }
        if (!change && !named && !parse_latlon_ident(base) && procedure_name(base)) {
            if (!pending_.empty())
                return plat::Error{"airway " + pending_.back() + " needs a point after it, not '" + base + "'"};
            plan_.warnings.push_back("skipped " + base + ": the world data holds no procedures (SID, STAR)");
            return std::nullopt;
        }
        if (!pending_.empty()) {
            auto steps = follow_airways(db_, pending_, plan_.waypoints.back().place, base);
            if (!steps) return plat::Error{steps.error()};
            for (auto& s : *steps) plan_.waypoints.push_back(airway_point(std::move(s)));
            pending_.clear();
        } else {
            auto p = point(base);
            if (!p) return plat::Error{p.error()};
            PlanWaypoint w;
            w.place = std::move(p).value();
            plan_.waypoints.push_back(std::move(w));
        }
        if (change) apply(*change);
        return std::nullopt;
    }

    plat::Result<RoutePlace> point(const std::string& ident) {
        if (auto at = parse_latlon_ident(ident)) {
            RoutePlace r;
            r.type = "INT", r.ident = r.name = ident, r.at = *at;
            return r;
        }
        const sim::LatLon from = plan_.waypoints.back().place.at;
        const Place* best = nullptr;
        double best_score = 0;
        for (const Place& p : db_.places(ident)) {
            if (p.kind == Place::airport) continue;
            const sim::LatLon at = db_.position(p);
            double score =
                sim::distance_nm(from, at) + sim::distance_nm(at, arrival_at_) - sim::distance_nm(from, arrival_at_);
            for (const auto& [name, where] : context_.hints)
                if (name == ident) score = std::min(score, sim::distance_nm(at, where) - 1e6);
            if (!best || score < best_score) best = &p, best_score = score;
        }
        if (!best) {
            if (airport_place(db_, ident)) return plat::Error{"airport '" + ident + "' in the middle of the route"};
            return plat::Error{"unknown name '" + ident + "'"};
        }
        return to_route_place(db_, *best);
    }

    const NavDb& db_;
    const RouteContext& context_;
    FlightPlan plan_;
    std::vector<std::string> pending_;  // airways waiting for their exit point
    sim::LatLon arrival_at_;
};

}  // namespace

std::optional<SpeedLevel> parse_speed_level(std::string_view t) {
    SpeedLevel g;
    std::size_t n = 0;
    if (t.size() >= 5 && (t[0] == 'N' || t[0] == 'K') && all_digits(t.substr(1, 4))) {
        const int v = to_int(t.substr(1, 4));
        g.speed = t[0] == 'N' ? v : std::round(v * sim::knots_per_kmh);
        n = 5;
    } else if (t.size() >= 4 && t[0] == 'M' && all_digits(t.substr(1, 3))) {
        g.speed = to_int(t.substr(1, 3)) / 100.0;
        n = 4;
    } else {
        return std::nullopt;
    }
    if (g.speed <= 0) return std::nullopt;
    const std::string_view level = t.substr(n);
    if (level == "VFR") return g;
    if (level.size() == 4 && (level[0] == 'F' || level[0] == 'A') && all_digits(level.substr(1)))
        g.level_ft = to_int(level.substr(1)) * 100;
    else if (level.size() == 5 && (level[0] == 'S' || level[0] == 'M') && all_digits(level.substr(1)))
        g.level_ft = static_cast<int>(std::lround(to_int(level.substr(1)) * 10 * sim::feet_per_metre));
    else return std::nullopt;
    return g;
}

void take_cruise(FlightPlan& plan, const SpeedLevel& g) {
    if (g.level_ft && (!plan.cruise_altitude_ft || *g.level_ft > *plan.cruise_altitude_ft)) {
        plan.cruise_altitude_ft = g.level_ft;
        plan.cruise_speed = g.speed;
    } else if (!plan.cruise_speed) {
        plan.cruise_speed = g.speed;
    }
}

plat::Result<FlightPlan> resolve_icao_route(const NavDb& db, std::string_view route, const RouteContext& context) {
    return Resolver(db, context).run(route);
}

}  // namespace planner
