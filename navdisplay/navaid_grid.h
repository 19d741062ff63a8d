#pragma once
// The index as the navaid search keeps it: strips of a quarter degree of longitude, each read from
// the mapped index the first time a search reaches it and kept from then on, split by kind and by
// rows of one degree of latitude. Within a cell the records keep their index order, so a search can
// take its candidates in index order while it looks only at the cells around the aircraft. Strips
// the aircraft never comes near are never read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "navdisplay/nav_database.h"

namespace navsearch {

struct Work;

// What the search needs of one index record, read once.
struct GridEntry {
    double lon = 0;                 // as the window compares it
    float lat = 0;                  // as the lists hold it
    std::int32_t number = -1;       // data-file record number
    std::uint32_t position = 0;     // index record number
    std::int32_t symbol_kind = 0;   // the list's kind; for "V" the VOR record's own (VOR, ILS, DME)
    char ident[5] = {};             // VOR records: the data record's identifier columns
    bool has_ident = false;
    bool listed = false;            // a known kind whose data record exists
    char kind = ' ';                // the index's kind letter
};

// The index record n as the search reads it (listed is false for an unreadable record).
GridEntry read_index_entry(const navdb::Database& db, std::size_t n);

inline constexpr int kKinds = 4;  // "V", "N", "A", "I", in the order of the lists
inline constexpr int kRows = 180;
inline constexpr int kStripsPerDegree = 4;
inline constexpr int kStrips = 360 * kStripsPerDegree;

// The list a kind letter goes to (0 VOR, 1 NDB, 2 airport, 3 intersection), or -1.
int kind_slot(char kind);
// The cell row of a latitude and the strip of a longitude; beyond the earth, the edge ones.
int row_of(double lat);
int strip_of(double lon);

// One strip: per kind, the entries ordered by row and, within a row, by index position.
struct Strip {
    std::array<std::vector<GridEntry>, kKinds> entries;
    std::array<std::array<std::uint32_t, kRows + 1>, kKinds> row_start{};
};

class Grid {
public:
    // The strip, read now if no search has read it yet. The grid follows one database: given
    // another (or the same one opened again), it starts over.
    const Strip& strip(const navdb::Database& db, int s, Work* work);

    // The VOR entries of the strips read so far whose identifier matches `ident` as the tuned
    // station's does: the first `len` characters equal, then a blank unless all five are taken.
    template <typename Visit>
    void for_each_matching_vor(const char* ident, std::size_t len, Visit&& visit) const;

    // Whether a VOR entry matches the identifier by the same rule.
    static bool matches(const GridEntry& e, const char* ident, std::size_t len);

private:
    void follow(const navdb::Database& db);
    std::size_t boundary(const navdb::Database& db, int s, Work* work);

    const void* source_ = nullptr;
    std::size_t source_size_ = 0;
    std::vector<std::unique_ptr<Strip>> strips_;
    std::vector<std::int64_t> boundaries_;  // first index position of each strip; -1 unknown
    std::multimap<std::string, const GridEntry*> vor_by_ident_;
};

template <typename Visit>
void Grid::for_each_matching_vor(const char* ident, std::size_t len, Visit&& visit) const {
    if (len == 0 || len > 5) return;
    std::string prefix(ident, len);
    if (len < 5) prefix += ' ';
    for (auto it = vor_by_ident_.lower_bound(prefix);
         it != vor_by_ident_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it)
        visit(*it->second);
}

}  // namespace navsearch
