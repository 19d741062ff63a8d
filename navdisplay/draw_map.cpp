// The map of the MAP and PLAN modes: the navaid lists, the tuned station with its course line,
// the route, the trail, the range label and the searching mark. Drawn while holding the lists
// lock, so a finishing search never replaces a list under the pen.

#include <cstdio>

#include "navdisplay/draw_tools.h"

namespace nd::draw {
namespace {

void draw_list(plat::Canvas& dc, SymbolPass& pass, navsearch::List& list) {
    for (NavRecord& r : list) {
        if (!r.present) break;
        draw_symbol(dc, pass, r);
    }
}

void draw_tuned_station(plat::Canvas& dc, SymbolPass& pass, NavRecord& r) {
    const Point p = draw_symbol(dc, pass, r);
    const double course = r.kind == navsearch::kind_ils ? 180.0 - localizer_course_of(r)
                                                        : -(value(kMagneticVariation) + value(kNav1Course));
    double t = course * kDegrees;
    // The station's own position is already turned with the map; its line turns with it.
    if (pass.projection->turn) t += pass.projection->t;
    const int H = state.geo.H;
    const Point a = rotate({p.x, p.y - H}, p.x, p.y, t);
    const Point b = rotate({p.x, p.y + H}, p.x, p.y, t);
    dc.select_pen(plat::Pen::dotted(surface_colour(3)));
    line(dc, a, b);
}

void draw_route(plat::Canvas& dc, SymbolPass& pass) {
    auto& points = state.route.points;
    if (!points[0].present) {
        const int W = state.geo.W, H = state.geo.H;
        const unsigned align = plat::text_align::center | plat::text_align::top;
        text(dc, fonts.f11, kRed, align, W / 2, H / 2 - 10, "NO ROUTE");
        text(dc, fonts.f11, kRed, align, W / 2, H / 2, "AVAILABLE");
        return;
    }
    Point from = draw_symbol(dc, pass, points[0]);
    for (std::size_t i = 1; i < points.size() && points[i].present; ++i) {
        const Point to = draw_symbol(dc, pass, points[i]);
        use_slot(dc, 8);
        line(dc, from, to);
        from = to;
    }
}

// Newest first: the entry after the write index, round the ring to the write index itself.
void draw_trail(plat::Canvas& dc, const Projection& proj) {
    use_slot(dc, 1);
    Point from{state.geo.cx, state.geo.cy};
    for (int n = 1; n <= kTrailSize; ++n) {
        TrailEntry& e = shared.trail[static_cast<std::size_t>((shared.trail_index + n) % kTrailSize)];
        if (e.lat == 0 && e.lon == 0) break;
        const Point to = project(proj, e.lat, e.lon);
        e.x = to.x;
        e.y = to.y;
        line(dc, from, to);
        from = to;
    }
}

void draw_range_mark(plat::Canvas& dc) {
    const Geometry& g = state.geo;
    char range[16];
    std::snprintf(range, sizeof range, "%d", static_cast<int>(state.sel.range / 2));
    text(dc, fonts.f9, surface_colour(14), plat::text_align::right | plat::text_align::baseline, g.cx - 5,
         g.cy - g.R / 2 + 4, range);
    use_slot(dc, 14);
    line(dc, {g.cx - 3, g.cy - g.R / 2}, {g.cx + 4, g.cy - g.R / 2});
}

}  // namespace

void draw_map(plat::Canvas& dc) {
    dc.select_font(fonts.f9);
    dc.set_text_align(plat::text_align::left | plat::text_align::baseline);
    {
        plat::LockGuard hold(lists_lock);
        const Projection proj = make_projection(shared.east_west_scale);
        SymbolPass pass{&proj};
        navsearch::Lists& lists = shared.lists;
        const unsigned items = state.sel.items;
        if (items & ndblock::kItemVor) draw_list(dc, pass, lists.vor);
        if (lists.tuned.present) draw_tuned_station(dc, pass, lists.tuned);
        if (items & ndblock::kItemNdb) draw_list(dc, pass, lists.ndb);
        if (items & ndblock::kItemAirports) {
            pass.last_airport[0] = '\0';
            draw_list(dc, pass, lists.apt);
        }
        if (items & ndblock::kItemIntersections) draw_list(dc, pass, lists.intx);
        if (items & ndblock::kItemRoute) {
            draw_route(dc, pass);
            draw_trail(dc, proj);
        }
    }
    draw_range_mark(dc);
    if (state.searching) {
        use_slot(dc, 10);
        line(dc, {state.geo.W - 12, state.geo.H - 1}, {state.geo.W, state.geo.H - 1});
    }
}

}  // namespace nd::draw
