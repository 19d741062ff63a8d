// The line protocol's server on real sockets, with a panel the test cycles: answers reach their
// client, a token is asked first, and hostile clients (garbage, long lines, floods of watches, slow
// readers, too many clients) are closed alone while a good client keeps working.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "homeio/io_server.h"
#include "tests/homeio/fake_panel.h"

namespace homeio {
namespace {

using testing::FakePanel;

class Client {
public:
    explicit Client(int port, int receive_buffer = 0) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        if (receive_buffer > 0) setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receive_buffer, sizeof receive_buffer);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<std::uint16_t>(port));
        inet_pton(AF_INET, "127.0.0.1", &addr.sin_addr);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~Client() { ::close(fd_); }
    bool connected() const { return connected_; }
    void send(const std::string& text) { ASSERT_EQ(::send(fd_, text.data(), text.size(), MSG_NOSIGNAL), static_cast<ssize_t>(text.size())); }
    // What arrived, without waiting; closed once the server has closed the connection.
    std::string take() {
        char buffer[65536];
        while (true) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 0) <= 0) break;
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) {
                closed_ = true;
                break;
            }
            received_.append(buffer, static_cast<std::size_t>(n));
        }
        return received_;
    }
    bool closed() {
        take();
        return closed_;
    }
    void forget() { received_.clear(); }

private:
    int fd_;
    bool connected_ = false, closed_ = false;
    std::string received_;
};

class ServerTest : public ::testing::Test {
protected:
    void start(const std::string& token = "") {
        IoOptions options;
        options.token = token;
        auto started = IoServer::start(panel, options);
        ASSERT_TRUE(started) << started.error();
        server = std::move(started).value();
        ASSERT_GT(server->port(), 0);
    }
    // Cycles the panel, as the host does, until the condition holds (or 10 s).
    bool cycle_until(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            panel.cycle();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
    bool has(Client& c, const std::string& text) {
        return cycle_until([&] { return c.take().find(text) != std::string::npos; });
    }
    // A good client's round trip: a watch of a changed value is told.
    void still_works(Client& good) {
        static int n = 0;
        good.send("watch geartalk 2\n");
        panel.elements["geartalk 2"].number = 100 + ++n;
        EXPECT_TRUE(has(good, "value geartalk 2 " + std::to_string(100 + n) + "\n")) << good.take();
    }

    FakePanel panel;
    std::unique_ptr<IoServer> server;
};

TEST_F(ServerTest, CommandsReachThePanelAndAnswersTheirClient) {
    start();
    Client a(server->port()), b(server->port());
    ASSERT_TRUE(a.connected() && b.connected());
    a.send("windows\r\nclick 1 16 43\nwatch fmcomputer 2\n");
    EXPECT_TRUE(has(a, "value fmcomputer 2 \"MENU\"\n"));
    EXPECT_EQ(a.take(), "window 1 \"FMC\" 282 280\nwindow 4 \"Overhead '40'\" 200 150\nvalue fmcomputer 2 \"MENU\"\n");
    EXPECT_EQ(panel.calls.front(), "click 1 16 43");
    panel.elements["fmcomputer 2"].text = "LOAD A FLIGHT PLAN";
    EXPECT_TRUE(has(a, "value fmcomputer 2 \"LOAD A FLIGHT PLAN\"\n"));
    b.send("bogus\n");
    EXPECT_TRUE(has(b, "error unknown command bogus\n"));
    EXPECT_EQ(b.take(), "error unknown command bogus\n") << "b is told nothing of a's watch";
    b.send("event gear_toggle\n");
    EXPECT_TRUE(cycle_until([&] { return panel.calls.back() == "event 65570 0"; }));
    EXPECT_EQ(server->stats().clients, 2);
}

TEST_F(ServerTest, AClientThatLeavesLetsGoOfWhatItHeld) {
    start();
    {
        Client a(server->port());
        a.send("press 1 100 100\nkey F5 down\n");
        ASSERT_TRUE(cycle_until([&] { return panel.held == 1 && panel.calls.size() == 2; }));
    }
    EXPECT_TRUE(cycle_until([&] { return panel.held == 0; }));
    EXPECT_EQ(panel.calls.back(), "key 116 up");
    EXPECT_TRUE(cycle_until([&] { return server->stats().clients == 0; }));
}

TEST_F(ServerTest, ATokenIsTheFirstLineOrTheEnd) {
    start("s3cret");
    Client wrong(server->port()), none(server->port()), right(server->port());
    wrong.send("token guess\nclick 1 1 1\n");
    none.send("click 1 1 1\n");
    right.send("token s3cret\nclick 1 2 2\n");
    EXPECT_TRUE(cycle_until([&] { return wrong.closed() && none.closed(); }));
    EXPECT_NE(wrong.take().find("error the first line must be the token"), std::string::npos);
    EXPECT_TRUE(cycle_until([&] { return !panel.calls.empty(); }));
    EXPECT_EQ(panel.calls, std::vector<std::string>{"click 1 2 2"}) << "only the client with the token clicked";
    still_works(right);
    EXPECT_EQ(server->stats().closed_hostile, 2u);
}

TEST_F(ServerTest, HostileInputClosesThatClientAlone) {
    start();
    Client good(server->port());
    still_works(good);
    Client long_line(server->port()), binary(server->port()), endless(server->port()), garbage(server->port());
    long_line.send(std::string(300, 'x') + "\n");
    binary.send(std::string("click 1 1 1\0\xff\xfe\n", 16));
    endless.send(std::string(100000, 'y'));  // never ends a line
    std::string lines;
    for (int i = 0; i < kMaxBadLines; ++i) lines += "no such thing\n";
    garbage.send(lines);
    EXPECT_TRUE(cycle_until([&] { return long_line.closed() && binary.closed() && endless.closed() && garbage.closed(); }));
    EXPECT_NE(long_line.take().find("error line longer than 256 bytes"), std::string::npos);
    EXPECT_NE(binary.take().find("error bytes that are not UTF-8 text"), std::string::npos);
    still_works(good);
    EXPECT_FALSE(good.closed());
    EXPECT_TRUE(panel.calls.empty()) << "no hostile line reached the panel";
}

TEST_F(ServerTest, AFewBadLinesAreAnsweredAndTheConnectionStays) {
    start();
    Client c(server->port());
    for (int i = 0; i < kMaxBadLines - 1; ++i) c.send("click x\n");
    c.send("click 1 1 1\n");  // a good line starts the count again
    for (int i = 0; i < kMaxBadLines - 1; ++i) c.send("click y\n");
    EXPECT_TRUE(cycle_until([&] { return panel.calls.size() == 1; }));
    still_works(c);
    EXPECT_FALSE(c.closed());
}

TEST_F(ServerTest, AFloodOfWatchesClosesThatClient) {
    start();
    Client good(server->port()), flood(server->port());
    std::string lines;
    for (int i = 0; i < 3000; ++i) lines += "watch token " + std::to_string(i) + "\n";
    flood.send(lines);
    EXPECT_TRUE(cycle_until([&] { return flood.closed(); }));
    EXPECT_NE(flood.take().find("error more than 256 watches"), std::string::npos);
    still_works(good);
}

TEST_F(ServerTest, ASlowReaderIsClosedNotWaitedFor) {
    start();
    Client good(server->port()), slow(server->port(), 4096);
    // Every variable changes every cycle, and the slow client never reads.
    std::string lines;
    for (int i = 0; i < 200; ++i) lines += "watch token " + std::to_string(i) + "\n";
    slow.send(lines);
    int cycle = 0;
    EXPECT_TRUE(cycle_until([&] {
        ++cycle;
        for (int i = 0; i < 200; ++i) panel.tokens[i] = {true, 0, std::string(200, static_cast<char>('a' + cycle % 26))};
        return server->stats().closed_hostile == 1;
    }));
    still_works(good);
}

TEST_F(ServerTest, AtMost32Clients) {
    start();
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < kMaxClients; ++i) clients.push_back(std::make_unique<Client>(server->port()));
    ASSERT_TRUE(cycle_until([&] { return server->stats().clients == kMaxClients; }));
    Client extra(server->port());
    EXPECT_TRUE(cycle_until([&] { return extra.closed(); }));
    EXPECT_EQ(extra.take(), "error too many clients\n");
    still_works(*clients.back());
    clients.pop_back();
    ASSERT_TRUE(cycle_until([&] { return server->stats().clients == kMaxClients - 1; }));
    Client again(server->port());
    still_works(again);
}

TEST_F(ServerTest, RefusesAnAddressItCannotListenAt) {
    IoOptions options;
    options.address = "no.such.address";
    auto started = IoServer::start(panel, options);
    ASSERT_FALSE(started);
    EXPECT_NE(started.error().find("not an IPv4 address"), std::string::npos);
    start();
    options.address = "127.0.0.1";
    options.port = server->port();
    auto taken = IoServer::start(panel, options);
    ASSERT_FALSE(taken);
    EXPECT_NE(taken.error().find("cannot listen at 127.0.0.1:"), std::string::npos);
}

}  // namespace
}  // namespace homeio
