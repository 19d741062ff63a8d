// The default panel in the real host: its background bitmap carries the faces that the fire panel,
// the DME and the yaw damper leave see-through, under the gauges' own layers.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/tokens.h"
#include "panelhost/panel.h"
#include "panelhost/session.h"
#include "platform/canvas/bmp_file.h"

namespace token = gauge::token;

namespace {

struct Box {
    const char* gauge;
    int x, y, w, h;
};

TEST(DefaultPanel, SeeThroughFacesStandInTheBackgroundBehindTheirGauges) {
    panelhost::SessionOptions options;
    options.own_aircraft = false;
    options.panel = panelhost::default_data_dir() + "/panel/default.cfg";
    options.out = (std::filesystem::temp_directory_path() / "panel_tests" / "DefaultPanel").string();
    std::filesystem::remove_all(options.out);
    auto session = panelhost::Session::open(options);
    ASSERT_TRUE(session) << session.error();
    panelhost::Session& s = *session.value();
    EXPECT_TRUE(s.problems().empty()) << s.problems().front();
    s.variables().set_double(token::indicated_airspeed, 300);  // the yaw damper's light has its supply, the damper is on: dark
    s.variables().set_double(token::yaw_damper, 1);
    for (int i = 0; i < 5; ++i) s.step();
    s.panel().compose();

    auto backdrop = plat::read_bmp_file(panelhost::default_data_dir() + "/panel/default_panel.bmp");
    ASSERT_TRUE(backdrop) << backdrop.error();
    const panelhost::Window& window = *s.panel().windows().at(0);
    ASSERT_EQ(backdrop->width(), window.picture.width);
    ASSERT_EQ(backdrop->height(), window.picture.height);

    // Each box lies inside the gauge's face: most of it is the face as the background carries it.
    for (const Box& b : {Box{"firepanel by Dunmore", 10, 345, 221, 119}, Box{"dmegauge", 380, 10, 530, 85},
                         Box{"yawdamper", 1046 + 4, 150 + 3, 81, 161}}) {
        int face = 0, same = 0;
        for (int y = b.y; y < b.y + b.h; ++y)
            for (int x = b.x; x < b.x + b.w; ++x) {
                const plat::ColorRef c = backdrop->color_of(backdrop->pixel(x, y));
                const std::uint32_t rgb = (std::uint32_t{plat::get_r(c)} << 16) | (plat::get_g(c) << 8) | plat::get_b(c);
                face += rgb != (panelhost::kPanelBackground & 0xFFFFFFu);
                same += (window.picture.row(y)[x] & 0xFFFFFFu) == rgb;
            }
        const int area = b.w * b.h;
        EXPECT_GT(face, area * 3 / 4) << b.gauge << ": the background carries its face";
        EXPECT_GT(same, area / 2) << b.gauge << ": the window shows the face through the gauge";
        if (std::string(b.gauge) == "yawdamper") {
            EXPECT_EQ(same, area) << "the dark lens is entirely the panel's";
        }
    }
}

}  // namespace
