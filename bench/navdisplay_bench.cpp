// The navigation display: one full redraw in MAP mode at 640 NM with every list full, a 256-point
// route and a full trail; the navaid search at each range over the world index, with the records it
// reads against a pass over every record; and the import of the world data.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "host/tokens.h"
#include "navdisplay/nav_database.h"
#include "navdisplay/navaid_search.h"
#include "panelhost/session.h"
#include "platform/shared_block.h"
#include "navimport/navimport.h"

namespace token = gauge::token;

namespace fs = std::filesystem;

namespace {

constexpr double kLatUnits = 10001750.0 / 90.0;
constexpr double kLonDegreesPerUnit = 1.2789770768341246e-12;

double lon_units(double deg) { return (deg < 0 ? deg + 360 : deg) / kLonDegreesPerUnit; }

std::string coordinate(double v, char pos, char neg, int digits) {
    const char hemi = v < 0 ? neg : pos;
    v = std::fabs(v);
    const int d = static_cast<int>(v), m = static_cast<int>((v - d) * 60);
    char text[32];
    std::snprintf(text, sizeof text, "%c%0*d %02d %05.2f", hemi, digits, d, m, ((v - d) * 60 - m) * 60);
    return text;
}

// A 256-point plan zigzagging across the map around (lat, lon), as the FMC publishes it.
std::string route_plan(double lat, double lon) {
    std::string text = "[DEPARTURE]\r\nAIRPORT=EDDF\r\nRUNWAY=25C/250/13000\r\n[ARRIVAL]\r\nAIRPORT=EDDM\r\n"
                       "RUNWAY=26L/260/13000\r\n[WAYPOINTS]\r\n";
    char line[160];
    for (int i = 0; i < 256; ++i) {
        const char* type = i == 0 || i == 255 ? "APT" : i == 20 ? "TOC" : i == 230 ? "TOD" : i % 3 ? "INT" : "VOR";
        char ident[8];
        std::snprintf(ident, sizeof ident, "W%03d", i);
        std::snprintf(line, sizeof line, "%-5.5s%-5.5s  %-25.25s %6s  %s  %s  %5d  %03d  %8.1f%02d:%02d   \r\n", type,
                      ident, "POINT", "000.00", coordinate(lat - 5 + (i % 2) * 10, 'N', 'S', 2).c_str(),
                      coordinate(lon - 10 + i * 20.0 / 255, 'E', 'W', 3).c_str(), 33000, 90, 10.0 * i, 0, 0);
        text += line;
    }
    return text;
}

struct Redraw {
    std::unique_ptr<panelhost::Session> session;
    plat::SharedBlock block;
    plat::SharedView view;
};

std::unique_ptr<Redraw> open_redraw(const char* name) {
    auto r = std::make_unique<Redraw>();
    const fs::path dir = fs::temp_directory_path() / "nd_bench" / name;
    fs::remove_all(dir);
    fs::create_directories(dir / "root/Gauges");
    fs::create_directories(dir / "root/NavData");
    for (const char* f : {"idx.dat", "vor.dat", "ndb.dat", "apt.dat", "int.dat"})
        fs::copy_file(fs::path(NAVDATA_DIR) / f, dir / "root/NavData" / f);
    std::ofstream(dir / "root/Gauges/NDmode.tmp") << "1\n1\n31\n640\n";
    std::ofstream(dir / "panel.cfg") << "[Window00]\nsize=256,256\ngauge00=navdisplay!navdisplay, 0, 0\n";
    const double lat = 50.0, lon = 8.6;
    const std::string plan = route_plan(lat, lon);
    auto b = plat::SharedBlock::create_or_open("fltplanMap1", plan.size());
    if (!b) return nullptr;
    r->block = std::move(b).value();
    auto v = r->block.map(plat::Access::read_write);
    if (!v) return nullptr;
    r->view = std::move(v).value();
    char* data = r->view.as<char>();
    std::memcpy(data, plan.data(), plan.size());
    for (std::size_t at = plan.find("[WAYPOINTS]") + 13; at + 104 < plan.size(); at += 105) data[at + 103] = '\0';
    data[plan.size() - 1] = '\0';

    panelhost::SessionOptions options;
    options.root = (dir / "root").string();
    options.panel = (dir / "panel.cfg").string();
    options.out = (dir / "out").string();
    options.own_aircraft = false;
    auto s = panelhost::Session::open(options);
    if (!s) return nullptr;
    r->session = std::move(s).value();
    auto& vars = r->session->variables();
    // 128 searches along a track fill the trail.
    for (int i = 0; i < 140; ++i) {
        vars.set_double(token::latitude, (lat - 1.0 + i * 0.015) * kLatUnits);
        vars.set_double(token::longitude, lon_units(lon - 1.0 + i * 0.015));
        r->session->step();
        r->session->step();
    }
    r->session->run_for(1);
    return r;
}

void BM_NdCycleIdle(benchmark::State& state) {
    auto r = open_redraw("idle");
    if (!r) return state.SkipWithError("no session");
    for (auto _ : state) r->session->step();
}
BENCHMARK(BM_NdCycleIdle);

// Each cycle the heading moves a fifth of a degree: the whole picture is drawn again.
void BM_NdCycleFullRedrawMap640(benchmark::State& state) {
    auto r = open_redraw("redraw");
    if (!r) return state.SkipWithError("no session");
    double heading = 0;
    for (auto _ : state) {
        heading = heading > 359 ? 0 : heading + 0.2;
        r->session->variables().set_double(token::magnetic_heading, heading);
        r->session->step();
    }
}
BENCHMARK(BM_NdCycleFullRedrawMap640);

navdb::Database& world() {
    static navdb::Database db;
    static bool opened = false;
    if (!opened) {
        navdb::open_database(db, NAVDATA_DIR);
        opened = true;
    }
    return db;
}

// A search that follows the aircraft along a track with NAV1 tuned to Frankfurt, as the display
// runs it, against looking at every record; the counters give the records each reads: the first
// search (its strips read from the index), the ones along the track, and one more at the end
// against the pass over every record.
void BM_NdSearch(benchmark::State& state) {
    navdb::Database& db = world();
    if (db.status != 0) return state.SkipWithError("world database not usable");
    navsearch::Request q;
    q.range = static_cast<unsigned>(state.range(0));
    q.lat0 = 50.0;
    q.lon0 = 8.6;
    std::memcpy(q.nav1_ident, "FFM", 3);
    navsearch::Grid grid;
    navsearch::Lists lists, brute;
    navsearch::Work first, work, all;
    navsearch::search(db, grid, q, lists, &first);
    std::size_t searches = 0;
    for (auto _ : state) {
        q.lon0 += 0.02;
        if (q.lon0 > 12) q.lon0 = 8.6;
        navsearch::search(db, grid, q, lists, &work);
        ++searches;
    }
    // After the timed loop: the same answer by looking at every record, and the work of each.
    navsearch::Work one;
    navsearch::search_everything(db, q, brute, &all);
    navsearch::Lists again;
    navsearch::search(db, grid, q, again, &one);
    const bool same = std::memcmp(&again, &brute, sizeof again) == 0;
    state.counters["first_search_records"] = static_cast<double>(first.records_read);
    state.counters["records_read"] = static_cast<double>(work.records_read) / static_cast<double>(searches);
    state.counters["brute_force_records"] = static_cast<double>(all.records_read);
    state.counters["less_work"] = static_cast<double>(all.records_read) / std::max<double>(1.0, static_cast<double>(one.records_read));
    state.counters["same_answer"] = same ? 1 : 0;
    state.counters["tuned_shown"] = again.tuned.present;
}
BENCHMARK(BM_NdSearch)->Arg(10)->Arg(20)->Arg(40)->Arg(80)->Arg(160)->Arg(320)->Arg(640);

void BM_NdSearchBruteForce(benchmark::State& state) {
    navdb::Database& db = world();
    if (db.status != 0) return state.SkipWithError("world database not usable");
    navsearch::Request q;
    q.range = static_cast<unsigned>(state.range(0));
    q.lat0 = 50.0;
    q.lon0 = 8.6;
    navsearch::Lists lists;
    for (auto _ : state) navsearch::search_everything(db, q, lists);
}
BENCHMARK(BM_NdSearchBruteForce)->Arg(10)->Arg(640);

void BM_NavImportWorld(benchmark::State& state) {
    navimport::Options options;
    options.source = NAVDATA_SOURCE;
    options.out = (fs::temp_directory_path() / "nd_bench" / "import").string();
    for (auto _ : state) {
        const navimport::Report r = navimport::run_import(options);
        if (!r.error.empty()) return state.SkipWithError(r.error.c_str());
        state.counters["index_records"] = static_cast<double>(r.idx);
    }
}
BENCHMARK(BM_NavImportWorld)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
