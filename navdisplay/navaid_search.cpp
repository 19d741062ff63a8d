// The navaid search over the longitude-sorted index.
//
// The window [start, end) settles on the records whose longitude lies less than D = 1.1 x range
// nautical miles west or east of the aircraft. Its east end may stand one past the last record,
// so the easternmost record of the index is scanned like any other, and narrowing the east end
// stops at the first record that is D or farther east, so the last record within D stays inside.

#include "navdisplay/navaid_search.h"

#include <cmath>
#include <cstring>

namespace navsearch {
namespace {

constexpr double kLatitudeUnitsPerDegree = 10001750.0 / 90.0;
constexpr double kLongitudeDegreesPerUnit = 1.2789770768341246e-12;

struct Index {
    const navdb::DataFile& file;
    std::size_t count;
    Work* work;

    const char* at(std::size_t n) const {
        if (work) ++work->records_read;
        return file.record(n);
    }
    // An unreadable record reads as lying on the aircraft, so the window neither stops on it
    // nor lists it (its kind letter is blank).
    double lon(std::size_t n, double fallback) const {
        return navdb::field_number(at(n), file.record_length, navdb::kIdxLonColumn, navdb::kIdxLonWidth, fallback);
    }
};

struct Candidates {
    std::size_t n = 0;
    std::size_t index[kCandidates];
    void add(std::size_t i) {
        if (n < kCandidates) index[n++] = i;
    }
};

void move_window(const Index& idx, Window& w, double lon0, double k, double D) {
    const std::size_t last = idx.count - 1;
    if (w.start > last) w.start = last;
    if (w.end > idx.count) w.end = idx.count;
    // Across the date line the aircraft leaves one end of the index for the other.
    if (w.end >= last && lon0 < -170.0) w.start = w.end = 0;
    if (w.start == 0 && lon0 > 170.0) w.start = w.end = last;
    // A fresh window walks in from the start in strides; afterwards it moves record by record.
    const std::size_t step = (w.start == 0 && w.end == 0) ? 10 : 1;

    while (w.start > 0) {
        --w.start;
        if (w.start == 0) break;
        if ((lon0 - idx.lon(w.start - 1, lon0)) * k >= D) break;
    }
    for (;;) {
        if ((lon0 - idx.lon(w.start, lon0)) * k <= D) break;
        if (w.start >= last) {
            w.start = last;
            break;
        }
        w.start = std::min(w.start + step, last);
    }
    if (step == 10) w.end = w.start;
    for (;;) {
        if (w.end >= idx.count) {
            w.end = idx.count;
            break;
        }
        if (!((idx.lon(w.end, lon0) - lon0) * k < D)) break;
        w.end = std::min(w.end + step, idx.count);
    }
    while (w.end > 0 && (idx.lon(w.end - 1, lon0) - lon0) * k > D) --w.end;
}

// The identifier matches the station's when it is the whole of the station's identifier column.
bool is_tuned_station(const navdb::Database& db, long number, const char* ident, std::size_t len) {
    if (number < 0) return false;
    const char* r = db.vor.record(static_cast<std::size_t>(number));
    if (!r || db.vor.record_length <= navdb::kIdentWidth) return false;
    if (std::memcmp(r, ident, len) != 0) return false;
    return len >= navdb::kIdentWidth || r[len] == ' ';
}

struct IndexEntry {
    float lat = 0, lon = 0;
    long number = -1;
    char kind = ' ';
};

// The data-file record number an index record gives. A number no data file could reach (beyond a
// billion, infinite, not a number) is no record rather than an undefined conversion.
long record_number(double v) { return v > -1.0 && v < 1e9 ? static_cast<long>(v) : -1; }

IndexEntry read_entry(const Index& idx, std::size_t n) {
    IndexEntry e;
    const char* r = idx.at(n);
    if (!r) return e;
    const std::size_t len = idx.file.record_length;
    e.lon = static_cast<float>(navdb::field_number(r, len, navdb::kIdxLonColumn, navdb::kIdxLonWidth));
    e.lat = static_cast<float>(navdb::field_number(r, len, navdb::kIdxLatColumn, navdb::kIdxLatWidth));
    e.number = record_number(navdb::field_number(r, len, navdb::kIdxRecordColumn, navdb::kIdxRecordWidth, -1));
    e.kind = navdb::field_char(r, len, navdb::kIdxKindColumn);
    return e;
}

// A candidate whose record number lies outside its data file is not a navaid.
bool record_exists(const navdb::Database& db, const IndexEntry& e) {
    const navdb::DataFile* f = navdb::file_of_kind(db, e.kind);
    return f && e.number >= 0 && f->record(static_cast<std::size_t>(e.number)) != nullptr;
}

std::int32_t vor_kind(const navdb::Database& db, long number) {
    const char* r = db.vor.record(static_cast<std::size_t>(number));
    switch (navdb::field_char(r, db.vor.record_length, navdb::kVorKindColumn)) {
        case 'V': return kind_vor;
        case 'I': return kind_ils;
        case 'D': return kind_dme;
        default: return kind_none;
    }
}

NavRecord make_record(const IndexEntry& e, std::int32_t kind) {
    NavRecord r{};
    r.lat = e.lat;
    r.lon = e.lon;
    r.record = static_cast<std::int32_t>(e.number);
    r.kind = kind;
    r.present = 1;
    return r;
}

// At most 50 of the candidates, evenly spread over them in index order.
void thin(const navdb::Database& db, const Index& idx, const Candidates& c, std::int32_t kind, bool is_vor,
          unsigned range, List& out) {
    const std::size_t s = c.n / kListSize + 1;
    std::size_t filled = 0;
    for (std::size_t i = 0; i < c.n && filled < out.size(); i += s) {
        const IndexEntry e = read_entry(idx, c.index[i]);
        std::int32_t k = kind;
        if (is_vor) {
            k = vor_kind(db, e.number);
            // Localizers crowd the map at the long ranges.
            if (k == kind_ils && range >= 30) continue;
        }
        out[filled++] = make_record(e, k);
    }
}

void gather(const navdb::Database& db, const Index& idx, std::size_t from, std::size_t to, const Request& q,
            double D, Lists& out, Candidates (&cand)[4], const std::function<bool()>& stop) {
    const std::size_t ident_len = strnlen(q.nav1_ident, 5);
    for (std::size_t n = from; n < to; ++n) {
        if (stop && (n & 255) == 0 && stop()) return;
        const IndexEntry e = read_entry(idx, n);
        if (!(std::fabs(e.lat - q.lat0) * 60.0 < D)) continue;
        if (!record_exists(db, e)) continue;
        switch (e.kind) {
            case 'V':
                if (ident_len > 0 && is_tuned_station(db, e.number, q.nav1_ident, ident_len))
                    out.tuned = make_record(e, vor_kind(db, e.number));
                else
                    cand[0].add(n);
                break;
            case 'N': cand[1].add(n); break;
            case 'A': cand[2].add(n); break;
            case 'I': cand[3].add(n); break;
            default: break;
        }
    }
}

void fill_lists(const navdb::Database& db, const Index& idx, std::size_t from, std::size_t to, const Request& q,
                Lists& out, const std::function<bool()>& stop) {
    out = Lists{};
    static thread_local Candidates cand[4];
    for (auto& c : cand) c.n = 0;
    const double D = q.range * 1.1;
    gather(db, idx, from, to, q, D, out, cand, stop);
    thin(db, idx, cand[0], kind_none, true, q.range, out.vor);
    thin(db, idx, cand[1], kind_ndb, false, q.range, out.ndb);
    thin(db, idx, cand[2], kind_airport, false, q.range, out.apt);
    thin(db, idx, cand[3], kind_intersection, false, q.range, out.intx);
}

}  // namespace

double latitude_degrees(double units) { return units / kLatitudeUnitsPerDegree; }

double longitude_degrees(double units) {
    double lon = units * kLongitudeDegreesPerUnit;
    if (lon >= 180.0) lon -= 360.0;
    return lon;
}

double east_west_scale(double lat) { return std::cos(lat * kPi / 180.0) * (kPi / 180.0) * kEarthRadiusNm; }

void search(const navdb::Database& db, Window& window, const Request& q, Lists& out, Work* work,
            const std::function<bool()>& stop) {
    out = Lists{};
    const Index idx{db.idx, db.idx.record_count(), work};
    if (idx.count == 0) return;
    const double k = east_west_scale(q.lat0);
    move_window(idx, window, q.lon0, k, q.range * 1.1);
    fill_lists(db, idx, window.start, window.end, q, out, stop);
}

void search_everything(const navdb::Database& db, const Request& q, Lists& out, Work* work) {
    const Index idx{db.idx, db.idx.record_count(), work};
    const double k = east_west_scale(q.lat0), D = q.range * 1.1;
    // The records the window would hold: less than D west and less than D east.
    std::size_t from = idx.count, to = 0;
    for (std::size_t n = 0; n < idx.count; ++n) {
        const double dx = (idx.lon(n, 1e9) - q.lon0) * k;
        if (dx < D && -dx <= D) {
            from = std::min(from, n);
            to = n + 1;
        }
    }
    if (work) work->records_read += to > from ? to - from : 0;
    fill_lists(db, Index{db.idx, idx.count, nullptr}, from < to ? from : 0, from < to ? to : 0, q, out, {});
}

}  // namespace navsearch
