#include "nd_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/font.h"

namespace fs = std::filesystem;

namespace ndtest {

namespace {

std::string station(const std::string& ident, char kind, double lat, double lon, int course) {
    char line[128];
    std::snprintf(line, sizeof line, "%-5.5s %-26.26s %c %6.2f %3d %6d %4.0f %03d %10.6f %11.6f %-4.4s %-3.3s\n",
                  ident.c_str(), "TEST", kind, 110.10, 40, 0, 0.0, course, lat, lon, "", "");
    return line;
}

}  // namespace

void NavData::vor(const std::string& ident, char kind, double lat, double lon, int course) {
    index_.push_back({lon, lat, 'V', static_cast<int>(vor_.size())});
    vor_.push_back(station(ident, kind, lat, lon, course));
}

void NavData::ndb(const std::string& ident, double lat, double lon) {
    index_.push_back({lon, lat, 'N', static_cast<int>(ndb_.size())});
    ndb_.push_back(station(ident, 'N', lat, lon, 0));
}

void NavData::runway(const std::string& ident, const std::string& end1, const std::string& end2, int heading,
                     int length, double lat, double lon) {
    char line[128];
    std::snprintf(line, sizeof line, "%-5.5s %-26.26s %-3.3s/%-3.3s  %03d %10.6f %11.6f %6d %5d %2d   %5d\n",
                  ident.c_str(), "TEST FIELD", end1.c_str(), end2.c_str(), heading, lat, lon, 0, 150, 1, length);
    index_.push_back({lon, lat, 'A', static_cast<int>(apt_.size())});
    apt_.push_back(line);
}

void NavData::fix(const std::string& ident, double lat, double lon) {
    char line[64];
    std::snprintf(line, sizeof line, "%-5.5s %10.6f %11.6f\n", ident.c_str(), lat, lon);
    index_.push_back({lon, lat, 'I', static_cast<int>(int_.size())});
    int_.push_back(line);
}

void NavData::extra_index(char letter, int number, double lat, double lon) { index_.push_back({lon, lat, letter, number}); }

void NavData::write(const fs::path& folder) const {
    fs::create_directories(folder);
    auto data = [&](const char* name, const std::vector<std::string>& records) {
        std::string text = std::string(name) + " TEST DATA\n";
        for (const auto& r : records) text += r;
        write_file(folder / name, text);
    };
    data("vor.dat", vor_);
    data("ndb.dat", ndb_);
    data("apt.dat", apt_);
    data("int.dat", int_);
    std::vector<Entry> sorted = index_;
    // An index with no record at all is refused, so a database without navaids has one far away.
    if (sorted.empty()) {
        char line[64];
        std::snprintf(line, sizeof line, "%-5.5s %10.6f %11.6f\n", "FAR", 60.0, 100.0);
        std::string text = std::string("int.dat TEST DATA\n") + line;
        write_file(folder / "int.dat", text);
        sorted.push_back({100.0, 60.0, 'I', 0});
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) { return a.lon < b.lon; });
    std::string text = "TEST INDEX";
    text.resize(32, ' ');
    text += '\n';
    char line[64];
    for (const Entry& e : sorted) {
        std::snprintf(line, sizeof line, "%12.6f%10.6f  %c  %05d\n", e.lon, e.lat, e.letter, e.number);
        text += line;
    }
    write_file(folder / "idx.dat", text);
}

fs::path make_root() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path root = fs::temp_directory_path() / "nd_roots" / (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(root);
    fs::create_directories(root / "Gauges");
    fs::create_directories(root / "NavData" / "FlightPlans");
    return root;
}

void write_file(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string read_file(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string latitude_units(double degrees) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", degrees * 10001750.0 / 90.0);
    return text;
}

std::string longitude_units(double degrees) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", (degrees < 0 ? degrees + 360.0 : degrees) / 1.2789770768341246e-12);
    return text;
}

std::string position_at(double t, double lat, double lon) {
    char text[160];
    std::snprintf(text, sizeof text, "at %g set 71 %s\nat %g set 72 %s\n", t, latitude_units(lat).c_str(), t,
                  longitude_units(lon).c_str());
    return text;
}

PanelRun open_run(const fs::path& root, const std::string& scenario) {
    panelhost::SessionOptions options;
    options.root = root.string();
    options.own_aircraft = false;  // every variable a test does not set stays 0
    return PanelRun(kPanel, scenario, options);
}

std::uint32_t shown(plat::ColorRef c) {
    plat::Bitmap one(1, 1, plat::PixelFormat::indexed8);
    const plat::ColorRef p = one.color_of(one.map_color(c));
    return (std::uint32_t{plat::get_r(p)} << 16) | (std::uint32_t{plat::get_g(p)} << 8) | plat::get_b(p);
}

int count_colour(PanelRun& run, plat::ColorRef c, int left, int top, int right, int bottom) {
    const std::uint32_t want = shown(c);
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, 256); ++y)
        for (int x = std::max(left, 0); x < std::min(right, 256); ++x)
            if (run.pixel(0, x, y) == want) ++n;
    return n;
}

bool text_shown(PanelRun& run, int x, int y, unsigned align, int height, const std::string& text, plat::ColorRef c) {
    plat::Bitmap ref(256, 256, plat::PixelFormat::xrgb32);
    plat::Canvas dc(ref);
    dc.fill_rect(ref.bounds(), plat::rgb(0, 0, 0));
    dc.select_font(plat::Font::open({"Arial", -height, 0}));
    dc.set_bk_mode(plat::BkMode::transparent);
    dc.set_text_color(plat::rgb(255, 255, 255));
    dc.set_text_align(align);
    dc.text_out(x, y, text);
    const std::uint32_t want = shown(c);
    int left = 256, top = 256, right = -1, bottom = -1, ink = 0;
    for (int py = 0; py < 256; ++py)
        for (int px = 0; px < 256; ++px) {
            if (ref.color_of(ref.pixel(px, py)) == plat::rgb(0, 0, 0)) continue;
            ++ink;
            if (run.pixel(0, px, py) != want) return false;
            left = std::min(left, px), right = std::max(right, px), top = std::min(top, py), bottom = std::max(bottom, py);
        }
    if (ink == 0) return false;
    for (int py = top; py <= bottom; ++py)
        for (int px = left; px <= right; ++px)
            if (ref.color_of(ref.pixel(px, py)) == plat::rgb(0, 0, 0) && run.pixel(0, px, py) == want) return false;
    return true;
}

double picture_index(PanelRun& run) {
    panelhost::GaugeInstance* g = run.panel().find_gauge("navdisplay");
    if (!g || g->elements.size() < 2) return -1;
    return g->elements[1]->value;
}

}  // namespace ndtest
