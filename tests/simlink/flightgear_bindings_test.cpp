// The shipped binding of FlightGear's generic aircraft: each conversion into the form the modules
// read, the fixed values of tokens FlightGear has no property for, and the readings kept when an
// answer is bad.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "host/tokens.h"
#include "sim/earth.h"
#include "sim/radios.h"
#include "sim_test_support.h"
#include "simlink/engine/readings.h"
#include "simlink/flightgear/props_protocol.h"

namespace token = gauge::token;

using namespace simlink;
namespace props = simlink::fg;

namespace {

const Bindings& generic() {
    static const Bindings b = shipped_bindings("flightgear-generic");
    return b;
}
const PropertyIndex& property_index() {
    static const PropertyIndex index = build_index(generic());
    return index;
}

// Readings as FlightGear would answer them, taken as the link's transport takes them.
struct Fg {
    Readings r{property_index()};
    LinkIntent intent;
    bool take(std::size_t i, const props::Answer& a) {
        if (property_index().is_text[i]) {
            auto t = props::text_value(a);
            if (!t || !acceptable_text(*t)) return false;
            r.take_text(i, *t);
            return true;
        }
        auto v = props::number_value(a);
        if (!v) return false;
        r.take_number(i, *v);
        return true;
    }
    Fg& set(const char* path, std::string_view value, std::string_view type = "double") {
        const int i = property_index().find(path);
        EXPECT_GE(i, 0) << path;
        if (i >= 0) {
            EXPECT_TRUE(take(static_cast<std::size_t>(i), props::Answer{path, value, type})) << path;
        }
        return *this;
    }
    RecordingSink publish() const {
        RecordingSink s;
        publish_tokens(generic(), property_index(), r, intent, s);
        return s;
    }
};

}  // namespace

TEST(FlightGearBindings, EveryTokenTheModulesReadIsBoundOnce) {
    const std::set<int> read = {
        // ND
        81, 24, 31, 35, 32, 107, 45, 40, 41, 46, 44, 42, 47, 49, 39, 19, 20, 354, 55, 56, 59, 343, 344, 71, 72, 82, 86,
        // PFD
        78, 80, 61, 64, 63, 69, 74, 73, 2, 65, 335, 328, 60, 76, 109, 120, 116, 103, 104, 105, 106, 108, 110, 111, 112,
        113, 114, 115, 117, 119, 123, 124,
        // FMC, airspeed, engines, weight, oil, yaw damper, fire panel, DME, gear
        3, 4, 67, 630, 649, 624, 643, 567, 577, 625, 644, 638, 657, 138, 173, 5, 364, 761, 763, 304, 303, 305, 350, 562,
        572, 561, 571, 136, 171, 58, 331, 1, 330, 319, 332, 333, 334};
    std::multiset<int> rows;
    for (const TokenBinding& row : generic().tokens) {
        rows.insert(row.token);
        EXPECT_TRUE(row.form == Form::text || row.convert) << row.token;
    }
    for (int token : read) EXPECT_EQ(rows.count(token), 1u) << token;
}

TEST(FlightGearBindings, PositionInTheHostsUnits) {
    Fg fg;
    fg.set("/position/latitude-deg", "37.6188").set("/position/longitude-deg", "-122.375").set("/position/altitude-ft", "5000");
    fg.set("/position/ground-elev-m", "4");
    const auto s = fg.publish();
    EXPECT_NEAR(s.d.at(token::latitude) * 8.998425275576774e-06, 37.6188, 1e-9);
    double lon = s.d.at(token::longitude) * 1.2789770768341246e-12;
    if (lon >= 180) lon -= 360;
    EXPECT_NEAR(lon, -122.375, 1e-9);
    EXPECT_NEAR(s.d.at(token::altitude_m), 1524.0, 1e-9);
    EXPECT_NEAR(s.d.at(token::altitude_m) * 3.280839895013123, 5000.0, 1e-6);
    EXPECT_EQ(s.d.at(token::altitude_ft), 5000.0);
    EXPECT_EQ(s.d.at(token::ground_elevation), 4 * 256.0);
}

TEST(FlightGearBindings, HeadingsAttitudeAndVerticalSpeed) {
    Fg fg;
    fg.set("/orientation/heading-deg", "90").set("/orientation/heading-magnetic-deg", "77.7");
    fg.set("/environment/magnetic-variation-deg", "12.3").set("/orientation/pitch-deg", "5").set("/orientation/roll-deg", "-20");
    fg.set("/velocities/vertical-speed-fps", "-10").set("/velocities/mach", "0.5");
    const auto s = fg.publish();
    EXPECT_EQ(s.d.at(token::true_heading), 90.0);
    EXPECT_EQ(s.d.at(token::magnetic_heading), 77.7);
    EXPECT_EQ(s.d.at(token::magnetic_variation), 12.3);
    EXPECT_EQ(s.d.at(token::pitch), -5.0);  // nose up: negative, the horizon moves down
    EXPECT_EQ(s.d.at(token::bank), 20.0);  // left wing down: positive
    EXPECT_NEAR(s.d.at(token::vertical_speed) * 0.780288, -600.0, 1e-9);
    EXPECT_EQ(s.d.at(token::mach), 0.5 * 20480);
}

TEST(FlightGearBindings, RadiosAsTheNavigationDisplayReadsThem) {
    Fg fg;
    fg.set("/instrumentation/nav[0]/frequencies/selected-mhz", "110.9").set("/instrumentation/nav[0]/in-range", "true", "bool");
    fg.set("/instrumentation/nav[0]/nav-loc", "true", "bool").set("/instrumentation/dme/in-range", "false", "bool");
    fg.set("/instrumentation/nav[0]/from-flag", "true", "bool").set("/instrumentation/nav[0]/nav-id", "ISFO", "string");
    fg.set("/instrumentation/nav[0]/heading-needle-deflection", "-20").set("/instrumentation/nav[0]/gs-needle-deflection-norm", "0.5");
    fg.set("/instrumentation/nav[1]/nav-distance", "18520").set("/instrumentation/nav[1]/in-range", "false", "bool");
    fg.set("/instrumentation/nav[1]/heading-deg", "10").set("/orientation/heading-deg", "350");
    fg.set("/instrumentation/marker-beacon/middle", "true", "bool");
    const auto s = fg.publish();
    EXPECT_EQ(s.i.at(token::nav1_frequency), 0x1090);
    EXPECT_EQ(s.i.at(token::nav1_flags), 0x80);         // localizer, signal, no DME
    EXPECT_EQ(s.i.at(token::nav1_to_from), 0x04);         // FROM: the bit the display tests
    EXPECT_EQ(s.t.at(token::nav1_ident), "ISFO");
    EXPECT_EQ(s.d.at(token::nav1_deviation), -127.0);       // past full scale: held at the stop
    EXPECT_NEAR(s.d.at(token::glide_slope_deviation), -63.5, 1e-9);  // needle up: below the beam, negative
    EXPECT_EQ(s.d.at(token::dme2_distance), 10.0);
    EXPECT_EQ(s.i.at(token::nav2_flags), 0x08);         // NAV2 without a signal
    EXPECT_EQ(s.d.at(token::vor2_bearing), 20.0);
    EXPECT_EQ(s.d.at(token::marker), 2.0);
    EXPECT_EQ(sim::nav_frequency_bcd(117.95), 0x1795);
    EXPECT_EQ(sim::nav_frequency_bcd(108.0), 0x0800);
}

TEST(FlightGearBindings, AutopilotLocksAsSwitches) {
    Fg fg;
    auto s = fg.publish();
    for (int t : {103, 104, 105, 106, 108, 110, 111, 112, 115, 119, 123}) EXPECT_EQ(s.d.at(t), 0.0) << t;
    fg.set("/autopilot/locks/heading", "dg-heading-hold", "string").set("/autopilot/locks/altitude", "vertical-speed-hold", "string");
    fg.set("/autopilot/locks/speed", "", "none").set("/autopilot/settings/heading-bug-deg", "271", "string");
    fg.intent.autothrottle_armed = true;
    s = fg.publish();
    EXPECT_EQ(s.d.at(token::ap_master), 1.0);
    EXPECT_EQ(s.d.at(token::ap_heading_hold), 1.0);
    EXPECT_EQ(s.d.at(token::ap_altitude_hold), 1.0);
    EXPECT_EQ(s.d.at(token::ap_vertical_speed_hold), 1.0);
    EXPECT_EQ(s.d.at(token::ap_speed_hold), 0.0);
    EXPECT_EQ(s.d.at(token::autothrottle_armed), 1.0);
    EXPECT_EQ(s.d.at(token::ap_heading), 271.0);
    fg.set("/autopilot/locks/heading", "nav1-hold", "string").set("/instrumentation/nav[0]/nav-loc", "true", "bool");
    s = fg.publish();
    EXPECT_EQ(s.d.at(token::ap_localizer_hold), 1.0);
    EXPECT_EQ(s.d.at(token::ap_nav_hold), 0.0);
}

TEST(FlightGearBindings, EnginesFuelGearAndFlaps) {
    Fg fg;
    auto s = fg.publish();
    // Before FlightGear answers (or for an aircraft without them): idle engines, gear down, power on.
    EXPECT_EQ(s.d.at(token::engine1_epr), 1.0);
    EXPECT_EQ(s.d.at(token::gear_lever), 16383.0);
    EXPECT_EQ(s.d.at(token::nose_gear), 16383.0);
    EXPECT_EQ(s.d.at(token::power_bus1), 1.0);
    EXPECT_EQ(s.d.at(token::altimeter_setting), 29.92);
    fg.set("/engines/engine[1]/egt-degf", "1000").set("/engines/engine[0]/oil-pressure-psi", "40");
    fg.set("/engines/engine[0]/fuel-flow-gph", "100").set("/consumables/fuel/tank[2]/level-lbs", "6601.6");
    fg.set("/gear/gear[1]/position-norm", "0.5").set("/controls/gear/gear-down", "false", "bool");
    fg.set("/controls/flight/flaps", "1.5").set("/engines/engine[0]/n2", "50");
    s = fg.publish();
    EXPECT_NEAR(s.d.at(token::engine2_egt), 1459.67, 1e-9);
    EXPECT_EQ(s.d.at(token::engine1_oil_pressure), 5760.0);
    EXPECT_NEAR(s.d.at(token::engine1_fuel_flow), 660.16, 1e-9);
    EXPECT_EQ(s.d.at(token::engine1_fuel_flow), s.d.at(token::engine1_fuel_flow_used));
    EXPECT_NEAR(s.d.at(token::centre_tank), 1000.0, 1e-9);
    EXPECT_EQ(s.d.at(token::left_gear), 8192.0);
    EXPECT_EQ(s.d.at(token::gear_lever), 0.0);
    EXPECT_EQ(s.d.at(token::flap_handle), 16383.0);  // a handle beyond its travel is held at the stop
    EXPECT_EQ(s.d.at(token::engine1_turning), 8192.0);
}

TEST(FlightGearBindings, BadAnswersKeepTheLastGoodValue) {
    Fg fg;
    fg.set("/position/altitude-ft", "5000");
    const auto i = static_cast<std::size_t>(property_index().find("/position/altitude-ft"));
    EXPECT_FALSE(fg.take(i, props::Answer{"/position/altitude-ft", "banana", "double"}));
    EXPECT_FALSE(fg.take(i, props::Answer{"/position/altitude-ft", "", "unknown"}));
    EXPECT_FALSE(fg.take(i, props::Answer{"/position/altitude-ft", "nan", "double"}));
    EXPECT_EQ(fg.publish().d.at(token::altitude_ft), 5000.0);
    const auto id = static_cast<std::size_t>(property_index().find("/instrumentation/nav[0]/nav-id"));
    fg.set("/instrumentation/nav[0]/nav-id", "SFO", "string");
    EXPECT_FALSE(fg.take(id, props::Answer{"/instrumentation/nav[0]/nav-id", "\x1b[2J", "string"}));
    EXPECT_EQ(fg.publish().t.at(token::nav1_ident), "SFO");
}
