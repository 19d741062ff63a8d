#include <gtest/gtest.h>

#include "gauge_pixels.h"
#include "host/tokens.h"

namespace token = gauge::token;

namespace {

using gauge_test::shows;

const char* kPanel = "[Window00]\nsize=200,350\ngauge00=yawdamper!yawdamper, 10, 10\n";
constexpr std::uint32_t kPanelBackground = 0x1E2226;

struct Case {
    const char* name;
    double supply, state;
    bool lit, dark;
};

TEST(YawDamper, OverlaysFollowSupplyAndDamperState) {
    const Case cases[] = {
        {"supply at exactly 250, damper off", 250, 0, true, false},
        {"damper on", 250, 1, false, true},
        {"supply just short of 250", 249.99, 0, false, true},
        {"no supply, damper on", 0, 1, false, true},
        {"damper state 2 hides both", 250, 2, false, false},
    };
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    for (const Case& c : cases) {
        vars.set_double(token::indicated_airspeed, c.supply);
        vars.set_double(token::yaw_damper, c.state);
        run.cycles(1);
        EXPECT_EQ(shows(run, "yawdamper", 8192, 7, 5), c.lit) << c.name;
        // The dark overlay is all black: shown or not, the panel behind it is what is seen.
        EXPECT_EQ(gauge_test::gauge_of(run, "yawdamper").elements[1]->value == 0.0, c.dark) << c.name;
        if (!c.lit) {
            EXPECT_EQ(run.pixel(0, 10 + 7 + 80, 10 + 5 + 160), kPanelBackground) << "the panel shows through";
        }
    }
}

}  // namespace
