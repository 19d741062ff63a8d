// The landing watch over the aircraft's state: the lines a landing gives, measured from the landing
// threshold, the runway it stopped on, and the single line of a crash after which it watches no more.

#include <gtest/gtest.h>

#include <string>

#include "reports/landing_watch.h"
#include "shipped_world.h"
#include "sim/units.h"

namespace {

class Watched {
public:
    Watched() {
        aircraft.log = nullptr;
        aircraft.use_world(shipped_world());
    }

    const sim::RunwayEnd& runway(const char* airport, const char* designator) {
        const sim::RunwayEnd* r = aircraft.world()->runway(airport, designator);
        EXPECT_TRUE(r) << airport << " " << designator;
        return *r;
    }
    // The aircraft at a point of the runway, right of the centre line by right_ft.
    static sim::LatLon on(const sim::RunwayEnd& r, double past_landing_threshold_ft, double right_ft = 0) {
        const sim::LatLon p = sim::travel(r.landing_threshold(), r.heading_deg(), past_landing_threshold_ft / sim::feet_per_nm);
        return right_ft == 0 ? p : sim::travel(p, r.heading_deg() + 90.0, right_ft / sim::feet_per_nm);
    }
    void touch_down(double t, sim::LatLon p, double heading, double sink_fpm = 180) {
        sim::AircraftState& s = aircraft.state();
        s.on_ground = true;
        s.position = p;
        s.true_heading_deg = heading;
        s.ground_speed_kt = s.ias_kt = 140;
        s.touchdown = sim::Touchdown{t, p, heading, sink_fpm, 140, 140};
    }
    void roll_to(sim::LatLon p, double ground_speed_kt) {
        aircraft.state().position = p;
        aircraft.state().ground_speed_kt = ground_speed_kt;
    }
    std::vector<std::string> poll() { return watch.poll(aircraft); }

    sim::Aircraft aircraft;
    reports::LandingWatch watch;
};

bool has(const std::string& line, const std::string& words) { return line.find(words) != std::string::npos; }

TEST(LandingWatch, ALandingIsMeasuredFromTheLandingThresholdAndStopsOnItsRunway) {
    struct Case {
        const char *airport, *runway, *threshold;
    };
    const Case cases[] = {{"KLAX", "24R", "the threshold"},
                          {"KJFK", "13R", "the displaced threshold (2605 ft down the runway)"},
                          {"EGLL", "09L", "the displaced threshold (1004 ft down the runway)"},
                          {"KDEN", "16R", "the threshold"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.airport + std::string(" ") + c.runway);
        Watched w;
        const sim::RunwayEnd& r = w.runway(c.airport, c.runway);
        w.touch_down(50.0, Watched::on(r, 1500, 3.0), r.heading_deg());
        auto lines = w.poll();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("t=50.0 s touchdown on " + r.airport + " " + r.designator + ": 1500 ft past " + c.threshold +
                                     ", 0.9 m right of the centre line, sink 180 ft/min",
                                 0),
                  0u)
            << lines[0];
        ASSERT_TRUE(w.watch.last_landing());
        EXPECT_NEAR(w.watch.last_landing()->past_threshold_ft, 1500, 1);
        w.roll_to(Watched::on(r, 4000, -2.0), 60);
        EXPECT_TRUE(w.poll().empty());
        w.roll_to(Watched::on(r, 5000, -3.28), 0);
        lines = w.poll();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(has(lines[0], "stopped on " + r.airport + " " + r.designator + ": 5000 ft past " + c.threshold)) << lines[0];
        EXPECT_TRUE(has(lines[0], " m left of the centre line")) << lines[0];
        EXPECT_TRUE(w.watch.stopped_on_runway());
        EXPECT_FALSE(w.watch.crash());
        EXPECT_EQ(w.watch.lines().size(), 2u);
    }
}

TEST(LandingWatch, ACrashIsOneLineAndEndsTheWatch) {
    Watched w;
    const sim::RunwayEnd& r = w.runway("KSFO", "28R");
    // Into the ground a mile and a half short, on the extended centre line.
    w.touch_down(812.4, Watched::on(r, -1.5 * sim::feet_per_nm), r.heading_deg(), 1100);
    const auto lines = w.poll();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("t=812.4 s crash: touched down 1.5 NM short of KSFO 28R's landing threshold", 0), 0u) << lines[0];
    EXPECT_TRUE(has(lines[0], "sink 1100 ft/min, 140 kt")) << lines[0];
    ASSERT_TRUE(w.watch.crash());
    EXPECT_EQ(*w.watch.crash(), lines[0]);
    // Whatever the wreck does after, nothing more is told.
    w.touch_down(830, Watched::on(r, 1000), r.heading_deg());
    EXPECT_TRUE(w.poll().empty());
    w.roll_to(Watched::on(r, 1000), 0);
    EXPECT_TRUE(w.poll().empty());
    EXPECT_EQ(w.watch.lines().size(), 1u);
    EXPECT_FALSE(w.watch.stopped());
}

TEST(LandingWatch, RunningOffTheEndIsACrash) {
    Watched w;
    const sim::RunwayEnd& r = w.runway("EDDF", "25C");
    w.touch_down(10, Watched::on(r, 1200), r.heading_deg());
    ASSERT_EQ(w.poll().size(), 1u);
    w.roll_to(Watched::on(r, r.landing_distance_ft() - 100), 40);
    EXPECT_TRUE(w.poll().empty());
    w.roll_to(Watched::on(r, r.landing_distance_ft() + 30), 35);
    const auto lines = w.poll();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(has(lines[0], "crash: ran off the end of EDDF 25C at 35 kt")) << lines[0];
    EXPECT_TRUE(w.watch.crash());
}

TEST(LandingWatch, AHardLandingThatTheGearTakesIsSaidAndGoesOn) {
    Watched w;
    const sim::RunwayEnd& r = w.runway("KSEA", "16L");
    w.touch_down(10, Watched::on(r, 1200), r.heading_deg(), 680);
    const auto lines = w.poll();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(has(lines[0], "a hard landing")) << lines[0];
    EXPECT_FALSE(w.watch.crash());
}

}  // namespace
