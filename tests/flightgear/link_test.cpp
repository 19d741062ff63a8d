// The link end to end against a stand-in property server: values follow, writes arrive, a server
// that goes away is reported once and found again, and rubbish from it changes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>

#include "fake_props_server.h"
#include "host/key_events.h"
#include "host/tokens.h"
#include "platform/message_box.h"
#include "sim_test_support.h"
#include "simlink/engine/link.h"
#include "simlink/engine/sim_option.h"
#include "simlink/flightgear/props_transport.h"

namespace event = gauge::event;
namespace token = gauge::token;

using namespace simlink;
using simlink::fg::PropsOptions;
using simlink::fg::PropsTransport;

namespace {

// A link to the stand-in server with the shipped generic binding, quick to give up and retry.
std::unique_ptr<Link> make_link(int port) {
    PropsOptions p;
    p.port = port;
    p.connect_timeout_ms = 200;
    p.answer_timeout_ms = 400;
    LinkOptions o;
    o.rate_hz = 100;
    o.answer_timeout_ms = 400;
    o.retry_ms = 50;
    return std::make_unique<Link>(shipped_bindings("flightgear-generic"), std::make_unique<PropsTransport>(p), o);
}

bool logged(std::string_view part) {
    for (const auto& m : plat::message_log())
        if (m.caption == "FlightGear link" && m.text.find(part) != std::string::npos) return true;
    return false;
}

int count_sets(const FakePropsServer& s, const std::string& what) {
    int n = 0;
    for (const auto& line : s.sets()) n += line == what;
    return n;
}

}  // namespace

TEST(FlightGearLink, ValuesFollowTheServer) {
    plat::clear_message_log();
    FakePropsServer server;
    server.set("/orientation/heading-magnetic-deg", "90");
    server.set("/instrumentation/nav[0]/nav-id", "SFO", "string");
    auto made = make_link(server.port());
    Link& link = *made;
    RecordingSink sink;
    ASSERT_TRUE(publish_until(link, sink, [&] { return sink.d[token::magnetic_heading] == 90.0; }));
    EXPECT_EQ(sink.t[token::nav1_ident], "SFO");
    EXPECT_EQ(link.state(), LinkState::up);
    EXPECT_TRUE(logged("Connected to FlightGear at 127.0.0.1:"));
    server.set("/orientation/heading-magnetic-deg", "91.5");
    EXPECT_TRUE(publish_until(link, sink, [&] { return sink.d[token::magnetic_heading] == 91.5; }));
}

TEST(FlightGearLink, KeyEventsArriveAsWritesWithoutLosingSteps) {
    FakePropsServer server;
    server.set("/autopilot/settings/heading-bug-deg", "10");
    auto made = make_link(server.port());
    Link& link = *made;
    RecordingSink sink;
    ASSERT_TRUE(publish_until(link, sink, [&] { return sink.d[token::ap_heading] == 10.0; }));
    // Three steps in a row, faster than any poll: each counts from the one before.
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(link.apply_key_event(event::heading_bug_up, 0));
    ASSERT_TRUE(publish_until(link, sink, [&] { return sink.d[token::ap_heading] == 13.0; }));
    EXPECT_EQ(server.value("/autopilot/settings/heading-bug-deg"), "13");
    // The master and a hold become the generic autopilot's lock, written once.
    link.apply_key_event(event::heading_hold_on, 0);
    link.apply_key_event(event::ap_master_on, 0);
    link.apply_key_event(event::heading_hold_on, 0);
    ASSERT_TRUE(publish_until(link, sink, [&] { return sink.d[token::ap_heading_hold] == 1.0 && sink.d[token::ap_master] == 1.0; }));
    EXPECT_EQ(count_sets(server, "/autopilot/locks/heading dg-heading-hold"), 1);
    link.apply_key_event(event::ap_master_off, 0);
    ASSERT_TRUE(publish_until(link, sink, [&] { return sink.d[token::ap_heading_hold] == 0.0 && sink.d[token::ap_master] == 0.0; }));
    EXPECT_EQ(server.value("/autopilot/locks/heading"), "");
    EXPECT_FALSE(link.apply_key_event(65538, 0));
}

TEST(FlightGearLink, LostServerIsReportedOnceAndFoundAgain) {
    plat::clear_message_log();
    FakePropsServer server;
    server.set("/position/altitude-ft", "5000");
    auto made = make_link(server.port());
    Link& link = *made;
    RecordingSink sink;
    ASSERT_TRUE(publish_until(link, sink, [&] { return sink.d[token::altitude_ft] == 5000.0; }));
    server.drop();
    ASSERT_TRUE(publish_until(link, sink, [&] { return link.state() == LinkState::lost; }));
    link.publish(sink);
    EXPECT_TRUE(logged("Lost FlightGear at 127.0.0.1:"));
    EXPECT_EQ(sink.d[token::altitude_ft], 5000.0);  // the last values stay
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    link.publish(sink);
    int lost = 0;
    for (const auto& m : plat::message_log()) lost += m.text.find("Lost FlightGear") != std::string::npos;
    EXPECT_EQ(lost, 1);  // said once, not at every retry
    server.set("/position/altitude-ft", "5200");
    server.come_back();
    ASSERT_TRUE(publish_until(link, sink, [&] { return sink.d[token::altitude_ft] == 5200.0; }));
    EXPECT_TRUE(logged("answers again"));
}

TEST(FlightGearLink, NoServerIsAClearMessageAndThePanelRunsOn) {
    plat::clear_message_log();
    int port;
    {
        FakePropsServer probe;  // a port that nobody listens on once it is gone
        port = probe.port();
    }
    auto made = make_link(port);
    Link& link = *made;
    RecordingSink sink;
    ASSERT_TRUE(publish_until(link, sink, [&] { return logged("No FlightGear at 127.0.0.1:" + std::to_string(port)); }));
    EXPECT_TRUE(logged("--props=socket,bi,60,," + std::to_string(port) + ",tcp"));
    EXPECT_EQ(sink.d[token::altimeter_setting], 29.92);  // the table's values until FlightGear answers
    EXPECT_EQ(link.state(), LinkState::waiting);
}

TEST(FlightGearLink, RubbishFromTheServerIsRejectedFieldByField) {
    FakePropsServer server;
    server.set("/position/altitude-ft", "5000");
    server.set("/orientation/heading-deg", "45");
    server.set("/orientation/pitch-deg", "3");
    auto made = make_link(server.port());
    Link& link = *made;
    RecordingSink sink;
    ASSERT_TRUE(publish_until(link, sink, [&] { return sink.d[token::altitude_ft] == 5000.0 && sink.d[token::true_heading] == 45.0 && sink.d[token::pitch] == -3.0; }));
    server.answer_with([](const std::string& line) -> std::string {
        if (line == "get /position/altitude-ft") return "/position/altitude-ft = 'lots' (double)\r\n\x01\x02garbage\n/> ";
        if (line == "get /orientation/heading-deg") return "/orientation/heading-deg = '46' (dou";  // cut short
        if (line == "get /orientation/pitch-deg") return "/orientation/pitch-deg = 'up' (string)\r\n/> ";
        return "";
    });
    server.set("/orientation/roll-deg", "10");
    ASSERT_TRUE(publish_until(link, sink, [&] { return sink.d[token::bank] == -10.0; }));
    const std::uint64_t before = link.answers();
    ASSERT_TRUE(publish_until(link, sink, [&] { return link.answers() > before + 3; }));
    EXPECT_EQ(sink.d[token::altitude_ft], 5000.0);
    EXPECT_EQ(sink.d[token::true_heading], 45.0);  // the half line, run into the next answer, is neither
    EXPECT_EQ(sink.d[token::pitch], -3.0);
    EXPECT_EQ(link.state(), LinkState::up);
}

TEST(FlightGearLink, SimOptionNamesSimulatorHostAndPort) {
    std::string why;
    auto a = parse_sim_option("flightgear", why);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->simulator, Simulator::flightgear);
    EXPECT_EQ(a->host, "");  // the transport's own default
    EXPECT_EQ(a->port, 0);
    a = parse_sim_option("flightgear=fgbox", why);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "fgbox");
    a = parse_sim_option("flightgear=10.0.0.2:5500", why);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "10.0.0.2");
    EXPECT_EQ(a->port, 5500);
    a = parse_sim_option("flightgear=[::1]:5402", why);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "::1");
    a = parse_sim_option("xplane=192.168.1.20:49010", why);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->simulator, Simulator::xplane);
    EXPECT_EQ(a->port, 49010);
    a = parse_sim_option("xplane", why);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "");
    for (const char* bad : {"prepar3d", "flightgear=", "flightgear=host:", "flightgear=host:0", "flightgear=host:70000",
                            "flightgear=host:12a", "flightgear=a b", "flightgear=[::1", "flightgearx", "xplanes",
                            "xplane=", "xplane=h:99999"}) {
        why.clear();
        EXPECT_FALSE(parse_sim_option(bad, why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
}

using Idents = std::vector<std::string>;
const std::string rm_path = "/autopilot/route-manager/";

TEST(FlightGearLink, ARouteNotYetSentIsReplacedWhole) {
    // No server on this port while the two routes are put: only the second one is ever sent.
    FakePropsServer server;
    server.route_manager([](FakeRouteManager& rm) {
        rm.know_airport("KSFO", 37.62, -122.38, {"28L"});
        rm.know_airport("KLAX", 33.94, -118.41);
        rm.know_airport("KSJC", 37.36, -121.93, {"30L"});
        rm.know_point("SFO", 37.62, -122.37);
        rm.know_point("OSI", 37.39, -122.28);
    });
    server.drop();
    auto link = make_link(server.port());
    link->put_route({{"APT", "KSFO", {}}, {"VOR", "SFO", {}}, {"APT", "KLAX", {}}});
    link->put_route({{"APT", "KSFO", {}}, {"VOR", "OSI", {}}, {"APT", "KSJC", {}}}, {"28L", "30L"});
    server.come_back();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end && server.value(rm_path + "current-wp") != "1")
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(server.route_manager([](FakeRouteManager& rm) { return rm.idents(); }),
              (Idents{"KSFO-28L", "OSI", "KSJC-30L"}));
    EXPECT_EQ(server.value(rm_path + "active"), "true");
    const auto sets = server.sets();
    for (const std::string& first_only : {rm_path + "input SFO", rm_path + "destination/airport KLAX"})
        EXPECT_EQ(std::find(sets.begin(), sets.end(), first_only), sets.end()) << "the first route was sent: " << first_only;
}
