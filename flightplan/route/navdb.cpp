#include "flightplan/route/navdb.h"

#include "worlddata/world_data.h"

namespace planner {

NavDb::NavDb(std::vector<worlddata::Airport> airports, std::vector<worlddata::Navaid> navaids, std::vector<worlddata::Fix> fixes,
             std::vector<worlddata::AirwaySegment> airways)
    : airports_(std::move(airports)), fixes_(std::move(fixes)), segments_(std::move(airways)) {
    for (auto& n : navaids)
        if (n.kind == worlddata::Navaid::vor || n.kind == worlddata::Navaid::ndb) navaids_.push_back(std::move(n));
        else if (n.kind == worlddata::Navaid::localizer || n.kind == worlddata::Navaid::localizer_only) localizers_.push_back(std::move(n));
        else if (n.kind == worlddata::Navaid::glide_slope) glide_slopes_.push_back(std::move(n));
    for (std::size_t i = 0; i < airports_.size(); ++i) by_ident_[airports_[i].icao].push_back({Place::airport, i});
    for (std::size_t i = 0; i < navaids_.size(); ++i)
        by_ident_[navaids_[i].ident].push_back({navaids_[i].kind == worlddata::Navaid::vor ? Place::vor : Place::ndb, i});
    for (std::size_t i = 0; i < fixes_.size(); ++i) by_ident_[fixes_[i].ident].push_back({Place::fix, i});
    for (const auto& s : segments_)
        for (const auto& name : s.names) airways_[name].push_back(&s);
}

plat::Result<NavDb> NavDb::load(const std::string& dir) {
    auto data = worlddata::load_world_data(dir);
    if (!data) return plat::Error{data.error()};
    return NavDb(std::move(data->airports), std::move(data->navaids), std::move(data->fixes), std::move(data->airways));
}

const std::vector<Place>& NavDb::places(const std::string& ident) const {
    static const std::vector<Place> none;
    auto it = by_ident_.find(ident);
    return it == by_ident_.end() ? none : it->second;
}

sim::LatLon NavDb::position(const Place& p) const {
    switch (p.kind) {
        case Place::airport: return {airports_[p.index].lat, airports_[p.index].lon};
        case Place::vor:
        case Place::ndb: return {navaids_[p.index].lat, navaids_[p.index].lon};
        case Place::fix: break;
    }
    return {fixes_[p.index].lat, fixes_[p.index].lon};
}

const std::vector<const worlddata::AirwaySegment*>& NavDb::airway(const std::string& name) const {
    static const std::vector<const worlddata::AirwaySegment*> none;
    auto it = airways_.find(name);
    return it == airways_.end() ? none : it->second;
}

const worlddata::Navaid* NavDb::localizer(const std::string& airport, const std::string& runway) const {
    for (const auto& n : localizers_)
        if (n.airport == airport && n.runway == runway) return &n;
    return nullptr;
}

const worlddata::Navaid* NavDb::glide_slope(const std::string& airport, const std::string& runway) const {
    for (const auto& n : glide_slopes_)
        if (n.airport == airport && n.runway == runway) return &n;
    return nullptr;
}

double NavDb::variation_at(sim::LatLon p) const {
    const worlddata::Navaid* best = nullptr;
    double best_nm = 0;
    for (const auto& n : navaids_) {
        if (n.kind != worlddata::Navaid::vor) continue;
        const double d = sim::distance_nm(p, {n.lat, n.lon});
        if (!best || d < best_nm) best = &n, best_nm = d;
    }
    return best ? best->variation : 0.0;
}

}  // namespace planner
