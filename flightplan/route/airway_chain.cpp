#include "flightplan/route/airway_chain.h"

#include <deque>
#include <limits>

namespace planner {

namespace {

constexpr double same_place_nm = 1.0;  // airway data and navaid data agree to this

struct Graph {
    struct Node {
        std::string ident;
        sim::LatLon at;
        std::vector<std::size_t> next;
    };
    std::vector<Node> nodes;

    std::size_t find(const std::string& ident, sim::LatLon at) const {
        for (std::size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i].ident == ident && sim::distance_nm(nodes[i].at, at) < same_place_nm) return i;
        return nodes.size();
    }
    std::size_t node(const std::string& ident, sim::LatLon at) {
        const std::size_t i = find(ident, at);
        if (i < nodes.size()) return i;
        nodes.push_back({ident, at, {}});
        return nodes.size() - 1;
    }
    explicit Graph(const std::vector<const worlddata::AirwaySegment*>& segments) {
        for (const auto* s : segments) {
            const std::size_t a = node(s->from, {s->from_lat, s->from_lon});
            const std::size_t b = node(s->to, {s->to_lat, s->to_lon});
            nodes[a].next.push_back(b);
            nodes[b].next.push_back(a);
        }
    }
};

// The navaid or fix at an airway point; a plain intersection where the data has none.
RoutePlace airway_point(const NavDb& db, const Graph::Node& n) {
    const Place* best = nullptr;
    double best_nm = 0;
    for (const Place& p : db.places(n.ident)) {
        if (p.kind == Place::airport) continue;
        const double d = sim::distance_nm(n.at, db.position(p));
        if (!best || d < best_nm) best = &p, best_nm = d;
    }
    if (best && best_nm < same_place_nm) return to_route_place(db, *best);
    RoutePlace r;
    r.type = "INT", r.ident = r.name = n.ident, r.at = n.at;
    return r;
}

}  // namespace

plat::Result<std::vector<AirwayStep>> follow_airways(const NavDb& db, const std::vector<std::string>& airways,
                                                     const RoutePlace& entry, const std::string& exit) {
    std::vector<Graph> graphs;
    for (const auto& name : airways) {
        graphs.emplace_back(db.airway(name));
        if (graphs.back().nodes.empty()) return plat::Error{"unknown airway '" + name + "'"};
    }
    const std::size_t layers = graphs.size();
    // States are (layer, node); moving along a segment costs one, changing to the next airway at a
    // point both share costs nothing. The state space is small, so a plain search will do.
    std::vector<std::size_t> base(layers + 1, 0);
    for (std::size_t i = 0; i < layers; ++i) base[i + 1] = base[i] + graphs[i].nodes.size();
    constexpr std::size_t none = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> cost(base[layers], none), came(base[layers], none);
    std::deque<std::size_t> open;
    const std::size_t start = graphs[0].find(entry.ident, entry.at);
    if (start == graphs[0].nodes.size()) return plat::Error{"'" + entry.ident + "' is not on airway " + airways[0]};
    cost[start] = 0;
    open.push_back(start);
    while (!open.empty()) {
        const std::size_t s = open.front();
        open.pop_front();
        std::size_t layer = 0;
        while (s >= base[layer + 1]) ++layer;
        const Graph::Node& n = graphs[layer].nodes[s - base[layer]];
        if (layer + 1 < layers) {
            const std::size_t m = graphs[layer + 1].find(n.ident, n.at);
            if (m < graphs[layer + 1].nodes.size() && cost[base[layer + 1] + m] > cost[s]) {
                cost[base[layer + 1] + m] = cost[s], came[base[layer + 1] + m] = s;
                open.push_front(base[layer + 1] + m);
            }
        }
        for (std::size_t m : n.next)
            if (cost[base[layer] + m] > cost[s] + 1) {
                cost[base[layer] + m] = cost[s] + 1, came[base[layer] + m] = s;
                open.push_back(base[layer] + m);
            }
    }
    const Graph& last = graphs.back();
    std::size_t best = none;
    bool exit_on_airway = false;
    for (std::size_t i = 0; i < last.nodes.size(); ++i) {
        if (last.nodes[i].ident != exit) continue;
        exit_on_airway = true;
        const std::size_t s = base[layers - 1] + i;
        if (cost[s] != none && (best == none || cost[s] < cost[best])) best = s;
    }
    if (!exit_on_airway) return plat::Error{"'" + exit + "' is not on airway " + airways.back()};
    if (best == none) {
        for (std::size_t i = 0; i + 1 < layers; ++i) {
            bool meet = false;
            for (const auto& n : graphs[i].nodes)
                meet = meet || graphs[i + 1].find(n.ident, n.at) < graphs[i + 1].nodes.size();
            if (!meet) return plat::Error{"airways " + airways[i] + " and " + airways[i + 1] + " do not meet"};
        }
        std::string names = airways[0];
        for (std::size_t i = 1; i < layers; ++i) names += " " + airways[i];
        return plat::Error{(layers == 1 ? "airway " : "airways ") + names + (layers == 1 ? " does" : " do") +
                           " not lead from " + entry.ident + " to '" + exit + "'"};
    }
    std::vector<AirwayStep> steps;
    for (std::size_t s = best; s != start; s = came[s]) {
        const std::size_t from = came[s];
        std::size_t layer = 0;
        while (s >= base[layer + 1]) ++layer;
        if (from >= base[layer])
            steps.insert(steps.begin(), {airway_point(db, graphs[layer].nodes[s - base[layer]]), airways[layer]});
    }
    return steps;
}

}  // namespace planner
