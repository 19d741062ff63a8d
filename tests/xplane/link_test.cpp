// The X-Plane link against the stand-in X-Plane: values follow at full subscription, targets go
// out as DREF and switches as commands until X-Plane's modes follow, a stopped X-Plane is reported
// once and found again (subscribing anew), and packets malformed or from elsewhere change nothing.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "fake_xplane.h"
#include "host/key_events.h"
#include "host/tokens.h"
#include "platform/message_box.h"
#include "sim_test_support.h"
#include "simlink/engine/link.h"
#include "simlink/xplane/udp_transport.h"

namespace event = gauge::event;
namespace token = gauge::token;

using namespace simlink;

namespace {

std::unique_ptr<Link> make_link(int port) {
    xp::UdpOptions u;
    u.host = "127.0.0.1";
    u.port = port;
    u.rate_hz = 50;
    LinkOptions o;
    o.rate_hz = 50;
    o.answer_timeout_ms = 500;
    o.retry_ms = 50;
    return std::make_unique<Link>(shipped_bindings("xplane"), std::make_unique<xp::UdpTransport>(u), o);
}

int count_logged(std::string_view part) {
    int n = 0;
    for (const auto& m : plat::message_log()) n += m.caption == "X-Plane link" && m.text.find(part) != std::string::npos;
    return n;
}

void send_from(const char* address, int port, const std::string& packet) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, address, &local.sin_addr);
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    ::inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    ::sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ::close(fd);
}

}  // namespace

TEST(XPlaneLink, ValuesFollowEverySubscription) {
    plat::clear_message_log();
    FakeXPlane x;
    x.set("sim/cockpit2/gauges/indicators/airspeed_kts_pilot", 231);
    x.set("sim/cockpit2/engine/indicators/N1_percent[1]", 87.5f);
    x.set("sim/cockpit2/radios/actuators/nav1_frequency_hz", 10850);
    x.set_text("sim/cockpit2/radios/indicators/nav1_nav_id", "ISFO");
    auto link = make_link(x.port());
    RecordingSink sink;
    ASSERT_TRUE(publish_until(*link, sink, [&] { return sink.t[token::nav1_ident] == "ISFO" && sink.d[token::engine2_n1] == 87.5; }));
    EXPECT_EQ(sink.d[token::indicated_airspeed], 231.0);
    EXPECT_EQ(sink.i[token::nav1_frequency], 0x0850);
    EXPECT_EQ(x.subscriptions(), link->index().paths.size() - 3 + 3 * 8);  // three texts, eight bytes each
    EXPECT_EQ(count_logged("Connected to X-Plane at 127.0.0.1:"), 1);
}

TEST(XPlaneLink, TargetsAreWrittenAndSwitchesCommandedUntilTheModesFollow) {
    FakeXPlane x;
    x.set("sim/cockpit2/autopilot/heading_dial_deg_mag_pilot", 100);
    x.set("sim/cockpit2/gauges/indicators/heading_AHARS_deg_mag_pilot", 100);
    auto link = make_link(x.port());
    RecordingSink sink;
    ASSERT_TRUE(publish_until(*link, sink, [&] { return sink.d[token::ap_heading] == 100.0; }));
    for (int k = 0; k < 20; ++k) link->apply_key_event(event::heading_bug_up, 0);
    link->apply_key_event(event::ap_master_on, 0);
    link->apply_key_event(event::heading_hold_on, 0);
    ASSERT_TRUE(publish_until(*link, sink, [&] {
        return sink.d[token::ap_master] == 1.0 && sink.d[token::ap_heading_hold] == 1.0 && sink.d[token::ap_heading] == 120.0;
    }));
    EXPECT_EQ(x.value("sim/cockpit2/autopilot/heading_dial_deg_mag_pilot"), 120.0f);
    // The stand-in turns toward the dial once X-Plane's autopilot has the heading.
    ASSERT_TRUE(publish_until(*link, sink, [&] { return sink.d[token::magnetic_heading] > 101.0; }));
    // Each mode was commanded once: the link waits for the state before it asks again.
    int servos = 0, heading = 0;
    for (const auto& c : x.commands()) {
        servos += c == "sim/autopilot/servos_toggle";
        heading += c == "sim/autopilot/heading";
    }
    EXPECT_EQ(servos, 1);
    EXPECT_EQ(heading, 1);
    link->apply_key_event(event::ap_master_off, 0);
    ASSERT_TRUE(publish_until(*link, sink, [&] { return sink.d[token::ap_master] == 0.0; }));
}

TEST(XPlaneLink, AStoppedXPlaneIsReportedOnceAndSubscribedAnewWhenBack) {
    plat::clear_message_log();
    FakeXPlane x;
    x.set("sim/cockpit2/gauges/indicators/altitude_ft_pilot", 5000);
    auto link = make_link(x.port());
    RecordingSink sink;
    ASSERT_TRUE(publish_until(*link, sink, [&] { return sink.d[token::altitude_ft] == 5000.0; }));
    x.stop();
    ASSERT_TRUE(publish_until(*link, sink, [&] { return link->state() == LinkState::lost; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    link->publish(sink);
    EXPECT_EQ(count_logged("Lost X-Plane at 127.0.0.1:"), 1);
    EXPECT_EQ(sink.d[token::altitude_ft], 5000.0);  // the last values stay
    // Back with a new aircraft: nothing subscribed until the link asks again.
    x.forget_subscriptions();
    x.set("sim/cockpit2/gauges/indicators/altitude_ft_pilot", 5200);
    x.start();
    ASSERT_TRUE(publish_until(*link, sink, [&] { return sink.d[token::altitude_ft] == 5200.0; }));
    EXPECT_EQ(count_logged("answers again"), 1);
}

TEST(XPlaneLink, NoXPlaneIsAClearMessage) {
    plat::clear_message_log();
    FakeXPlane x;
    x.stop();
    auto link = make_link(x.port());
    RecordingSink sink;
    ASSERT_TRUE(publish_until(*link, sink, [&] { return count_logged("No X-Plane at 127.0.0.1:" + std::to_string(x.port())) == 1; }));
    EXPECT_EQ(sink.d[token::altimeter_setting], 29.92);  // the binding's values until X-Plane answers
    EXPECT_EQ(link->state(), LinkState::waiting);
}

TEST(XPlaneLink, PacketsMalformedOrFromElsewhereChangeNothing) {
    FakeXPlane x;
    x.stop();  // only the packets below reach the transport
    const Bindings b = shipped_bindings("xplane");
    const PropertyIndex index = build_index(b);
    xp::UdpOptions u;
    u.host = "127.0.0.1";
    u.port = x.port();
    xp::UdpTransport t(u);
    std::string why;
    ASSERT_TRUE(t.open(index, why)) << why;
    Readings r(index);
    std::atomic<bool> stop{false};
    auto cycle = [&] {
        return t.exchange({}, r, std::chrono::steady_clock::now() + std::chrono::milliseconds(100), stop, why);
    };
    cycle();  // sends the subscriptions, so the socket has its port
    const int altitude = index.find("sim/cockpit2/gauges/indicators/altitude_ft_pilot");
    ASSERT_GE(altitude, 0);
    std::string forged("RREF,", 5);
    for (std::uint32_t v : {static_cast<std::uint32_t>(altitude), 0x461C4000u /* 10000.0f */})
        for (int i = 0; i < 4; ++i) forged += static_cast<char>((v >> (8 * i)) & 0xFF);
    // From another address on this machine: not the X-Plane the link talks to.
    send_from("127.0.0.2", t.local_port(), forged);
    // From the right address but cut short, of another tag, or empty.
    send_from("127.0.0.1", t.local_port(), forged.substr(0, forged.size() - 1));
    send_from("127.0.0.1", t.local_port(), "DATA*" + forged.substr(5));
    send_from("127.0.0.1", t.local_port(), "");
    EXPECT_EQ(cycle(), Exchange::quiet);
    EXPECT_FALSE(r.answered[static_cast<std::size_t>(altitude)]);
    EXPECT_GE(t.counts().ignored_in, 3u);
    // The same reply from the right address counts.
    send_from("127.0.0.1", t.local_port(), forged);
    EXPECT_EQ(cycle(), Exchange::answered);
    EXPECT_EQ(r.numbers[static_cast<std::size_t>(altitude)], 10000.0);
}

TEST(XPlaneLink, WithoutAnAddressTheBeaconSaysWhereXPlaneListens) {
    FakeXPlane x;
    x.set("sim/cockpit2/gauges/indicators/altitude_ft_pilot", 7000);
    // A port for the beacon that nobody else uses: the stand-in's beacon goes there, unicast.
    int beacon_port;
    {
        FakeXPlane probe;
        beacon_port = probe.port();
    }
    std::atomic<bool> stop{false};
    std::thread beacon([&] {
        xp::Beacon b;
        b.major = 1;
        b.minor = 2;
        b.host_id = 1;
        b.version = 120100;
        b.role = 1;
        b.port = static_cast<std::uint16_t>(x.port());
        b.computer = "standin";
        while (!stop) {
            send_from("127.0.0.1", beacon_port, "BECN\0" + std::string("garbage"));  // not a beacon
            send_from("127.0.0.1", beacon_port, xp::beacon_packet(b));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    xp::UdpOptions u;
    u.beacon_port = beacon_port;
    u.beacon_wait_ms = 3000;
    LinkOptions o;
    o.rate_hz = 50;
    Link link(shipped_bindings("xplane"), std::make_unique<xp::UdpTransport>(u), o);
    RecordingSink sink;
    EXPECT_TRUE(publish_until(link, sink, [&] { return sink.d[token::altitude_ft] == 7000.0; }));
    stop = true;
    beacon.join();
}

TEST(XPlaneLink, WithoutABeaconTheDefaultAddressIsTried) {
    plat::clear_message_log();
    xp::UdpOptions u;
    u.beacon_port = 1;  // nobody announces anything there
    u.beacon_wait_ms = 100;
    LinkOptions o;
    o.answer_timeout_ms = 300;
    Link link(shipped_bindings("xplane"), std::make_unique<xp::UdpTransport>(u), o);
    RecordingSink sink;
    EXPECT_TRUE(publish_until(link, sink, [&] { return count_logged("No X-Plane at 127.0.0.1:49000") == 1; }));
}

TEST(XPlaneLink, ThePositionComesAtFullPrecision) {
    FakeXPlane x;
    // A float holds this latitude only to about 4e-6 degrees, half a metre; RPOS's doubles hold it.
    const double lat = 37.618817234, lon = -122.375423987;
    x.set_position(lat, lon);
    auto link = make_link(x.port());
    RecordingSink sink;
    ASSERT_TRUE(publish_until(*link, sink, [&] {
        return std::abs(sink.d[token::latitude] * 8.998425275576774e-06 - lat) < 1e-8;
    })) << sink.d[token::latitude] * 8.998425275576774e-06;
    double got_lon = sink.d[token::longitude] * 1.2789770768341246e-12;
    if (got_lon >= 180) got_lon -= 360;
    EXPECT_NEAR(got_lon, lon, 1e-8);
    // The float replies that come with them do not undo it.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    link->publish(sink);
    EXPECT_NEAR(sink.d[token::latitude] * 8.998425275576774e-06, lat, 1e-8);
}
