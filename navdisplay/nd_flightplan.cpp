// The route from the flight plan the FMC publishes: the reader's side of the fltplanMap0 /
// fltplanMap1 hand-over, and the parsing of the departure, arrival and waypoint sections.
//
// The block is read-only and holds zero bytes inside it (the FMC ends every waypoint record with
// one), so every search and field read here is bounded by the view, never by a terminator.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "navdisplay/nd_state.h"
#include "platform/clock.h"
#include "platform/shared_block.h"

namespace nd {
namespace {

constexpr std::size_t kRecordStep = 105;
constexpr std::size_t kRecordEnd = 104;  // the byte after the record's CR; zero after the last

int expected_index = 0;
bool first_look = true;
plat::SharedView plan_view;

struct Text {
    const char* data;
    std::size_t size;
    // Position of key at or after from, or npos.
    std::size_t find(std::string_view key, std::size_t from, std::size_t limit) const {
        if (from >= limit) return std::string_view::npos;
        const std::size_t at = std::string_view(data + from, limit - from).find(key);
        return at == std::string_view::npos ? at : at + from;
    }
    char at(std::size_t i) const { return i < size ? data[i] : '\0'; }
};

// Characters from `from` until one of `stops`, a line end or the limit, at most n - 1 of them.
void scan_until(const Text& t, std::size_t from, std::size_t limit, const char* stops, char* out, std::size_t n) {
    std::size_t k = 0;
    for (std::size_t i = from; i < limit && k + 1 < n; ++i) {
        const char c = t.data[i];
        if (c == '\0' || c == '\n' || c == '\r' || std::strchr(stops, c)) break;
        out[k++] = c;
    }
    out[k] = '\0';
}

int scan_int(const Text& t, std::size_t from, std::size_t limit) {
    char digits[16];
    scan_until(t, from, limit, "/", digits, sizeof digits);
    return std::atoi(digits);
}

void parse_runway_section(const Text& t, std::size_t limit, std::string_view section, RunwayInfo& out) {
    out = RunwayInfo{};
    const std::size_t s = t.find(section, 0, limit);
    if (s == std::string_view::npos) return;
    const std::size_t a = t.find("AIRPORT=", s, limit);
    if (a == std::string_view::npos) return;
    scan_until(t, a + 8, limit, "", out.airport, sizeof out.airport);
    const std::size_t r = t.find("RUNWAY=", a, limit);
    if (r == std::string_view::npos) return;
    const std::size_t v = r + 7;
    scan_until(t, v, limit, "/", out.designator, sizeof out.designator);
    if (v + 3 >= limit || t.at(v + 3) != '/') return;
    const std::size_t h = v + 4;
    out.heading = scan_int(t, h, limit);
    if (h + 3 < limit && t.at(h + 3) == '/') out.length = scan_int(t, h + 4, limit);
}

// Hemisphere letter, then degrees, minutes and seconds at the given offsets of a 14-character field.
double coordinate(const char* record, int column, int deg, int min, int sec, char negative) {
    char f[15];
    std::memcpy(f, record + column, 14);
    f[14] = '\0';
    const double d = std::strtod(f + deg, nullptr), m = std::strtod(f + min, nullptr), s = std::strtod(f + sec, nullptr);
    const double v = d + (m + s / 60.0) / 60.0;
    return f[0] == negative ? -v : v;
}

NavRecord route_point(const char* r, bool first) {
    NavRecord p{};
    p.lat = static_cast<float>(coordinate(r, 46, 1, 4, 7, 'S'));
    p.lon = static_cast<float>(coordinate(r, 60, 1, 5, 8, 'W'));
    p.record = -1;
    std::memcpy(p.label, r + 5, 5);
    p.label[5] = '\0';
    const std::string_view type(r, 3);
    if (type == "VOR") p.kind = navsearch::kind_vor;
    else if (type == "NDB") p.kind = navsearch::kind_ndb;
    else if (type == "INT") p.kind = navsearch::kind_intersection;
    else if (type == "APT") p.kind = first ? navsearch::kind_departure : navsearch::kind_arrival;
    else if (type == "TOC" || type == "TOD") {
        p.kind = type == "TOC" ? navsearch::kind_top_of_climb : navsearch::kind_top_of_descent;
        std::snprintf(p.label, sizeof p.label, "FL%.3s%s", r + 75, type == "TOD" ? "D" : "");
    }
    p.present = 1;
    return p;
}

void parse_waypoints(const Text& t, std::size_t limit, Route& route) {
    route.points.fill(NavRecord{});
    const std::size_t w = t.find("[WAYPOINTS]", 0, limit);
    if (w == std::string_view::npos) return;
    std::size_t at = w + 11 + 2;
    for (std::size_t n = 0; n < route.points.size(); ++n, at += kRecordStep) {
        // A record cut off by the end of the block is not taken.
        if (at + kRecordEnd >= t.size) break;
        const char* r = t.data + at;
        route.points[n] = route_point(r, n == 0);
        if (r[kRecordEnd] == '\0') break;
    }
}

}  // namespace

void parse_plan(const char* text, std::size_t size, Route& route) {
    const Text t{text, size};
    // The section keys stand before the first zero byte, which ends the first waypoint record.
    const std::size_t limit = strnlen(text, size);
    parse_runway_section(t, limit, "[DEPARTURE]", route.departure);
    parse_runway_section(t, limit, "[ARRIVAL]", route.arrival);
    parse_waypoints(t, limit, route);
}

void check_flight_plan() {
    if (first_look) expected_index ^= 1;
    char name[16];
    std::snprintf(name, sizeof name, "fltplanMap%d", expected_index);
    auto block = plat::SharedBlock::open_existing(name);
    if (!block) return;
    first_look = false;
    expected_index ^= 1;
    plan_view.unmap();
    auto view = block->map(plat::Access::read_only);
    block->close();
    if (!view) return;
    plan_view = std::move(view).value();
    if (startup_delay_over()) state.redraw = true;
    state.route.departure = RunwayInfo{};
    state.route.arrival = RunwayInfo{};
    parse_plan(plan_view.as<const char>(), plan_view.size(), state.route);
}

void close_flight_plan() {
    plan_view.unmap();
    expected_index = 0;
    first_look = true;
}

}  // namespace nd
