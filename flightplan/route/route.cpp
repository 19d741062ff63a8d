#include "flightplan/route/route.h"

#include <deque>
#include <map>
#include <optional>

namespace planner {

namespace {

constexpr double same_place_nm = 1.0;  // airway data and navaid data agree to this

// The world data keeps names as its files write them; plans carry them upper-cased.
std::string upper_case(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace

std::vector<std::string> route_words(std::string_view route) {
    std::vector<std::string> words;
    std::string w;
    for (char c : route) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (!w.empty()) words.push_back(std::move(w)), w.clear();
        } else {
            w += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    if (!w.empty()) words.push_back(std::move(w));
    return words;
}

RoutePlace to_route_place(const NavDb& db, const Place& p) {
    RoutePlace r;
    r.at = db.position(p);
    switch (p.kind) {
        case Place::airport:
            r.type = "APT", r.ident = db.airport(p).icao, r.name = upper_case(db.airport(p).name);
            r.elevation_ft = db.airport(p).elevation_ft;
            r.airport = &db.airport(p);
            break;
        case Place::vor:
        case Place::ndb:
            r.type = p.kind == Place::vor ? "VOR" : "NDB";
            r.ident = db.navaid(p).ident, r.name = upper_case(db.navaid(p).name), r.frequency = db.navaid(p).frequency;
            break;
        case Place::fix: r.type = "INT", r.ident = r.name = db.fix(p).ident; break;
    }
    return r;
}

std::optional<RoutePlace> airport_place(const NavDb& db, const std::string& ident) {
    for (const Place& p : db.places(ident))
        if (p.kind == Place::airport) return to_route_place(db, p);
    return std::nullopt;
}

namespace {

// The candidate nearest to near, of the kinds allowed.
const Place* nearest_place(const NavDb& db, const std::string& ident, sim::LatLon near, bool airports_only) {
    const Place* best = nullptr;
    double best_nm = 0;
    for (const Place& p : db.places(ident)) {
        if (airports_only && p.kind != Place::airport) continue;
        const double d = sim::distance_nm(near, db.position(p));
        if (!best || d < best_nm) best = &p, best_nm = d;
    }
    return best;
}

// A point on an airway: an identifier at a position, resolved to the navaid or fix there.
RoutePlace airway_point(const NavDb& db, const std::string& ident, sim::LatLon at) {
    const Place* p = nearest_place(db, ident, at, false);
    if (p && p->kind != Place::airport && sim::distance_nm(db.position(*p), at) < same_place_nm) return to_route_place(db, *p);
    RoutePlace r;
    r.type = "INT", r.ident = r.name = ident, r.at = at;
    return r;
}

struct AirwayGraph {
    struct Node {
        std::string ident;
        sim::LatLon at;
        std::vector<std::size_t> next;
    };
    std::vector<Node> nodes;

    std::size_t node(const std::string& ident, sim::LatLon at) {
        for (std::size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i].ident == ident && sim::distance_nm(nodes[i].at, at) < same_place_nm) return i;
        nodes.push_back({ident, at, {}});
        return nodes.size() - 1;
    }
    explicit AirwayGraph(const std::vector<const worlddata::AirwaySegment*>& segments) {
        for (const auto* s : segments) {
            const std::size_t a = node(s->from, {s->from_lat, s->from_lon});
            const std::size_t b = node(s->to, {s->to_lat, s->to_lon});
            nodes[a].next.push_back(b);
            nodes[b].next.push_back(a);
        }
    }
    // Fewest segments from one node to another; empty when they do not connect.
    std::vector<std::size_t> path(std::size_t from, std::size_t to) const {
        std::vector<std::size_t> came(nodes.size(), nodes.size());
        std::deque<std::size_t> open{from};
        came[from] = from;
        while (!open.empty()) {
            const std::size_t n = open.front();
            open.pop_front();
            if (n == to) break;
            for (std::size_t m : nodes[n].next)
                if (came[m] == nodes.size()) came[m] = n, open.push_back(m);
        }
        if (came[to] == nodes.size()) return {};
        std::vector<std::size_t> p;
        for (std::size_t n = to; n != from; n = came[n]) p.insert(p.begin(), n);
        return p;
    }
};

plat::Result<bool> expand_airway(const NavDb& db, const std::string& name, const std::string& exit,
                                 std::vector<RoutePlace>& out) {
    const RoutePlace entry = out.back();
    AirwayGraph g(db.airway(name));
    std::size_t from = g.nodes.size();
    for (std::size_t i = 0; i < g.nodes.size(); ++i)
        if (g.nodes[i].ident == entry.ident && sim::distance_nm(g.nodes[i].at, entry.at) < same_place_nm) from = i;
    if (from == g.nodes.size()) return plat::Error{"'" + entry.ident + "' is not on airway " + name};
    std::vector<std::size_t> best;
    bool exit_on_airway = false;
    for (std::size_t i = 0; i < g.nodes.size(); ++i) {
        if (g.nodes[i].ident != exit) continue;
        exit_on_airway = true;
        auto p = g.path(from, i);
        if (!p.empty() && (best.empty() || p.size() < best.size())) best = std::move(p);
    }
    if (!exit_on_airway) return plat::Error{"'" + exit + "' is not on airway " + name};
    if (best.empty()) return plat::Error{"airway " + name + " does not lead from " + entry.ident + " to '" + exit + "'"};
    for (std::size_t n : best) out.push_back(airway_point(db, g.nodes[n].ident, g.nodes[n].at));
    return true;
}

// Splits "KSFO/28R" into the airport and its runway, which must be one of the airport's ends.
std::string take_runway(std::string& word) {
    const auto slash = word.find('/');
    if (slash == std::string::npos) return {};
    std::string runway = word.substr(slash + 1);
    word.resize(slash);
    return runway;
}

std::optional<std::string> check_runway(const RoutePlace& p, const std::string& runway, const std::string& word) {
    if (runway.empty()) return std::nullopt;
    if (p.airport)
        for (const auto& end : p.airport->ends)
            if (end.designator == runway) return std::nullopt;
    return p.ident + " has no runway '" + runway + "' (in '" + word + "')";
}

}  // namespace

plat::Result<std::vector<RoutePlace>> resolve_route(const NavDb& db, std::string_view route) {
    std::vector<std::string> words = route_words(route);
    if (words.size() < 2) return plat::Error{"a route needs a departure and an arrival airport"};
    const std::string first_word = words.front(), last_word = words.back();
    const std::string departure_runway = take_runway(words.front());
    const std::string arrival_runway = take_runway(words.back());
    auto done = [&](std::vector<RoutePlace> out) -> plat::Result<std::vector<RoutePlace>> {
        if (auto e = check_runway(out.front(), departure_runway, first_word)) return plat::Error{*e};
        if (auto e = check_runway(out.back(), arrival_runway, last_word)) return plat::Error{*e};
        out.front().runway = departure_runway;
        out.back().runway = arrival_runway;
        return out;
    };
    std::vector<RoutePlace> out;
    const Place* first = nearest_place(db, words.front(), {}, true);
    if (!first) {
        if (db.places(words.front()).empty()) return plat::Error{"unknown name '" + words.front() + "'"};
        return plat::Error{"the route must start at an airport, not '" + words.front() + "'"};
    }
    out.push_back(to_route_place(db, *first));
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        const bool last = i + 1 == words.size();
        if (!db.airway(w).empty() && !(last && !db.places(w).empty())) {
            if (last) return plat::Error{"airway " + w + " needs a point after it"};
            auto expanded = expand_airway(db, w, words[i + 1], out);
            if (!expanded) return plat::Error{expanded.error()};
            ++i;
            if (i + 1 < words.size()) continue;
            // The exit of the last airway is the arrival: it must be an airport.
            if (out.back().type != "APT") return plat::Error{"the route must end at an airport, not '" + words[i] + "'"};
            break;
        }
        const Place* p = nearest_place(db, w, out.back().at, last);
        if (!p) {
            if (db.places(w).empty()) return plat::Error{"unknown name '" + w + "'"};
            return plat::Error{"the route must end at an airport, not '" + w + "'"};
        }
        out.push_back(to_route_place(db, *p));
    }
    return done(std::move(out));
}

}  // namespace planner
