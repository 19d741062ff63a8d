#pragma once
// The world data the planner resolves a route against: airports with their runways, VORs, NDBs,
// fixes, and the airways as graphs of their segments. Names are looked up by identifier; the same
// identifier may stand for several places in the world.

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/result.h"
#include "sim/earth.h"
#include "worlddata/xplane.h"

namespace planner {

struct Place {
    enum Kind { airport, vor, ndb, fix };
    Kind kind;
    std::size_t index;  // into the list of its kind
};

class NavDb {
public:
    // The world data of dir: a world data folder, an X-Plane folder or a FlightGear data folder
    // (worlddata/world_files.h).
    static plat::Result<NavDb> load(const std::string& dir);
    NavDb(std::vector<worlddata::Airport> airports, std::vector<worlddata::Navaid> navaids, std::vector<worlddata::Fix> fixes,
          std::vector<worlddata::AirwaySegment> airways);

    const std::vector<Place>& places(const std::string& ident) const;
    sim::LatLon position(const Place& p) const;
    const worlddata::Airport& airport(const Place& p) const { return airports_[p.index]; }
    const std::vector<worlddata::Airport>& airports() const { return airports_; }
    const worlddata::Navaid& navaid(const Place& p) const { return navaids_[p.index]; }
    const worlddata::Fix& fix(const Place& p) const { return fixes_[p.index]; }
    // The segments of an airway; empty when there is no airway of that name.
    const std::vector<const worlddata::AirwaySegment*>& airway(const std::string& name) const;
    // The slaved variation of the VOR nearest to p (0 without VORs).
    double variation_at(sim::LatLon p) const;
    // The localizer of an airport's runway end ("KLAX", "24R"), as nav.dat names it; null without one.
    const worlddata::Navaid* localizer(const std::string& airport, const std::string& runway) const;
    // The glide slope of an airport's runway end; null without one.
    const worlddata::Navaid* glide_slope(const std::string& airport, const std::string& runway) const;

private:
    std::vector<worlddata::Airport> airports_;
    std::vector<worlddata::Navaid> navaids_;  // VORs and NDBs only
    std::vector<worlddata::Navaid> localizers_, glide_slopes_;
    std::vector<worlddata::Fix> fixes_;
    std::vector<worlddata::AirwaySegment> segments_;
    std::unordered_map<std::string, std::vector<Place>> by_ident_;
    std::unordered_map<std::string, std::vector<const worlddata::AirwaySegment*>> airways_;
};

}  // namespace planner
