#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "platform/canvas/bmp_file.h"
#include "panelhost/panel_config.h"
#include "tools/artwork/art_registry.h"
#include "tools/artwork/backdrop.h"

namespace {

using plat::ColorRef;
using plat::Rect;

struct Rgb {
    int r, g, b;
};

Rgb at(const plat::Bitmap& bmp, int x, int y) {
    const ColorRef c = bmp.color_of(bmp.pixel(x, y));
    return {plat::get_r(c), plat::get_g(c), plat::get_b(c)};
}

bool is_black(Rgb c) { return c.r == 0 && c.g == 0 && c.b == 0; }
bool is_legend(Rgb c) { return c.r > 170 && c.g > 170 && c.b > 170; }

int count(const plat::Bitmap& bmp, const Rect& r, const std::function<bool(Rgb)>& test) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += test(at(bmp, x, y));
    return n;
}

plat::Bitmap draw(std::string_view set_name, int id) {
    const art::ArtSet* set = art::find_set(set_name);
    if (!set) throw std::runtime_error("no set");
    const art::Picture* p = art::find_picture(*set, id);
    if (!p) throw std::runtime_error("no picture");
    return art::render(*p);
}

using Sizes = std::map<int, std::pair<int, int>>;
const std::map<std::string, Sizes> kExpected = {
    {"ndmodeselect",
     {{4096, {134, 96}}, {5376, {134, 96}}, {8704, {28, 22}}, {8707, {28, 22}}, {8710, {28, 22}},
      {8208, {24, 8}}, {8211, {24, 8}}, {8214, {24, 8}}, {8448, {26, 22}}, {8451, {26, 22}},
      {8454, {26, 22}}, {8457, {26, 22}}, {8460, {26, 22}}, {8463, {26, 22}}, {8466, {26, 22}}}},
    {"fdswitch", {{1000, {100, 90}}, {2000, {54, 32}}, {2003, {54, 32}}, {2006, {54, 32}}}},
    {"ndswitch", {{1000, {100, 90}}, {2000, {54, 32}}, {2003, {54, 32}}}},
};

// Knob pictures drawn over see-through black, by set, in position order.
const std::vector<std::pair<std::string, std::vector<int>>> kKnobs = {
    {"ndmodeselect", {8704, 8707, 8710}},
    {"ndmodeselect", {8448, 8451, 8454, 8457, 8460, 8463, 8466}},
    {"fdswitch", {2000, 2003, 2006}},
    {"ndswitch", {2000, 2003}},
};

TEST(Artwork, EverySetDrawsExactlyItsBitmapsAtTheirSizes) {
    for (const auto& [name, sizes] : kExpected) ASSERT_NE(art::find_set(name), nullptr) << name;
    for (const art::ArtSet& set : art::art_sets()) {
        SCOPED_TRACE(std::string(set.name));
        const auto expected = kExpected.find(std::string(set.name));
        Sizes drawn;
        for (const art::Picture& p : set.pictures) {
            const plat::Bitmap bmp = art::render(p);
            drawn[p.id] = {bmp.width(), bmp.height()};
        }
        // The other sets' sizes are checked with their modules.
        if (expected != kExpected.end()) {
            EXPECT_EQ(drawn, expected->second);
        }
        EXPECT_EQ(drawn.size(), set.pictures.size()) << "an id is registered twice";
    }
    EXPECT_EQ(art::find_set("nosuch"), nullptr);
}

TEST(Artwork, EachKnobPositionIsADifferentPicture) {
    for (const auto& [set, ids] : kKnobs) {
        std::vector<plat::Bitmap> pictures;
        for (int id : ids) pictures.push_back(draw(set, id));
        for (std::size_t i = 0; i < ids.size(); ++i)
            for (std::size_t j = i + 1; j < ids.size(); ++j) {
                const plat::Bitmap& a = pictures[i];
                const plat::Bitmap& b = pictures[j];
                int differing = 0;
                for (int y = 0; y < a.height(); ++y)
                    for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y);
                EXPECT_GT(differing, 8) << set << " " << ids[i] << " vs " << ids[j];
            }
    }
}

TEST(Artwork, KnobBackgroundsAreSeeThroughAndKnobsAreNot) {
    for (const auto& [set, ids] : kKnobs)
        for (int id : ids) {
            SCOPED_TRACE(set + " " + std::to_string(id));
            const plat::Bitmap bmp = draw(set, id);
            const int w = bmp.width(), h = bmp.height();
            EXPECT_TRUE(is_black(at(bmp, 0, 0)));
            EXPECT_TRUE(is_black(at(bmp, w - 1, 0)));
            EXPECT_TRUE(is_black(at(bmp, 0, h - 1)));
            EXPECT_TRUE(is_black(at(bmp, w - 1, h - 1)));
            EXPECT_FALSE(is_black(at(bmp, w / 2, h / 2)));
            EXPECT_FALSE(is_black(at(bmp, w / 2 - 3, h / 2 + 2)));
        }
}

// White pointer ink left and right of the axis in the upper part of the picture.
std::pair<int, int> pointer_ink_left_right(const plat::Bitmap& bmp, int axis_x, int axis_y) {
    return {count(bmp, {0, 0, axis_x - 1, axis_y + 2}, is_legend),
            count(bmp, {axis_x + 2, 0, bmp.width(), axis_y + 2}, is_legend)};
}

TEST(Artwork, KnobsPointTowardTheirLegends) {
    auto [vor_left, vor_right] = pointer_ink_left_right(draw("ndmodeselect", 8704), 14, 11);
    EXPECT_GT(vor_left, 3);
    EXPECT_EQ(vor_right, 0);
    auto [plan_left, plan_right] = pointer_ink_left_right(draw("ndmodeselect", 8710), 14, 11);
    EXPECT_EQ(plan_left, 0);
    EXPECT_GT(plan_right, 3);
    const plat::Bitmap map = draw("ndmodeselect", 8707);
    EXPECT_GT(count(map, {13, 1, 16, 8}, is_legend), 3);

    auto [r10_left, r10_right] = pointer_ink_left_right(draw("ndmodeselect", 8448), 13, 11);
    EXPECT_GT(r10_left, 3);
    EXPECT_EQ(r10_right, 0);
    auto [r640_left, r640_right] = pointer_ink_left_right(draw("ndmodeselect", 8466), 13, 11);
    EXPECT_EQ(r640_left, 0);
    EXPECT_GT(r640_right, 3);

    const plat::Bitmap off = draw("fdswitch", 2000);
    EXPECT_GT(count(off, {0, 10, 22, 21}, is_legend), 5);
    EXPECT_EQ(count(off, {33, 0, 54, 32}, is_legend), 0);
    const plat::Bitmap up = draw("fdswitch", 2003);
    EXPECT_GT(count(up, {22, 0, 33, 10}, is_legend), 5);
    EXPECT_EQ(count(up, {0, 20, 54, 32}, is_legend), 0);
    const plat::Bitmap two = draw("fdswitch", 2006);
    EXPECT_GT(count(two, {33, 10, 54, 21}, is_legend), 5);
    EXPECT_EQ(count(two, {0, 0, 22, 32}, is_legend), 0);
}

TEST(Artwork, LampsAreLitDarkOrOrange) {
    const Rgb lit = at(draw("ndmodeselect", 8208), 12, 4);
    EXPECT_TRUE(lit.r > 200 && lit.g > 170 && lit.b < 150) << lit.r << "," << lit.g << "," << lit.b;
    const Rgb lit_body = at(draw("ndmodeselect", 8208), 12, 6);
    EXPECT_TRUE(lit_body.r > 200 && lit_body.g > 170 && lit_body.b < 100);

    const plat::Bitmap dark = draw("ndmodeselect", 8211);
    for (int y = 0; y < dark.height(); ++y)
        for (int x = 0; x < dark.width(); ++x) {
            const Rgb c = at(dark, x, y);
            EXPECT_LT(c.r, 120);
            EXPECT_LT(c.g, 120);
            EXPECT_FALSE(is_black(c));
        }

    const Rgb orange = at(draw("ndmodeselect", 8214), 12, 4);
    EXPECT_GT(orange.r, 200);
    EXPECT_TRUE(orange.g > 100 && orange.g < 190 && orange.b < 90);
}

TEST(Artwork, OverlayIsAllSeeThrough) {
    const plat::Bitmap overlay = draw("ndmodeselect", 5376);
    EXPECT_EQ(count(overlay, overlay.bounds(), is_black), 134 * 96);
}

TEST(Artwork, ModeSelectorFaceCarriesItsLegends) {
    const plat::Bitmap face = draw("ndmodeselect", 4096);
    EXPECT_EQ(count(face, face.bounds(), is_black), 0) << "the face is opaque";
    const Rgb plate = at(face, 120, 50);
    EXPECT_NEAR(plate.r, 60, 10);
    EXPECT_NEAR(plate.g, 64, 10);
    EXPECT_NEAR(plate.b, 68, 10);

    const std::vector<std::pair<const char*, Rect>> areas = {
        {"VOR", {1, 22, 19, 35}},        {"MAP", {19, 17, 43, 29}},
        {"PLAN", {39, 23, 60, 35}},      {"range 10", {52, 36, 64, 47}},
        {"range 80", {76, 19, 90, 30}},  {"range 640", {98, 36, 116, 47}},
        {"RANGE", {65, 2, 100, 14}},     {"RTE", {2, 76, 24, 90}},
        {"WPT", {28, 76, 50, 90}},       {"VOR button", {54, 76, 76, 90}},
        {"NDB", {80, 76, 102, 90}},      {"ARPT", {106, 76, 128, 90}},
    };
    for (const auto& [name, area] : areas) EXPECT_GT(count(face, area, is_legend), 8) << name;

    for (int x : {0, 26, 52, 78, 104}) {
        const Rgb slot = at(face, x + 12, 65);
        EXPECT_LT(slot.r + slot.g + slot.b, 60) << "lamp slot at " << x;
    }
    EXPECT_EQ(count(face, {16, 40, 45, 58}, is_legend), 0) << "the knob well stays clear";
}

TEST(Artwork, SwitchPlatesLabelOnlyTheirPositions) {
    const Rect left{6, 40, 38, 62}, top{42, 1, 60, 14}, right{64, 40, 96, 62};
    const plat::Bitmap fd = draw("fdswitch", 1000);
    EXPECT_GT(count(fd, left, is_legend), 10);
    EXPECT_GT(count(fd, top, is_legend), 5);
    EXPECT_GT(count(fd, right, is_legend), 5);
    EXPECT_GT(count(fd, {38, 66, 64, 86}, is_legend), 10) << "FD title";

    const plat::Bitmap nd = draw("ndswitch", 1000);
    EXPECT_GT(count(nd, left, is_legend), 10);
    EXPECT_GT(count(nd, top, is_legend), 10);
    EXPECT_EQ(count(nd, right, is_legend), 0);
    EXPECT_NE(count(fd, {38, 66, 64, 86}, is_legend), count(nd, {38, 66, 64, 86}, is_legend));
}

TEST(Artwork, WritesReadableBmpFilesNamedById) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("artwork_test_" + std::to_string(getpid()));
    const art::ArtSet* set = art::find_set("ndmodeselect");
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(art::write_set(*set, dir.string()), std::nullopt);
    for (const art::Picture& p : set->pictures) {
        const std::string path = (dir / (std::to_string(p.id) + ".bmp")).string();
        auto read = plat::read_bmp_file(path);
        ASSERT_TRUE(read) << read.error();
        EXPECT_EQ(read->width(), p.width);
        EXPECT_EQ(read->height(), p.height);
        const plat::Bitmap drawn = art::render(p);
        int differing = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                differing += read->color_of(read->pixel(x, y)) != drawn.color_of(drawn.pixel(x, y));
        EXPECT_EQ(differing, 0) << path;
    }
    std::filesystem::remove_all(dir);
    EXPECT_TRUE(art::write_set(*set, "/proc/no_such_place/art").has_value());
}

TEST(Artwork, ContactSheetShowsEveryPicture) {
    const plat::Bitmap sheet = art::contact_sheet(*art::find_set("fdswitch"));
    EXPECT_GE(sheet.width(), 100 * 3);
    EXPECT_GT(sheet.height(), 90 * 3 * 2);
}

}  // namespace

namespace {

// The fire panel's and the DME's faces and the yaw damper's dark lens let the panel through; the
// panel's background carries their art instead.
TEST(Artwork, FacesLeftToThePanelAreBlackAndThePanelCarriesThem) {
    const std::pair<const char*, int> black[] = {{"firepanel", 4096}, {"dmegauge", 4096}, {"yawdamper", 4096},
                                                 {"yawdamper", 12288}};
    for (const auto& [set, id] : black) {
        const plat::Bitmap bmp = draw(set, id);
        EXPECT_EQ(count(bmp, bmp.bounds(), [](Rgb c) { return !is_black(c); }), 0) << set << " " << id;
    }
    for (const char* set : {"firepanel", "dmegauge", "yawdamper"}) {
        const art::PanelFace* face = art::find_set(set)->panel_face;
        ASSERT_NE(face, nullptr) << set;
        const plat::Bitmap bmp = art::render(*face);
        EXPECT_GT(count(bmp, bmp.bounds(), [](Rgb c) { return !is_black(c); }), bmp.width() * bmp.height() / 2) << set;
    }
}

TEST(Artwork, TheDefaultPanelsBackgroundIsDrawnFromItsPlacements) {
    auto config = panelhost::load_panel_config(std::string(PANEL_DATA_DIR) + "/panel/default.cfg");
    ASSERT_TRUE(config) << config.error();
    ASSERT_EQ(config->windows.at(0).background, "default_panel.bmp");
    const plat::Bitmap drawn = art::draw_backdrop(config->windows.at(0));
    auto shipped = plat::read_bmp_file(std::string(PANEL_DATA_DIR) + "/panel/default_panel.bmp");
    ASSERT_TRUE(shipped) << shipped.error();
    ASSERT_EQ(shipped->width(), drawn.width());
    ASSERT_EQ(shipped->height(), drawn.height());
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            differing += shipped->color_of(shipped->pixel(x, y)) != drawn.color_of(drawn.pixel(x, y));
    EXPECT_EQ(differing, 0) << "redraw it: backdrop data/panel/default.cfg 0 data/panel/default_panel.bmp";
}

}  // namespace
