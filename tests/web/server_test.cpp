// The browser server in the real host, driven cycle by cycle: what a page is sent (the whole window,
// then only changes, nothing when idle), its clicks reaching the gauges, and pages that misbehave or
// vanish leaving the panel and the other pages as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "panelhost/panel.h"
#include "panelhost/session.h"
#include "platform/keyboard.h"
#include "tests/web/ws_client.h"
#include "panelhost/browser_source.h"
#include "web/panel_server.h"

namespace {

namespace fs = std::filesystem;
using webtest::Message;
using webtest::WsClient;

constexpr int kFmcWindow = 1;

class WebServer : public ::testing::Test {
protected:
    void SetUp() override {
        panelhost::SessionOptions options;
        options.out = (fs::temp_directory_path() / "panel_tests" /
                       ("Web." + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
                          .string();
        options.panel = panelhost::default_data_dir() + "/panel/screens.cfg";
        fs::remove_all(options.out);
        auto s = panelhost::Session::open(options);
        ASSERT_TRUE(s) << s.error();
        session = std::move(s).value();
        web::WebOptions w;
        w.listen.port = 0;
        auto server_or = panelhost::serve_in_browser(*session, w);
        ASSERT_TRUE(server_or) << server_or.error();
        server = std::move(server_or).value();
        ASSERT_GT(server->port(), 0);
    }
    void TearDown() override {
        server.reset();
        if (session) session->finish();
    }

    // Steps the panel until the client has a message of the kind (at most `cycles` cycles).
    std::optional<Message> next(WsClient& c, int opcode, int cycles = 60) {
        for (int i = 0; i < cycles; ++i) {
            session->step();
            while (auto m = c.receive(20))
                if (m->opcode == opcode) return m;
            if (!c.open()) return std::nullopt;
        }
        return std::nullopt;
    }

    panelhost::Window& fmc_window() {
        for (auto& w : session->panel().windows())
            if (w->config.number == kFmcWindow) return *w;
        throw std::runtime_error("no FMC window");
    }

    std::unique_ptr<panelhost::Session> session;
    std::unique_ptr<web::PanelWebServer> server;
};

// The rectangles of a picture message.
std::vector<web::Area> rects_of(const Message& m) {
    auto u16 = [&](std::size_t at) { return m.data[at] | m.data[at + 1] << 8; };
    std::vector<web::Area> out;
    if (m.data.size() < 8 || m.data[0] != 'P' || m.data[1] != 'F') return out;
    std::size_t at = 8;
    for (int i = 0; i < u16(2) && at + 12 <= m.data.size(); ++i) {
        out.push_back({u16(at), u16(at + 2), u16(at + 4), u16(at + 6)});
        at += 12 + (m.data[at + 8] | m.data[at + 9] << 8 | m.data[at + 10] << 16 | std::size_t(m.data[at + 11]) << 24);
    }
    return out;
}

TEST_F(WebServer, APageGetsTheWholeWindowThenOnlyChangesAndItsClicksWork) {
    WsClient page(server->port(), "/ws/1");
    ASSERT_TRUE(page.open()) << page.status();
    auto hello = next(page, 1);
    ASSERT_TRUE(hello);
    const std::string greeting(hello->data.begin(), hello->data.end());
    EXPECT_NE(greeting.find("\"title\":\"FMC\",\"width\":282,\"height\":280"), std::string::npos) << greeting;
    auto first = next(page, 2);
    ASSERT_TRUE(first);
    ASSERT_EQ(rects_of(*first), (std::vector<web::Area>{{0, 0, 282, 280}}));

    // The FMC shows its MENU page and nothing moves: nothing is sent, however long.
    for (int i = 0; i < 40; ++i) {
        session->step();
        auto m = page.receive(5);
        ASSERT_FALSE(m && m->opcode == 2) << "a picture sent while the window was idle";
    }

    // L1 from the page: the LOAD page, sent as the FMC's rectangle only.
    const std::uint64_t frames = server->stats().frames_sent;
    ASSERT_TRUE(page.send_text("press 16 43"));
    ASSERT_TRUE(page.send_text("release"));
    auto changed = next(page, 2);
    ASSERT_TRUE(changed);
    for (const auto& r : rects_of(*changed)) {
        EXPECT_GE(r.x, 0);
        EXPECT_LE(r.x + r.w, 282);
        EXPECT_LE(r.y + r.h, 280);
    }
    EXPECT_GT(server->stats().frames_sent, frames);
    const auto stats = server->stats();
    ASSERT_FALSE(stats.click_to_frame_ms.empty()) << "the click's latency was measured";
    EXPECT_EQ(stats.clients, 1);
}

// Every page of a window is sent the same bytes for the same change, encoded once for them all.
TEST_F(WebServer, PagesOfOneWindowShareEachEncodedMessage) {
    constexpr int kPages = 8;
    std::vector<std::unique_ptr<WsClient>> pages;
    for (int i = 0; i < kPages; ++i) {
        pages.push_back(std::make_unique<WsClient>(server->port(), "/ws/1"));
        ASSERT_TRUE(pages.back()->open());
    }
    std::vector<std::vector<std::vector<std::uint8_t>>> received(kPages);
    auto cycle = [&] {
        session->step();
        for (int i = 0; i < kPages; ++i)
            while (auto m = pages[i]->receive(received[i].empty() ? 50 : 10))
                if (m->opcode == 2) received[i].push_back(m->data);
    };
    for (int i = 0; i < 20; ++i) cycle();
    // L1 and then MENU: two changes of the FMC's page.
    for (const char* press : {"press 16 43", "press 45 234"}) {
        ASSERT_TRUE(pages[0]->send_text(press));
        ASSERT_TRUE(pages[0]->send_text("release"));
        for (int i = 0; i < 20; ++i) cycle();
    }
    std::set<std::vector<std::uint8_t>> distinct;
    std::size_t total = 0;
    for (int i = 0; i < kPages; ++i) {
        ASSERT_GE(received[i].size(), 3u) << "page " << i << ": the window and both changes";
        EXPECT_EQ(rects_of(Message{2, received[i].front()}), (std::vector<web::Area>{{0, 0, 282, 280}}));
        distinct.insert(received[i].begin(), received[i].end());
        total += received[i].size();
    }
    const auto stats = server->stats();
    EXPECT_EQ(stats.frames_sent, total);
    EXPECT_EQ(stats.frames_encoded, distinct.size()) << "each message sent was encoded once";
    EXPECT_LE(distinct.size() * 4, total) << "the pages shared their messages";
}

TEST_F(WebServer, MisbehavingPagesAreClosedAloneAndVanishingOnesLetGo) {
    WsClient good(server->port(), "/ws/1");
    ASSERT_TRUE(good.open());
    ASSERT_TRUE(next(good, 2));

    const std::vector<std::vector<std::uint8_t>> hostile = {
        webtest::client_frame(1, "rm -rf /"),
        webtest::client_frame(2, std::string(100, '\x01')),
        webtest::client_frame(1, "press " + std::string(5000, '7')),
        webtest::client_frame(1, "press 1", false),
        webtest::client_frame(1, "x", true, std::uint64_t{1} << 40),
    };
    for (const auto& bytes : hostile) {
        WsClient bad(server->port(), "/ws/1");
        ASSERT_TRUE(bad.open());
        bad.send_raw(bytes);
        for (int i = 0; i < 100 && bad.open(); ++i) {
            session->step();
            bad.receive(10);
        }
        EXPECT_FALSE(bad.open()) << "the server kept a page that sent a hostile message";
    }
    WsClient absent(server->port(), "/ws/42");
    EXPECT_FALSE(absent.open()) << "a page for a window the panel lacks";

    // A page that goes away holding a key and the mouse button lets go of both.
    {
        WsClient leaving(server->port(), "/ws/1");
        ASSERT_TRUE(leaving.open());
        ASSERT_TRUE(next(leaving, 2));
        leaving.send_text("keydown 71");
        leaving.send_text("press 16 43");
        for (int i = 0; i < 100 && !plat::key_down('G'); ++i) {
            session->step();
            leaving.receive(10);
        }
        ASSERT_TRUE(plat::key_down('G'));
    }
    for (int i = 0; i < 100 && (plat::key_down('G') || server->stats().clients != 1); ++i) {
        session->step();
        good.receive(10);
    }
    EXPECT_FALSE(plat::key_down('G'));
    EXPECT_EQ(server->stats().clients, 1);

    // The good page still follows the panel.
    ASSERT_TRUE(good.send_text("press 16 43"));
    ASSERT_TRUE(good.send_text("release"));
    EXPECT_TRUE(next(good, 2));
    EXPECT_GE(server->stats().refused_messages, 4u);
}

}  // namespace
