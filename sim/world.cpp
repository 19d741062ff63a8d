#include "sim/world.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <mutex>

#include "sim/units.h"
#include "worlddata/world_data.h"

namespace sim {

namespace {

// Ranks candidates by a flat-earth distance, which orders them as the great circle does near the
// aircraft, at a fraction of the cost; longitudes are taken the short way round.
double rank(LatLon a, LatLon b) {
    const double dlat = b.lat - a.lat;
    const double dlon = wrap_180(b.lon - a.lon) * std::cos(a.lat * degrees_to_radians);
    return dlat * dlat + dlon * dlon;
}

constexpr double longest_runway_deg = 0.1;  // 6 NM of latitude

// The same rank of p from the nearest point of a runway between its two ends.
double rank_from_runway(LatLon p, const RunwayEnd& r) {
    const double k = std::cos(p.lat * degrees_to_radians);
    const double ax = wrap_180(r.threshold.lon - p.lon) * k, ay = r.threshold.lat - p.lat;
    const double bx = wrap_180(r.far_end.lon - p.lon) * k, by = r.far_end.lat - p.lat;
    const double dx = bx - ax, dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    // A "runway" longer than any real one is a damaged row: only its threshold counts.
    const double f = length2 > 0 && length2 < longest_runway_deg * longest_runway_deg
                         ? std::clamp(-(ax * dx + ay * dy) / length2, 0.0, 1.0)
                         : 0.0;
    const double x = ax + f * dx, y = ay + f * dy;
    return x * x + y * y;
}

template <typename T>
const T* nearest(const std::vector<T>& items, LatLon p) {
    const T* best = nullptr;
    double best_rank = 0;
    for (const T& item : items) {
        const double r = rank(p, item.at);
        if (!best || r < best_rank) best = &item, best_rank = r;
    }
    return best;
}

}  // namespace

World::World(std::vector<Vor> vors, std::vector<Field> fields, RadioStations radios, std::vector<RunwayEnd> runways)
    : vors_(std::move(vors)), fields_(std::move(fields)), radios_(std::move(radios)), runways_(std::move(runways)) {
    index_runways();
}

// A runway's rank from p is at least the square of p's latitude distance from the runway's band
// of latitude: the nearest point lies between its ends, or is its threshold when the runway is
// longer than any real one (which a band wider than that always is).
void World::index_runways() {
    by_south_.clear();
    for (std::size_t i = 0; i < runways_.size(); ++i) {
        const RunwayEnd& r = runways_[i];
        LatitudeBand b{std::min(r.threshold.lat, r.far_end.lat), std::max(r.threshold.lat, r.far_end.lat), i};
        if (b.north - b.south > longest_runway_deg) b.south = b.north = r.threshold.lat;
        widest_band_deg_ = std::max(widest_band_deg_, b.north - b.south);
        by_south_.push_back(b);
    }
    std::sort(by_south_.begin(), by_south_.end(),
              [](const LatitudeBand& a, const LatitudeBand& b) { return a.south < b.south; });
}

plat::Result<World> World::load(const std::string& dir) {
    worlddata::LoadOptions parts;
    parts.fixes_and_airways = false;
    auto data = worlddata::load_world_data(dir, parts);
    if (!data) return plat::Error{data.error()};
    const std::vector<worlddata::Navaid>& navaids = data->navaids;
    std::vector<Vor> vors;
    for (const auto& n : navaids)
        if (n.kind == worlddata::Navaid::vor) vors.push_back({{n.lat, n.lon}, n.variation});
    std::vector<Field> fields;
    std::vector<RunwayEnd> runways;
    const std::vector<worlddata::Airport>& airports = data->airports;
    for (const auto& a : airports) {
        fields.push_back({{a.lat, a.lon}, static_cast<double>(a.elevation_ft), a.icao});
        for (std::size_t i = 0; i + 1 < a.ends.size(); i += 2)
            for (std::size_t k = 0; k < 2; ++k) {
                const auto& from = a.ends[i + k];
                const auto& to = a.ends[i + 1 - k];
                const double width_m = i / 2 < a.surfaces.size() ? a.surfaces[i / 2].width_m : 0.0;
                RunwayEnd r{a.icao, from.designator, {from.lat, from.lon}, {to.lat, to.lon}, static_cast<double>(a.elevation_ft)};
                r.displaced_threshold_ft = from.displaced_threshold_m * feet_per_metre;
                if (width_m > 0) r.width_ft = width_m * feet_per_metre;
                runways.push_back(std::move(r));
            }
    }
    return World(std::move(vors), std::move(fields), RadioStations(navaids, airports), std::move(runways));
}

std::shared_ptr<const World> World::load_shared(const std::string& dir, std::string* error) {
    static std::mutex lock;
    static std::map<std::string, std::shared_ptr<const World>> loaded;
    std::lock_guard<std::mutex> hold(lock);
    if (auto it = loaded.find(dir); it != loaded.end()) return it->second;
    auto world = load(dir);
    if (!world) {
        if (error) *error = world.error();
        return nullptr;
    }
    auto shared = std::make_shared<const World>(std::move(world).value());
    loaded.emplace(dir, shared);
    return shared;
}

const RunwayEnd* World::runway(std::string_view airport, std::string_view designator) const {
    for (const RunwayEnd& r : runways_)
        if (r.airport == airport && r.designator == designator) return &r;
    return nullptr;
}

const RunwayEnd* World::runway_under(LatLon p, double heading_deg) const {
    constexpr double half_width_ft = 200.0;  // the paved strip and its shoulders, on the widest of the usual runways
    for (const RunwayEnd& r : runways_) {
        if (std::fabs(r.threshold.lat - p.lat) > 0.1) continue;
        if (std::fabs(wrap_180(r.heading_deg() - heading_deg)) > 30.0) continue;
        if (on_runway(r, p, std::max(half_width_ft, r.width_ft))) return &r;
    }
    return nullptr;
}

const RunwayEnd* World::runway_of_localizer(LatLon at, double course_deg) const {
    constexpr double aligned_deg = 3.0;
    constexpr double beyond_far_end_ft = 2.0 * feet_per_nm;  // antennas stand a few hundred metres out
    constexpr double off_centre_ft = 500.0;
    const RunwayEnd* best = nullptr;
    double best_off = off_centre_ft;
    for (const RunwayEnd& r : runways_) {
        if (std::fabs(r.threshold.lat - at.lat) > 0.1) continue;
        if (std::fabs(wrap_180(r.heading_deg() - course_deg)) > aligned_deg) continue;
        const RunwayPosition p = runway_position(r, at);
        const double beyond = p.past_threshold_ft - r.length_ft();
        if (beyond < -r.length_ft() / 2 || beyond > beyond_far_end_ft) continue;
        if (std::fabs(p.right_of_centre_ft) <= best_off) best = &r, best_off = std::fabs(p.right_of_centre_ft);
    }
    return best;
}

const World::Field* World::field(std::string_view icao) const {
    for (const Field& f : fields_)
        if (f.icao == icao) return &f;
    return nullptr;
}

double World::variation_at(LatLon p) const {
    const Vor* v = nearest(vors_, p);
    return v ? v->variation_deg : 0.0;
}

// The runways are visited outwards from p's latitude, by the south edge of their bands, until no
// band can hold a nearer one. Of equally near runways the first in the list counts.
double World::elevation_ft_at(LatLon p) const {
    if (std::isnan(p.lat) || std::isnan(p.lon)) return runways_.empty() ? 0.0 : runways_.front().elevation_ft;
    std::size_t best = runways_.size();
    double best_rank = 0;
    // Rounding in a rank is far below this many degrees; a runway is passed over only beyond it.
    constexpr double slack_deg = 1e-9;
    const auto beyond = [&](double off) { return best < runways_.size() && off > std::sqrt(best_rank) + slack_deg; };
    const auto consider = [&](const LatitudeBand& b) {
        if (beyond(std::max(b.south - p.lat, p.lat - b.north))) return;
        const double r_rank = rank_from_runway(p, runways_[b.runway]);
        if (best == runways_.size() || r_rank < best_rank || (r_rank == best_rank && b.runway < best))
            best = b.runway, best_rank = r_rank;
    };
    const auto start = std::lower_bound(by_south_.begin(), by_south_.end(), p.lat,
                                        [](const LatitudeBand& b, double lat) { return b.south < lat; });
    for (auto it = start; it != by_south_.end() && !beyond(it->south - p.lat); ++it) consider(*it);
    for (auto it = start; it != by_south_.begin() && !beyond(p.lat - std::prev(it)->south - widest_band_deg_); --it)
        consider(*std::prev(it));
    if (best < runways_.size()) return runways_[best].elevation_ft;
    const Field* f = nearest(fields_, p);
    return f ? f->elevation_ft : 0.0;
}

}  // namespace sim
