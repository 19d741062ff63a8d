#include "reports/track_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "platform/canvas/canvas.h"
#include "platform/canvas/png_file.h"
#include "sim/units.h"

namespace reports {

namespace {

constexpr int margin = 40;
constexpr plat::ColorRef background = plat::rgb(12, 20, 36);
constexpr plat::ColorRef grid = plat::rgb(40, 56, 80);
constexpr plat::ColorRef route_colour = plat::rgb(40, 220, 90);
constexpr plat::ColorRef track_colour = plat::rgb(250, 250, 250);
constexpr plat::ColorRef label_colour = plat::rgb(200, 240, 200);

// Maps unwrapped degrees to pixels: one scale for both axes, longitudes shrunk by cos(mid latitude).
struct Projection {
    double lon0 = 0;  // unwrapping reference
    double min_lat = 0, max_lat = 0, min_lon = 0, max_lon = 0;
    double squeeze = 1, scale = 1;
    int width = 0, height = 0;
    int left = 0, top = 0;  // where the picture's area starts on the bitmap

    double unwrap(double lon) const {
        double l = lon;
        while (l - lon0 > 180) l -= 360;
        while (l - lon0 < -180) l += 360;
        return l;
    }
    void include(sim::LatLon p) {
        const double lon = unwrap(p.lon);
        min_lat = std::min(min_lat, p.lat), max_lat = std::max(max_lat, p.lat);
        min_lon = std::min(min_lon, lon), max_lon = std::max(max_lon, lon);
    }
    void fit(int w, int h) {
        width = w, height = h;
        squeeze = std::max(0.05, std::cos((min_lat + max_lat) / 2 * sim::degrees_to_radians));
        const double span_x = std::max(0.01, (max_lon - min_lon) * squeeze);
        const double span_y = std::max(0.01, max_lat - min_lat);
        scale = std::min((w - 2 * margin) / span_x, (h - 2 * margin) / span_y);
    }
    plat::Point at(sim::LatLon p) const {
        const double cx = (min_lon + max_lon) / 2, cy = (min_lat + max_lat) / 2;
        const double x = left + width / 2.0 + (unwrap(p.lon) - cx) * squeeze * scale;
        const double y = top + height / 2.0 - (p.lat - cy) * scale;
        return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
    }
};

Projection project(const std::vector<planner::RoutePoint>& route, const std::vector<FlightSample>& track, int size) {
    Projection p;
    const sim::LatLon first = !route.empty() ? route.front().at : !track.empty() ? track.front().position : sim::LatLon{};
    p.lon0 = first.lon;
    p.min_lat = p.max_lat = first.lat;
    p.min_lon = p.max_lon = first.lon;
    for (const auto& r : route) p.include(r.at);
    for (const auto& s : track) p.include(s.position);
    p.fit(size, size);
    return p;
}

double grid_step(double span) {
    for (double step : {0.1, 0.25, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0})
        if (span / step <= 10) return step;
    return 30.0;
}

void draw_graticule(plat::Canvas& c, const Projection& p, const std::shared_ptr<plat::Font>& font) {
    c.select_pen(plat::Pen::dotted(grid));
    const double lat_half = (p.height / 2.0) / p.scale, lon_half = (p.width / 2.0) / (p.scale * p.squeeze);
    const double cy = (p.min_lat + p.max_lat) / 2, cx = (p.min_lon + p.max_lon) / 2;
    const double step = grid_step(std::max(2 * lat_half, 2 * lon_half * p.squeeze));
    char label[32];
    for (double lat = std::ceil((cy - lat_half) / step) * step; lat <= cy + lat_half; lat += step) {
        const plat::Point a = p.at({lat, cx - lon_half}), b = p.at({lat, cx + lon_half});
        c.move_to(0, a.y);
        c.line_to(p.width, b.y);
        if (font) {
            std::snprintf(label, sizeof label, "%.2f%c", std::fabs(lat), lat < 0 ? 'S' : 'N');
            c.text_out(2, a.y + 1, label);
        }
    }
    for (double lon = std::ceil((cx - lon_half) / step) * step; lon <= cx + lon_half; lon += step) {
        const plat::Point a = p.at({cy, lon});
        c.move_to(a.x, 0);
        c.line_to(a.x, p.height);
        if (font) {
            double shown = lon;
            while (shown > 180) shown -= 360;
            while (shown < -180) shown += 360;
            std::snprintf(label, sizeof label, "%.2f%c", std::fabs(shown), shown < 0 ? 'W' : 'E');
            c.text_out(a.x + 2, p.height - 14, label);
        }
    }
}

void draw_route(plat::Canvas& c, const Projection& p, const std::vector<planner::RoutePoint>& route,
                const std::shared_ptr<plat::Font>& font) {
    c.select_pen(plat::Pen::solid(route_colour));
    for (std::size_t i = 1; i < route.size(); ++i) {
        // Long legs bend along their great circle; draw them in pieces.
        const sim::LatLon a = route[i - 1].at, b = route[i].at;
        const int pieces = std::clamp(static_cast<int>(sim::distance_nm(a, b) / 50.0), 1, 100);
        plat::Point from = p.at(a);
        for (int k = 1; k <= pieces; ++k) {
            const plat::Point to = p.at(sim::between(a, b, static_cast<double>(k) / pieces));
            c.move_to(from.x, from.y);
            c.line_to(to.x, to.y);
            from = to;
        }
    }
    c.set_text_color(label_colour);
    for (const auto& r : route) {
        const plat::Point q = p.at(r.at);
        c.select_brush(plat::Brush::solid(background));
        c.rectangle({q.x - 3, q.y - 3, q.x + 4, q.y + 4});
        if (font) c.text_out(q.x + 6, q.y - 6, r.ident == "*****" ? r.type : r.ident);
    }
}

void draw_flown(plat::Canvas& c, const Projection& p, const std::vector<FlightSample>& track) {
    if (track.empty()) return;
    c.select_pen(plat::Pen::solid(track_colour));
    plat::Point from = p.at(track.front().position);
    for (const auto& s : track) {
        const plat::Point to = p.at(s.position);
        if (to == from) continue;
        c.move_to(from.x, from.y);
        c.line_to(to.x, to.y);
        from = to;
    }
    c.set_pixel(from.x, from.y, track_colour);
    const plat::Point start = p.at(track.front().position), end = p.at(track.back().position);
    c.select_pen(plat::Pen::none());
    c.select_brush(plat::Brush::solid(plat::rgb(60, 140, 255)));
    c.ellipse({start.x - 5, start.y - 5, start.x + 6, start.y + 6});
    c.select_brush(plat::Brush::solid(plat::rgb(255, 60, 60)));
    c.ellipse({end.x - 5, end.y - 5, end.x + 6, end.y + 6});
}

constexpr int inset_size = 300;
constexpr plat::ColorRef runway_colour = plat::rgb(170, 170, 170);

// The samples of the last distance_nm flown, in order.
std::vector<FlightSample> last_stretch(const std::vector<FlightSample>& track, double distance_nm_wanted) {
    std::size_t first = track.size();
    double flown = 0;
    while (first > 0) {
        --first;
        if (first + 1 < track.size()) flown += distance_nm(track[first].position, track[first + 1].position);
        if (flown >= distance_nm_wanted) break;
    }
    return {track.begin() + static_cast<std::ptrdiff_t>(first), track.end()};
}

void draw_runway(plat::Canvas& c, const Projection& p, const sim::RunwayEnd& r, const std::shared_ptr<plat::Font>& font) {
    const plat::Point a = p.at(r.threshold), b = p.at(r.far_end);
    // Wide enough to see: the runway's width in pixels, three at the least.
    const double width_px = std::max(3.0, 150.0 / sim::feet_per_nm / 60.0 * p.scale);
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::max(1.0, std::hypot(dx, dy));
    const double nx = -dy / len, ny = dx / len;
    c.select_pen(plat::Pen::solid(runway_colour));
    for (double k = -width_px / 2; k <= width_px / 2; k += 0.5) {
        const int ox = static_cast<int>(std::lround(nx * k)), oy = static_cast<int>(std::lround(ny * k));
        c.move_to(a.x + ox, a.y + oy);
        c.line_to(b.x + ox, b.y + oy);
    }
    if (font) {
        c.set_text_color(runway_colour);
        c.text_out(a.x - static_cast<int>(dx / len * 14) - 8, a.y - static_cast<int>(dy / len * 14) - 6, r.designator);
    }
}

// The corner of the picture the inset hides least of the route and the track in (the lower right
// when it is a tie); the box reaches the picture's edges so that no label shows half under it.
plat::Rect inset_box(const Projection& p, const std::vector<planner::RoutePoint>& route,
                     const std::vector<FlightSample>& track) {
    const int far = track_picture_size - inset_size;
    const std::array<plat::Point, 4> corners{{{far, far}, {far, 0}, {0, far}, {0, 0}}};
    plat::Rect best{};
    int fewest = -1;
    for (const plat::Point& k : corners) {
        const plat::Rect box{k.x, k.y, k.x + inset_size, k.y + inset_size};
        auto inside = [&](sim::LatLon at) {
            const plat::Point q = p.at(at);
            return q.x >= box.left && q.x < box.right && q.y >= box.top && q.y < box.bottom;
        };
        int hidden = 0;
        for (const auto& r : route) hidden += inside(r.at) ? 10 : 0;  // a waypoint and its label
        for (const auto& s : track) hidden += inside(s.position);
        if (fewest < 0 || hidden < fewest) fewest = hidden, best = box;
    }
    return best;
}

void draw_inset(plat::Canvas& c, const plat::Rect& box, const std::vector<FlightSample>& track, const sim::World& world,
                const std::shared_ptr<plat::Font>& font) {
    const std::vector<FlightSample> stretch = last_stretch(track, track_inset_nm);
    if (stretch.size() < 2) return;
    Projection p;
    const sim::LatLon end = stretch.back().position;
    p.lon0 = end.lon;
    p.min_lat = p.max_lat = end.lat;
    p.min_lon = p.max_lon = end.lon;
    for (const auto& s : stretch) p.include(s.position);
    // A square of at least the inset's distance, so the scale says how far 15 NM is.
    const double half_lat = track_inset_nm / 60.0 / 2;
    const double mid_lat = (p.min_lat + p.max_lat) / 2;
    p.include({mid_lat - half_lat, p.min_lon}), p.include({mid_lat + half_lat, p.max_lon});
    p.fit(inset_size, inset_size);
    p.left = box.left, p.top = box.top;
    c.select_pen(plat::Pen::solid(grid));
    c.select_brush(plat::Brush::solid(background));
    c.rectangle(box);
    c.select_clip(plat::Region(box));
    for (const sim::RunwayEnd& r : world.runways()) {
        if (std::fabs(r.threshold.lat - end.lat) > 0.5) continue;
        const plat::Point a = p.at(r.threshold);
        if (a.x < box.left - 50 || a.x > box.right + 50 || a.y < box.top - 50 || a.y > box.bottom + 50) continue;
        draw_runway(c, p, r, font);
    }
    draw_flown(c, p, stretch);
    c.clear_clip();
    if (font) {
        c.set_text_color(track_colour);
        c.text_out(box.left + 6, box.top + 4, "last 15 NM");
    }
}

}  // namespace

plat::Bitmap draw_track(const std::vector<planner::RoutePoint>& route, const std::vector<FlightSample>& track,
                        const sim::World* world) {
    plat::Bitmap picture(track_picture_size, track_picture_size, plat::PixelFormat::xrgb32);
    plat::Canvas c(picture);
    c.fill_rect(picture.bounds(), background);
    const auto font = plat::Font::open({"Arial", -11, 400});
    c.select_font(font);
    c.set_bk_mode(plat::BkMode::transparent);
    c.set_text_color(grid);
    const Projection p = project(route, track, track_picture_size);
    draw_graticule(c, p, font);
    draw_route(c, p, route, font);
    draw_flown(c, p, track);
    if (font) {
        c.set_text_color(track_colour);
        c.text_out(8, 6, route.empty() ? "flown track (no flight plan loaded)" : "flown track over the plan's route");
    }
    if (world) draw_inset(c, inset_box(p, route, track), track, *world, font);
    return picture;
}

std::optional<plat::Error> write_track_png(const std::string& path, const std::vector<planner::RoutePoint>& route,
                                           const std::vector<FlightSample>& track, const sim::World* world) {
    return plat::write_png(path, draw_track(route, track, world));
}

}  // namespace reports
