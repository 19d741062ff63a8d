#pragma once
// Helpers for the navigation display tests: a simulator root with a small NavData database written
// record by record, the host's position units, and checks on the rendered window picture.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "panel_fixture.h"
#include "platform/canvas/canvas.h"
#include "platform/keyboard.h"

namespace ndtest {

// The display alone in a 256 x 256 window at (0, 0).
inline constexpr const char* kPanel =
    "[Window00]\nsize=256,256\nposition=0,0\nvisible=1\nident=0\ngauge00=navdisplay!navdisplay, 0, 0\n";

// Records of the five files, in the layout the display reads.
class NavData {
public:
    void vor(const std::string& ident, char kind, double lat, double lon, int course = 0);
    void ndb(const std::string& ident, double lat, double lon);
    void runway(const std::string& ident, const std::string& end1, const std::string& end2, int heading, int length,
                double lat, double lon);
    void fix(const std::string& ident, double lat, double lon);
    // An index record pointing at a record number of a file (for the bounds cases).
    void extra_index(char letter, int number, double lat, double lon);
    void write(const std::filesystem::path& folder) const;

private:
    struct Entry {
        double lon, lat;
        char letter;
        int number;
    };
    std::vector<std::string> vor_, ndb_, apt_, int_;
    std::vector<Entry> index_;
};

// A root for a test: "<tmp>/nd_roots/<test>", with Gauges/ and NavData/.
std::filesystem::path make_root();
void write_file(const std::filesystem::path& path, const std::string& text);
std::string read_file(const std::filesystem::path& path);

// The host's units for a position.
std::string latitude_units(double degrees);
std::string longitude_units(double degrees);
// "at 0 set 71 ...\nat 0 set 72 ...\n"
std::string position_at(double t, double lat, double lon);

PanelRun open_run(const std::filesystem::path& root, const std::string& scenario);

// A colour as the 8-bit panel shows it, 0x00RRGGBB.
std::uint32_t shown(plat::ColorRef c);
int count_colour(PanelRun& run, plat::ColorRef c, int left, int top, int right, int bottom);
// Whether the text stands there in that colour: every pixel of its ink and no other pixel of its
// box has the colour.
bool text_shown(PanelRun& run, int x, int y, unsigned align, int height, const std::string& text, plat::ColorRef c);

// The display's picture index as the host last saw it.
double picture_index(PanelRun& run);

// Colours of the shipped background bitmap.
inline constexpr plat::ColorRef kGreen = plat::rgb(0, 255, 0), kWhite = plat::rgb(255, 255, 255),
                                kCyan = plat::rgb(0, 255, 255), kMagenta = plat::rgb(255, 0, 255),
                                kRed = plat::rgb(255, 0, 0), kOrange = plat::rgb(255, 128, 0),
                                kGrey = plat::rgb(128, 128, 128);

}  // namespace ndtest
