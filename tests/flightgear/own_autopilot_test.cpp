// The README's binding file for a FlightGear airliner whose autopilot keeps its own properties,
// against the stand-in property server: the panel's targets and switches reach that autopilot and
// never the generic locks, its state comes back to the panel, and the instruments stay the
// generic file's.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "fake_props_server.h"
#include "host/key_events.h"
#include "host/tokens.h"
#include "sim_test_support.h"
#include "simlink/engine/link.h"
#include "simlink/flightgear/props_transport.h"

namespace event = gauge::event;
namespace token = gauge::token;

using namespace simlink;

namespace {

// The binding file as the README shows it.
std::string readme_binding() {
    std::ifstream in(std::string(README_PATH));
    std::stringstream s;
    s << in.rdbuf();
    const std::string text = s.str();
    const std::string start = "```\nsimulator flightgear\nbase flightgear-generic\n";
    const std::size_t at = text.find(start);
    if (at == std::string::npos) return {};
    const std::size_t end = text.find("```", at + 3);
    return text.substr(at + 4, end - at - 4);
}

}  // namespace

TEST(OwnAutopilotBinding, TheReadmesFileFliesTheAircraftsOwnAutopilot) {
    const std::string text = readme_binding();
    ASSERT_FALSE(text.empty()) << "the README's binding file";
    const auto file = std::filesystem::temp_directory_path() / "own_autopilot_binding";
    std::ofstream(file) << text;
    auto bindings = load_bindings(file.string(), SHIPPED_SIM_DIR);
    ASSERT_TRUE(bindings) << bindings.error();
    EXPECT_TRUE(bindings->locks.empty());

    FakePropsServer server;
    server.set("/it-autoflight/input/hdg", "200");
    server.set("/position/altitude-ft", "12000");
    fg::PropsOptions p;
    p.port = server.port();
    LinkOptions o;
    o.rate_hz = 100;
    Link link(std::move(bindings).value(), std::make_unique<fg::PropsTransport>(p), o);
    RecordingSink sink;
    ASSERT_TRUE(publish_until(link, sink, [&] { return sink.d[token::ap_heading] == 200.0 && sink.d[token::altitude_ft] == 12000.0; }));
    link.apply_key_event(event::heading_bug_up, 0);
    link.apply_key_event(event::ap_master_on, 0);
    link.apply_key_event(event::heading_hold_on, 0);
    link.apply_key_event(event::speed_set, 280);
    ASSERT_TRUE(publish_until(link, sink, [&] {
        return server.value("/it-autoflight/input/ap1") == "1" && server.value("/it-autoflight/input/lat") == "0" &&
               server.value("/it-autoflight/input/kts") == "280";
    }));
    EXPECT_EQ(server.value("/it-autoflight/input/hdg"), "201");
    // The aircraft's autopilot answers; the panel shows its state.
    server.set("/it-autoflight/output/ap1", "1");
    EXPECT_TRUE(publish_until(link, sink, [&] { return sink.d[token::ap_master] == 1.0 && sink.d[token::ap_heading] == 201.0; }));
    link.apply_key_event(event::ap_master_off, 0);
    ASSERT_TRUE(publish_until(link, sink, [&] { return server.value("/it-autoflight/input/ap1") == "0"; }));
    for (const std::string& set : server.sets()) EXPECT_NE(set.rfind("/autopilot/locks/", 0), 0u) << set;
    std::filesystem::remove(file);
}
