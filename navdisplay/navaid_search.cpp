// The navaid search over the grid of the longitude-sorted index.
//
// The window is every record whose longitude lies at most D = 1.1 x range nautical miles west of
// the aircraft and less than D east; a candidate also lies less than D north or south. The first
// 600 candidates of a kind in index order are thinned to 50. Taking each kind strip by strip from
// the west, and within a strip merging its rows by index position, gives the candidates in index
// order, so a kind stops at its 600th without looking further east.

#include "navdisplay/navaid_search.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace navsearch {
namespace {

constexpr double kLatitudeUnitsPerDegree = 10001750.0 / 90.0;
constexpr double kLongitudeDegreesPerUnit = 1.2789770768341246e-12;

struct Candidates {
    std::size_t n = 0;
    const GridEntry* entry[kCandidates];
    bool add(const GridEntry& e) {
        if (n < kCandidates) entry[n++] = &e;
        return n < kCandidates;
    }
};

NavRecord make_record(const GridEntry& e) {
    NavRecord r{};
    r.lat = e.lat;
    r.lon = static_cast<float>(e.lon);
    r.record = e.number;
    r.kind = e.symbol_kind;
    r.present = 1;
    return r;
}

// At most 50 of the candidates, evenly spread over them in index order.
void thin(const Candidates& c, unsigned range, List& out) {
    const std::size_t s = c.n / kListSize + 1;
    std::size_t filled = 0;
    for (std::size_t i = 0; i < c.n && filled < out.size(); i += s) {
        // Localizers crowd the map at the long ranges.
        if (c.entry[i]->symbol_kind == kind_ils && range >= 30) continue;
        out[filled++] = make_record(*c.entry[i]);
    }
}

void thin_all(Candidates (&cand)[kKinds], unsigned range, Lists& out) {
    thin(cand[0], range, out.vor);
    thin(cand[1], range, out.ndb);
    thin(cand[2], range, out.apt);
    thin(cand[3], range, out.intx);
}

// Where the aircraft is and what counts as near it.
struct Area {
    double lat0, lon0, k, D;
    const char* ident;
    std::size_t ident_len;

    bool west_of(const GridEntry& e) const { return (lon0 - e.lon) * k > D; }
    bool east_of(const GridEntry& e) const { return !((e.lon - lon0) * k < D); }
    bool in_band(const GridEntry& e) const { return std::fabs(e.lat - lat0) * 60.0 < D; }
    bool in_window(const GridEntry& e) const { return !west_of(e) && !east_of(e); }
    bool tuned(const GridEntry& e) const { return ident_len > 0 && Grid::matches(e, ident, ident_len); }
};

// The work counted and the stop asked for as a search goes.
struct Progress {
    Work* work;
    const std::function<bool()>& stop;
    std::size_t looked = 0;
    bool stopped = false;

    void look() {
        if (work) ++work->records_read;
        if ((++looked & 255) == 0 && stop && stop()) stopped = true;
    }
};

// One row of a strip, from its next entry on.
struct RowCursor {
    const GridEntry* at;
    const GridEntry* end;
};

// The candidates of one kind in one strip, in index order. False once the kind is full or stopped.
bool take_strip(const std::vector<GridEntry>& entries, const std::array<std::uint32_t, kRows + 1>& row_start,
                int row_lo, int row_hi, const Area& a, Candidates& c, Progress& p) {
    RowCursor rows[kRows];
    int count = 0;
    for (int r = row_lo; r <= row_hi; ++r)
        if (row_start[r] < row_start[r + 1])
            rows[count++] = {entries.data() + row_start[r], entries.data() + row_start[r + 1]};
    // Each row's next entry that may still be a candidate: the ones west of the window pass by, and
    // the first east of it ends the row, as the row is in longitude order.
    auto settle = [&](RowCursor& row) {
        while (row.at != row.end) {
            p.look();
            if (a.east_of(*row.at)) {
                row.at = row.end;
            } else if (a.west_of(*row.at) || !a.in_band(*row.at)) {
                ++row.at;
            } else {
                return;
            }
        }
    };
    for (int i = 0; i < count; ++i) settle(rows[i]);
    for (;;) {
        if (p.stopped) return false;
        RowCursor* first = nullptr;
        for (int i = 0; i < count; ++i)
            if (rows[i].at != rows[i].end && (!first || rows[i].at->position < first->at->position)) first = &rows[i];
        if (!first) return true;
        const GridEntry& e = *first->at++;
        settle(*first);
        if (a.tuned(e)) continue;
        if (!c.add(e)) return false;
    }
}

// The tuned station: the last matching VOR of the window, in index order. Every strip of the window
// is read first, so none of them can hide it.
void find_tuned(const navdb::Database& db, Grid& grid, int strip_lo, int strip_hi, const Area& a, Lists& out,
                Progress& p) {
    for (int s = strip_lo; s <= strip_hi && !p.stopped; ++s) grid.strip(db, s, p.work);
    const GridEntry* last = nullptr;
    grid.for_each_matching_vor(a.ident, a.ident_len, [&](const GridEntry& e) {
        p.look();
        if (a.in_window(e) && a.in_band(e) && (!last || e.position > last->position)) last = &e;
    });
    if (last) out.tuned = make_record(*last);
}

}  // namespace

double latitude_degrees(double units) { return units / kLatitudeUnitsPerDegree; }

double longitude_degrees(double units) {
    double lon = units * kLongitudeDegreesPerUnit;
    if (lon >= 180.0) lon -= 360.0;
    return lon;
}

double east_west_scale(double lat) { return std::cos(lat * kPi / 180.0) * (kPi / 180.0) * kEarthRadiusNm; }

void search(const navdb::Database& db, Grid& grid, const Request& q, Lists& out, Work* work,
            const std::function<bool()>& stop) {
    out = Lists{};
    if (db.idx.record_count() == 0 || !std::isfinite(q.lat0) || !std::isfinite(q.lon0)) return;
    const double k = east_west_scale(q.lat0), D = q.range * 1.1;
    const Area a{q.lat0, q.lon0, k, D, q.nav1_ident, strnlen(q.nav1_ident, 5)};
    // The strips and rows that can hold the window's records; a margin keeps a record on an edge
    // from falling outside them by rounding. Near a pole the window takes every longitude.
    const double half = D / k, margin = 1e-6;
    const bool narrow = k > 0 && half < 360.0;
    const int strip_lo = narrow ? strip_of(q.lon0 - half - margin) : 0;
    const int strip_hi = narrow ? strip_of(q.lon0 + half + margin) : kStrips - 1;
    const int row_lo = row_of(q.lat0 - D / 60.0 - margin), row_hi = row_of(q.lat0 + D / 60.0 + margin);

    Progress p{work, stop};
    static thread_local Candidates cand[kKinds];
    for (int kind = 0; kind < kKinds; ++kind) {
        Candidates& c = cand[kind];
        c.n = 0;
        for (int s = strip_lo; s <= strip_hi; ++s) {
            const Strip& strip = grid.strip(db, s, work);
            if (!take_strip(strip.entries[kind], strip.row_start[kind], row_lo, row_hi, a, c, p)) break;
        }
    }
    if (a.ident_len > 0) find_tuned(db, grid, strip_lo, strip_hi, a, out, p);
    thin_all(cand, q.range, out);
}

void search_everything(const navdb::Database& db, const Request& q, Lists& out, Work* work) {
    out = Lists{};
    const std::size_t count = db.idx.record_count();
    const double k = east_west_scale(q.lat0), D = q.range * 1.1;
    const Area a{q.lat0, q.lon0, k, D, q.nav1_ident, strnlen(q.nav1_ident, 5)};
    // The records the window holds: at most D west and less than D east.
    std::size_t from = count, to = 0;
    for (std::size_t n = 0; n < count; ++n) {
        const double lon = navdb::field_number(db.idx.record(n), db.idx.record_length, navdb::kIdxLonColumn,
                                               navdb::kIdxLonWidth, 1e9);
        const double dx = (lon - q.lon0) * k;
        if (dx < D && -dx <= D) {
            from = std::min(from, n);
            to = n + 1;
        }
    }
    if (work) work->records_read += count + (to > from ? to - from : 0);
    static thread_local std::vector<GridEntry> read;
    read.clear();
    for (std::size_t n = from; n < to; ++n) read.push_back(read_index_entry(db, n));
    static thread_local Candidates cand[kKinds];
    for (auto& c : cand) c.n = 0;
    for (const GridEntry& e : read) {
        if (!a.in_band(e) || !e.listed) continue;
        if (a.tuned(e))
            out.tuned = make_record(e);
        else
            cand[kind_slot(e.kind)].add(e);
    }
    thin_all(cand, q.range, out);
}

}  // namespace navsearch
