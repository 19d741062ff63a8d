// The navigation display's five NavData files: opened and checked as the display does at install,
// then, when they fit together, navaid searches over them as the aircraft moves. The input holds
// the five files in the order idx, ndb, vor, apt, int, each after the last separated by a line
// "@@file@@".
#include <vector>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "navdisplay/nav_database.h"
#include "navdisplay/navaid_search.h"

namespace {

constexpr std::string_view kSeparator = "\n@@file@@\n";
constexpr const char* kNames[5] = {"NavData/idx.dat", "NavData/ndb.dat", "NavData/vor.dat", "NavData/apt.dat",
                                   "NavData/int.dat"};

// Each file as it now stands in the scratch folder, and whether it is there. Most inputs change
// one file of the five, and only that one is written again.
std::string on_disk[5];
bool present[5] = {};

void place(int i, std::string_view part) {
    if (present[i] && on_disk[i] == part) return;
    fuzzsupport::write_file(kNames[i], reinterpret_cast<const std::uint8_t*>(part.data()), part.size());
    on_disk[i] = part;
    present[i] = true;
}

void absent(int i) {
    if (!present[i]) return;
    fuzzsupport::remove_file(kNames[i]);
    present[i] = false;
}

void lay_down(std::string_view input) {
    static const bool folder_made = (fuzzsupport::make_folder("NavData"), true);
    (void)folder_made;
    for (int i = 0; i < 5; ++i) {
        const std::size_t cut = i < 4 ? input.find(kSeparator) : std::string_view::npos;
        place(i, input.substr(0, cut));
        if (cut == std::string_view::npos) {
            // Fewer files than five: the rest are missing, as on a root without a database.
            for (int j = i + 1; j < 5; ++j) absent(j);
            return;
        }
        input = input.substr(cut + kSeparator.size());
    }
}

void check_list(const navsearch::List& list) {
    for (const auto& r : list)
        fuzzsupport::require(r.present == 0 || r.present == 1, "list entries present or not");
}

// Whether every index record gives a longitude and they never fall: the index as it is built, for
// which the grid must give what a look at every record gives.
bool sorted_by_longitude(const navdb::Database& db) {
    double before = -HUGE_VAL;
    for (std::size_t n = 0; n < db.idx.record_count(); ++n) {
        const double lon = navdb::field_number(db.idx.record(n), db.idx.record_length, navdb::kIdxLonColumn,
                                               navdb::kIdxLonWidth, NAN);
        if (!(lon >= before) || !std::isfinite(lon)) return false;
        before = lon;
    }
    return true;
}

void search_around(const navdb::Database& db) {
    const std::size_t count = db.idx.record_count();
    // Positions at the ends and the middle of the index and a few fixed ones, the date line among them.
    // An aircraft is always somewhere on the earth, whatever the files say.
    std::vector<std::pair<double, double>> places{{0, 0}, {37.6, -122.4}, {-33.9, 151.2}, {0, 179.9}, {0, -179.9}};
    for (const std::size_t k : {std::size_t{0}, count / 2, count - 1}) {
        const char* r = db.idx.record(k);
        const double lat = navdb::field_number(r, db.idx.record_length, navdb::kIdxLatColumn, navdb::kIdxLatWidth);
        const double lon = navdb::field_number(r, db.idx.record_length, navdb::kIdxLonColumn, navdb::kIdxLonWidth);
        if (std::fabs(lat) <= 90.0 && std::fabs(lon) <= 180.0) places.emplace_back(lat, lon);
    }
    navsearch::Request request;
    if (const char* v = db.vor.record(0))
        navdb::field(v, db.vor.record_length, navdb::kIdentColumn, navdb::kIdentWidth, request.nav1_ident,
                     sizeof request.nav1_ident);
    navsearch::Grid grid;
    navsearch::Lists lists, everything;
    const bool sorted = sorted_by_longitude(db);
    for (const unsigned range : {10u, 320u}) {
        for (const auto& [lat, lon] : places) {
            request.lat0 = lat;
            request.lon0 = lon;
            request.range = range;
            navsearch::search(db, grid, request, lists);
            for (const auto* list : {&lists.vor, &lists.ndb, &lists.apt, &lists.intx}) check_list(*list);
            navsearch::search_everything(db, request, everything);
            if (sorted)
                fuzzsupport::require(std::memcmp(&lists, &everything, sizeof lists) == 0,
                                     "the grid's answer is the full pass's");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lay_down(fuzzsupport::text_of(data, size));
    navdb::Database db;
    navdb::open_database(db, fuzzsupport::scratch_folder() + "/NavData");
    if (db.status == 0) search_around(db);
    navdb::close_database(db);
    return 0;
}
