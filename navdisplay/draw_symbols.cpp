// The symbol and label of one navaid, airport runway, intersection or route point.

#include <cstdio>
#include <cstring>

#include "navdisplay/draw_tools.h"
#include "surface/display_surface.h"

namespace nd::draw {
namespace {

constexpr unsigned kLabelAlign = plat::text_align::left | plat::text_align::baseline;
constexpr double kFeetToPixels = 0.0002822466836014677;

// The data record a navaid of this kind was listed from, or null.
const navdb::DataFile* data_file(std::int32_t kind) {
    switch (kind) {
        case navsearch::kind_vor:
        case navsearch::kind_ils:
        case navsearch::kind_dme: return &state.db.vor;
        case navsearch::kind_ndb: return &state.db.ndb;
        case navsearch::kind_airport: return &state.db.apt;
        case navsearch::kind_intersection: return &state.db.intx;
        default: return nullptr;
    }
}

struct Source {
    const char* record = nullptr;
    std::size_t length = 0;
};

Source source_of(const NavRecord& r) {
    const navdb::DataFile* f = data_file(r.kind);
    if (!f || r.record < 0) return {};
    return {f->record(static_cast<std::size_t>(r.record)), f->record_length};
}

// The identifier from the data file (blanks after it dropped), or the route point's own label.
void label_of(const NavRecord& r, const Source& src, char* out, std::size_t n) {
    if (r.record < 0) {
        std::snprintf(out, n, "%.*s", static_cast<int>(strnlen(r.label, sizeof r.label)), r.label);
    } else {
        navdb::field(src.record, src.length, navdb::kIdentColumn, navdb::kIdentWidth, out, n);
    }
    for (std::size_t len = std::strlen(out); len > 0 && out[len - 1] == ' '; --len) out[len - 1] = '\0';
}

void label(plat::Canvas& dc, int slot, int x, int y, const char* s) {
    text(dc, fonts.f9, surface_colour(slot), kLabelAlign, x, y, s);
}

// A runway line through the point, `half` pixels each way, turned to the runway's heading.
// Returns the two ends: first the one that started above the point.
std::pair<Point, Point> runway_line(plat::Canvas& dc, Point p, int half, int heading) {
    const double a = (180.0 - heading) * kDegrees;
    const Point a_end = rotate({p.x, p.y - half}, p.x, p.y, a);
    const Point b_end = rotate({p.x, p.y + half}, p.x, p.y, a);
    use_slot(dc, 15);
    line(dc, a_end, b_end);
    return {a_end, b_end};
}

unsigned end_align(bool above) {
    return plat::text_align::center | (above ? plat::text_align::bottom : plat::text_align::top);
}

void draw_airport(plat::Canvas& dc, SymbolPass& pass, const NavRecord& r, const Source& src, Point p) {
    const double s = pass.projection->s;
    // A damaged record may hold "inf" or "nan" in these columns: trunc_int takes any double.
    const int length = trunc_int(navdb::field_number(src.record, src.length, navdb::kRunwayLengthColumn,
                                                     navdb::kRunwayLengthWidth));
    const int heading = trunc_int(navdb::field_number(src.record, src.length, navdb::kRunwayHeadingColumn,
                                                      navdb::kRunwayHeadingWidth));
    const auto [first, second] = runway_line(dc, p, trunc_int(length * kFeetToPixels * s * 0.5), heading);
    char id[8];
    label_of(r, src, id, sizeof id);
    // Each runway of an airport has its own record; the name is written once.
    if (std::strcmp(id, pass.last_airport) != 0) {
        label(dc, 15, p.x + 3, p.y - 2, id);
        std::snprintf(pass.last_airport, sizeof pass.last_airport, "%s", id);
    }
    if (state.sel.range >= 20) return;
    char end1[4], end2[4];
    navdb::field(src.record, src.length, navdb::kRunwayEnd1Column, navdb::kRunwayEndWidth, end1, sizeof end1);
    navdb::field(src.record, src.length, navdb::kRunwayEnd2Column, navdb::kRunwayEndWidth, end2, sizeof end2);
    const bool first_above = first.y < second.y;
    text(dc, fonts.f7, surface_colour(15), end_align(first_above), first.x, first.y, end1);
    text(dc, fonts.f7, surface_colour(15), end_align(!first_above), second.x, second.y, end2);
}

void draw_plan_airport(plat::Canvas& dc, SymbolPass& pass, const NavRecord& r, Point p) {
    const RunwayInfo& rw = r.kind == navsearch::kind_departure ? state.route.departure : state.route.arrival;
    const auto [first, second] = runway_line(dc, p, trunc_int(rw.length * kFeetToPixels * pass.projection->s * 0.5),
                                             rw.heading);
    char id[8];
    label_of(r, {}, id, sizeof id);
    label(dc, 15, p.x + 3, p.y - 2, id);
    text(dc, fonts.f7, surface_colour(15), end_align(first.y < second.y), first.x, first.y, rw.designator);
}

int localizer_course(const Source& src) {
    return trunc_int(navdb::field_number(src.record, src.length, navdb::kLocCourseColumn, navdb::kLocCourseWidth));
}

void draw_localizer(plat::Canvas& dc, const NavRecord& r, const Source& src, Point p) {
    const double a = (180.0 - localizer_course(src)) * kDegrees;
    use_slot(dc, 6);
    rotated_polyline(dc, {{p.x, p.y}, {p.x - 3, p.y - 15}, {p.x + 3, p.y - 15}, {p.x, p.y}}, p.x, p.y, a);
    const Point c = rotate({p.x + 3, p.y - 15}, p.x, p.y, a);
    char id[8];
    label_of(r, src, id, sizeof id);
    const unsigned side = p.y < c.y ? plat::text_align::right : plat::text_align::left;
    text(dc, fonts.f9, surface_colour(6), side | plat::text_align::baseline, c.x + 2, c.y - 2, id);
}

}  // namespace

Point draw_symbol(plat::Canvas& dc, SymbolPass& pass, NavRecord& r) {
    const Point p = project(*pass.projection, r.lat, r.lon);
    if (r.kind <= 0 || r.kind > navsearch::kind_arrival || !visible(p.y)) return p;
    const Source src = source_of(r);
    char id[8];
    switch (r.kind) {
        case navsearch::kind_vor:
        case navsearch::kind_dme:
            use_slot(dc, 3);
            circle(dc, p.x, p.y, 3);
            label_of(r, src, id, sizeof id);
            label(dc, 3, p.x + 3, p.y - 2, id);
            break;
        case navsearch::kind_ils: draw_localizer(dc, r, src, p); break;
        case navsearch::kind_ndb:
            use_slot(dc, 12);
            circle(dc, p.x, p.y, 3);
            label_of(r, src, id, sizeof id);
            label(dc, 12, p.x + 3, p.y - 2, id);
            break;
        case navsearch::kind_airport: draw_airport(dc, pass, r, src, p); break;
        case navsearch::kind_intersection:
            use_slot(dc, 0);
            polyline(dc, {{p.x, p.y - 2}, {p.x - 2, p.y + 2}, {p.x + 2, p.y + 2}, {p.x, p.y - 2}});
            label_of(r, src, id, sizeof id);
            label(dc, 0, p.x + 3, p.y - 2, id);
            break;
        case navsearch::kind_top_of_climb:
        case navsearch::kind_top_of_descent:
            use_slot(dc, 8);
            dc.select_brush(surface::SurfaceBrush(8));
            dc.ellipse({p.x - 3, p.y - 3, p.x + 3, p.y + 3});
            label_of(r, src, id, sizeof id);
            label(dc, 8, p.x + 3, p.y - 2, id);
            break;
        default: draw_plan_airport(dc, pass, r, p); break;
    }
    return p;
}

int localizer_course_of(const NavRecord& r) { return localizer_course(source_of(r)); }

}  // namespace nd::draw
