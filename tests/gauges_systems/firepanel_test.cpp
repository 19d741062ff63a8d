#include <gtest/gtest.h>

#include <algorithm>

#include "gauge_pixels.h"
#include "host/key_events.h"
#include "host/tokens.h"

namespace event = gauge::event;
namespace token = gauge::token;

namespace {

using gauge_test::shows;

const char* kPanel = "[Window00]\nsize=260,140\ngauge00=firepanel!firepanel by Dunmore, 10, 10\n";
const std::string kFire = "firepanel by Dunmore";

constexpr std::uint32_t kEngine1Bottle = event::engine1_fire_bottle, kEngine2Bottle = event::engine2_fire_bottle;

// Clicks of the panel's areas, by what they do.
void pull_1(PanelRun& r) { r.panel().click_gauge(kFire, 60, 85); }
void pull_2(PanelRun& r) { r.panel().click_gauge(kFire, 158, 85); }
void turn_1_left(PanelRun& r) { r.panel().click_gauge(kFire, 10, 30); }
void unturn_1_left(PanelRun& r) { r.panel().click_gauge(kFire, 25, 15); }
void turn_1_right(PanelRun& r) { r.panel().click_gauge(kFire, 56, 30); }
void unturn_1_right(PanelRun& r) { r.panel().click_gauge(kFire, 40, 15); }
void turn_2_right(PanelRun& r) { r.panel().click_gauge(kFire, 207, 30); }

long events(PanelRun& run, std::uint32_t id) {
    const auto& all = run.panel().key_events();
    return std::count_if(all.begin(), all.end(), [id](const panelhost::KeyEvent& e) { return e.id == id; });
}

TEST(FirePanel, BothTurnStatesSendTwoEventsEveryCycleAndLeftWins) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    run.session().variables().set_double(token::engine1_turning, 3000);
    turn_1_left(run);
    turn_1_right(run);
    run.cycles(5);
    EXPECT_EQ(events(run, kEngine1Bottle), 10);
    EXPECT_EQ(events(run, kEngine2Bottle), 0);
    for (const auto& e : run.panel().key_events()) {
        EXPECT_EQ(e.value, 1u);
        EXPECT_EQ(e.gauge, kFire);
    }
    EXPECT_TRUE(shows(run, kFire, 8195, -14, 24)) << "turned left";
    unturn_1_left(run);
    run.cycles(3);
    EXPECT_EQ(events(run, kEngine1Bottle), 13);
    EXPECT_TRUE(shows(run, kFire, 8198, -14, 24)) << "turned right";
    unturn_1_right(run);
    run.cycles(3);
    EXPECT_EQ(events(run, kEngine1Bottle), 13) << "upright: the discharge stops";
    EXPECT_TRUE(shows(run, kFire, 8192, -14, 24));
}

TEST(FirePanel, PullingShowsTheLitHandleAndSendsNothing) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    pull_1(run);
    run.cycles(2);
    EXPECT_TRUE(run.panel().key_events().empty());
    EXPECT_TRUE(shows(run, kFire, 8201, 20, 24));
    turn_1_right(run);
    run.cycles(2);
    EXPECT_FALSE(shows(run, kFire, 8201, 20, 24)) << "turning hides the pulled picture, still pulled";
    EXPECT_TRUE(shows(run, kFire, 8198, -14, 24));
    unturn_1_right(run);
    run.cycles(2);
    EXPECT_TRUE(shows(run, kFire, 8201, 20, 24)) << "back upright and still pulled";
    pull_1(run);
    run.cycles(2);
    EXPECT_FALSE(shows(run, kFire, 8201, 20, 24)) << "pushed back in";
}

TEST(FirePanel, HandleTurnsWithoutBeingPulled) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    turn_2_right(run);
    run.cycles(3);
    EXPECT_EQ(events(run, kEngine2Bottle), 3);
    EXPECT_TRUE(shows(run, kFire, 8454, 142, 24));
    EXPECT_FALSE(shows(run, kFire, 8457, 174, 24));
    pull_2(run);
    run.cycles(1);
    EXPECT_FALSE(shows(run, kFire, 8457, 174, 24));
}

TEST(FirePanel, AgentLowLightsStayDarkForAnEngineAtTwoThousand) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    vars.set_double(token::engine1_turning, 2000);
    vars.set_double(token::engine2_turning, 2000);
    turn_1_left(run);
    turn_2_right(run);
    run.cycles(2);
    EXPECT_FALSE(shows(run, kFire, 8704, 92, 8));
    EXPECT_FALSE(shows(run, kFire, 8720, 92, 30));
    vars.set_double(token::engine1_turning, 1999.9);
    run.cycles(2);
    EXPECT_TRUE(shows(run, kFire, 8704, 92, 8)) << "bottle 1 fired into a stopped engine 1";
    EXPECT_FALSE(shows(run, kFire, 8720, 92, 30));
    vars.set_double(token::engine2_turning, 0);
    run.cycles(2);
    EXPECT_TRUE(shows(run, kFire, 8720, 92, 30)) << "bottle 2 through engine 2";
}

}  // namespace
