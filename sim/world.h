#pragma once
// What the aircraft needs of the world data: the slaved magnetic variation of the nearest VOR, the
// elevation of the nearest airport, the radio stations its receivers hear and the runways it lands
// on. Loaded once from the X-Plane-format files and shared.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "sim/earth.h"
#include "sim/radio_stations.h"
#include "sim/runway.h"

namespace sim {

class World {
public:
    struct Vor {
        LatLon at;
        double variation_deg;  // east positive
    };
    struct Field {
        LatLon at;
        double elevation_ft;
        std::string icao;
    };

    World() = default;
    World(std::vector<Vor> vors, std::vector<Field> fields, RadioStations radios = {}, std::vector<RunwayEnd> runways = {});
    // The navaids and airports of dir, any source worlddata::find_world_files takes; an error names
    // the missing or unreadable file.
    static plat::Result<World> load(const std::string& dir);
    // The same, loaded once per folder for the whole process.
    static std::shared_ptr<const World> load_shared(const std::string& dir, std::string* error = nullptr);

    // 0 when there is no VOR at all.
    double variation_at(LatLon p) const;
    // The elevation of the airport whose runway lies nearest (so that on the final approach it is
    // the runway's own, however large its airport and whatever strips lie closer to its middle);
    // without runways, of the nearest airport; 0 (sea level) when there is no airport at all.
    double elevation_ft_at(LatLon p) const;
    std::size_t vor_count() const { return vors_.size(); }
    std::size_t field_count() const { return fields_.size(); }
    const RadioStations& radios() const { return radios_; }
    // Both ends of every land runway.
    const std::vector<RunwayEnd>& runways() const { return runways_; }
    const RunwayEnd* runway(std::string_view airport, std::string_view designator) const;
    // The runway end p lies on, landing within 30 degrees of heading; null when none.
    const RunwayEnd* runway_under(LatLon p, double heading_deg) const;
    // The runway end a localizer serves: its antenna (at) beyond the far end, on the extended centre
    // line, and its course (true) the runway's; null for one that is not lined up with a runway.
    const RunwayEnd* runway_of_localizer(LatLon at, double course_deg) const;
    const Field* field(std::string_view icao) const;

private:
    // The latitudes a runway's nearest point to anywhere can have, and the runway's index.
    struct LatitudeBand {
        double south, north;
        std::size_t runway;
    };
    void index_runways();

    std::vector<Vor> vors_;
    std::vector<Field> fields_;
    RadioStations radios_;
    std::vector<RunwayEnd> runways_;
    std::vector<LatitudeBand> by_south_;  // sorted by south
    double widest_band_deg_ = 0;
};

}  // namespace sim
