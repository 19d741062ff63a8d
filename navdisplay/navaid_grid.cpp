// The strips of the index, read on first use.
//
// A strip is the run of index records from the first whose longitude is at or east of its west edge
// to the first at or east of the next strip's; the index is sorted by longitude, so finding both is
// a binary search and the strips follow each other in index order. An index that is not sorted
// still gives strips that stay inside it; only its answers may then differ from a full pass.

#include "navdisplay/navaid_grid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "navdisplay/navaid_search.h"

namespace navsearch {
namespace {

// The data-file record number an index record gives. A number no data file could reach (beyond a
// billion, infinite, not a number) is no record rather than an undefined conversion.
long record_number(double v) { return v > -1.0 && v < 1e9 ? static_cast<long>(v) : -1; }

std::int32_t vor_symbol_kind(const navdb::Database& db, long number) {
    const char* r = db.vor.record(static_cast<std::size_t>(number));
    switch (navdb::field_char(r, db.vor.record_length, navdb::kVorKindColumn)) {
        case 'V': return kind_vor;
        case 'I': return kind_ils;
        case 'D': return kind_dme;
        default: return kind_none;
    }
}

constexpr std::int32_t kListKind[kKinds] = {kind_none, kind_ndb, kind_airport, kind_intersection};

// The longitude a binary search compares; an unreadable one compares as east of everything.
double strip_lon(const navdb::Database& db, std::size_t n) {
    return navdb::field_number(db.idx.record(n), db.idx.record_length, navdb::kIdxLonColumn, navdb::kIdxLonWidth,
                               HUGE_VAL);
}

}  // namespace

GridEntry read_index_entry(const navdb::Database& db, std::size_t n) {
    GridEntry e;
    e.position = static_cast<std::uint32_t>(n);
    const char* r = db.idx.record(n);
    if (!r) return e;
    const std::size_t len = db.idx.record_length;
    e.lon = navdb::field_number(r, len, navdb::kIdxLonColumn, navdb::kIdxLonWidth);
    e.lat = static_cast<float>(navdb::field_number(r, len, navdb::kIdxLatColumn, navdb::kIdxLatWidth));
    e.number = static_cast<std::int32_t>(
        record_number(navdb::field_number(r, len, navdb::kIdxRecordColumn, navdb::kIdxRecordWidth, -1)));
    e.kind = navdb::field_char(r, len, navdb::kIdxKindColumn);
    const int slot = kind_slot(e.kind);
    const navdb::DataFile* f = navdb::file_of_kind(db, e.kind);
    e.listed = slot >= 0 && f && e.number >= 0 && f->record(static_cast<std::size_t>(e.number)) != nullptr;
    if (!e.listed) return e;
    e.symbol_kind = slot == 0 ? vor_symbol_kind(db, e.number) : kListKind[slot];
    if (slot == 0 && db.vor.record_length > navdb::kIdentWidth) {
        std::memcpy(e.ident, db.vor.record(static_cast<std::size_t>(e.number)), sizeof e.ident);
        e.has_ident = true;
    }
    return e;
}

int kind_slot(char kind) {
    switch (kind) {
        case 'V': return 0;
        case 'N': return 1;
        case 'A': return 2;
        case 'I': return 3;
        default: return -1;
    }
}

int row_of(double lat) {
    const double r = std::floor(lat + 90.0);
    return r < 0 ? 0 : r >= kRows ? kRows - 1 : static_cast<int>(r);
}

int strip_of(double lon) {
    const double s = std::floor((lon + 180.0) * kStripsPerDegree);
    return s < 0 ? 0 : s >= kStrips ? kStrips - 1 : static_cast<int>(s);
}

bool Grid::matches(const GridEntry& e, const char* ident, std::size_t len) {
    if (!e.has_ident || len == 0 || len > 5) return false;
    return std::memcmp(e.ident, ident, len) == 0 && (len == 5 || e.ident[len] == ' ');
}

void Grid::follow(const navdb::Database& db) {
    if (source_ == db.idx.view.data() && source_size_ == db.idx.view.size() && !strips_.empty()) return;
    source_ = db.idx.view.data();
    source_size_ = db.idx.view.size();
    strips_.clear();
    strips_.resize(kStrips);
    boundaries_.assign(kStrips + 1, -1);
    boundaries_[0] = 0;
    boundaries_[kStrips] = static_cast<std::int64_t>(db.idx.record_count());
    vor_by_ident_.clear();
}

std::size_t Grid::boundary(const navdb::Database& db, int s, Work* work) {
    std::int64_t& b = boundaries_[static_cast<std::size_t>(s)];
    if (b >= 0) return static_cast<std::size_t>(b);
    const double west_edge = static_cast<double>(s) / kStripsPerDegree - 180.0;
    std::size_t lo = 0, hi = db.idx.record_count();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (work) ++work->records_read;
        if (strip_lon(db, mid) < west_edge)
            lo = mid + 1;
        else
            hi = mid;
    }
    b = static_cast<std::int64_t>(lo);
    return lo;
}

const Strip& Grid::strip(const navdb::Database& db, int s, Work* work) {
    follow(db);
    std::unique_ptr<Strip>& slot = strips_[static_cast<std::size_t>(s)];
    if (slot) return *slot;
    const std::size_t from = boundary(db, s, work);
    const std::size_t to = std::max(from, boundary(db, s + 1, work));
    std::vector<GridEntry> read;
    read.reserve(to - from);
    std::array<std::array<std::uint32_t, kRows>, kKinds> counts{};
    for (std::size_t n = from; n < to; ++n) {
        if (work) ++work->records_read;
        const GridEntry e = read_index_entry(db, n);
        // Not a number: never within the band, so never a candidate.
        if (!e.listed || std::isnan(e.lat)) continue;
        ++counts[static_cast<std::size_t>(kind_slot(e.kind))][static_cast<std::size_t>(row_of(e.lat))];
        read.push_back(e);
    }
    auto made = std::make_unique<Strip>();
    for (int k = 0; k < kKinds; ++k) {
        auto& starts = made->row_start[static_cast<std::size_t>(k)];
        starts[0] = 0;
        for (int r = 0; r < kRows; ++r) starts[r + 1] = starts[r] + counts[k][r];
        made->entries[static_cast<std::size_t>(k)].resize(starts[kRows]);
    }
    // Placing them in index order keeps each cell in index order.
    std::array<std::array<std::uint32_t, kRows>, kKinds> next{};
    for (int k = 0; k < kKinds; ++k)
        std::copy_n(made->row_start[static_cast<std::size_t>(k)].begin(), kRows, next[k].begin());
    for (const GridEntry& e : read) {
        const auto k = static_cast<std::size_t>(kind_slot(e.kind));
        made->entries[k][next[k][static_cast<std::size_t>(row_of(e.lat))]++] = e;
    }
    // Kept before its identifiers are listed, so that the list never points into a strip that a
    // failed allocation threw away.
    slot = std::move(made);
    for (const GridEntry& e : slot->entries[0])
        if (e.has_ident) vor_by_ident_.emplace(std::string(e.ident, sizeof e.ident), &e);
    return *slot;
}

}  // namespace navsearch
