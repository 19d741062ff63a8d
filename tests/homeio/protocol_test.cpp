// The line protocol's parts without sockets: lines cut from bytes, commands read from lines, the
// contract's names, and a client's commands applied to a panel with its watches.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "homeio/command.h"
#include "homeio/contract_names.h"
#include "homeio/line_reader.h"
#include "homeio/protocol_client.h"
#include "host/key_events.h"
#include "host/tokens.h"
#include "platform/keyboard.h"
#include "tests/homeio/fake_panel.h"

namespace homeio {
namespace {

using testing::FakePanel;

std::vector<std::string> lines_of(std::vector<std::string> pieces, LineFault expected = LineFault::none) {
    LineReader reader;
    std::vector<std::string> lines;
    LineFault fault = LineFault::none;
    for (const std::string& p : pieces) fault = reader.feed(p, lines);
    EXPECT_EQ(fault, expected);
    return lines;
}

TEST(LineReader, CutsLinesAtLfAndCrLfAcrossReads) {
    EXPECT_EQ(lines_of({"click 1 2 3\nrelease\r\n"}), (std::vector<std::string>{"click 1 2 3", "release"}));
    EXPECT_EQ(lines_of({"cli", "ck 1 2", " 3\r", "\nwin", "dows\n", "partial"}),
              (std::vector<std::string>{"click 1 2 3", "windows"}));
    EXPECT_EQ(lines_of({"\n\r\n"}), (std::vector<std::string>{"", ""}));
}

TEST(LineReader, TakesLinesUpTo256BytesAndNoLonger) {
    const std::string longest(kMaxLine, 'a');
    EXPECT_EQ(lines_of({longest + "\r\n"}), std::vector<std::string>{longest});
    EXPECT_EQ(lines_of({longest + "\n"}), std::vector<std::string>{longest});
    EXPECT_TRUE(lines_of({longest + "a\n"}, LineFault::too_long).empty());
    // No end in sight: refused as soon as it cannot be a line, not when it ends.
    LineReader reader;
    std::vector<std::string> lines;
    EXPECT_EQ(reader.feed(std::string(kMaxLine, 'b'), lines), LineFault::none);
    EXPECT_EQ(reader.feed("bb", lines), LineFault::too_long);
    EXPECT_EQ(reader.feed("ok\n", lines), LineFault::too_long) << "nothing more is read after a fault";
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(reader.pending(), 0u);
}

TEST(LineReader, RefusesBytesThatAreNotText) {
    EXPECT_EQ(lines_of({"key G down\nok\n"}).size(), 2u);
    EXPECT_EQ(lines_of({"watch fmc 2 \xC3\xA9t\xC3\xA9\n"}).size(), 1u) << "UTF-8 is text";
    EXPECT_EQ(lines_of({"tab\there\n"}).size(), 1u);
    for (std::string bad : {std::string("a\0b\n", 4), std::string("\x1b[2J\n"), std::string("\xff\xfe\n"),
                            std::string("\xC0\xAF\n"),                 // an overlong '/'
                            std::string("\xED\xA0\x80\n"),             // a surrogate
                            std::string("\xE2\x82\n"),                 // cut short
                            std::string("\xF4\x90\x80\x80\n"),         // past U+10FFFF
                            std::string("a\rb\n")})
        EXPECT_TRUE(lines_of({bad}, LineFault::not_text).empty()) << bad;
    // The good line before the bad one was taken.
    EXPECT_EQ(lines_of({"windows\n\x01\n"}, LineFault::not_text), std::vector<std::string>{"windows"});
}

Command parsed(const std::string& line) {
    std::string why;
    auto c = parse_command(line, why);
    EXPECT_TRUE(c) << line << ": " << why;
    EXPECT_TRUE(why.empty());
    return c.value_or(Command{});
}

std::string refused(const std::string& line) {
    std::string why;
    EXPECT_FALSE(parse_command(line, why)) << line;
    EXPECT_FALSE(why.empty()) << line;
    return why;
}

TEST(Commands, ReadTheMouseAndTheKeyboard) {
    Command c = parsed("click 1 16 43");
    EXPECT_EQ(c.verb, Verb::click);
    EXPECT_EQ(c.window, 1);
    EXPECT_EQ(c.x, 16);
    EXPECT_EQ(c.y, 43);
    c = parsed("  press\t0 0   99999 ");
    EXPECT_EQ(c.verb, Verb::press);
    EXPECT_EQ(c.y, 99999);
    EXPECT_EQ(parsed("release").verb, Verb::release);
    c = parsed("key TAB down");
    EXPECT_EQ(c.vk, plat::vk::tab);
    EXPECT_TRUE(c.down);
    c = parsed("key f5 up");
    EXPECT_EQ(c.vk, plat::vk::f1 + 4);
    EXPECT_FALSE(c.down);
    EXPECT_EQ(parsed("key G down").vk, 'G');
    EXPECT_EQ(parsed("key PRIOR down").vk, plat::vk::prior);

    EXPECT_NE(refused("click 1 16").find("click WINDOW X Y"), std::string::npos);
    EXPECT_NE(refused("click 1 -1 5").find("not a pixel"), std::string::npos);
    EXPECT_NE(refused("press one 1 5").find("not a window"), std::string::npos);
    EXPECT_NE(refused("click 1 100000 5").find("not a pixel"), std::string::npos);
    EXPECT_NE(refused("click 1 1e3 5").find("not a pixel"), std::string::npos);
    EXPECT_NE(refused("release now").find("'release'"), std::string::npos);
    EXPECT_NE(refused("key NOSUCHKEY down").find("unknown key NOSUCHKEY"), std::string::npos);
    EXPECT_NE(refused("key G sideways").find("down or up"), std::string::npos);
    EXPECT_NE(refused("key G").find("key NAME down|up"), std::string::npos);
    EXPECT_NE(refused("").find("empty"), std::string::npos);
    EXPECT_NE(refused("CLICK 1 2 3").find("unknown command CLICK"), std::string::npos);
}

TEST(Commands, NameKeyEventsAsTheContractDoes) {
    Command c = parsed("event gear_toggle");
    EXPECT_EQ(c.verb, Verb::event);
    EXPECT_EQ(c.event, gauge::event::gear_toggle);
    EXPECT_EQ(c.value, 0u);
    c = parsed("event speed_set 250");
    EXPECT_EQ(c.event, gauge::event::speed_set);
    EXPECT_EQ(c.value, 250u);
    EXPECT_EQ(parsed("event 65570").event, 65570u);
    EXPECT_EQ(parsed("event 0x10022 1").event, 0x10022u);
    EXPECT_EQ(parsed("event speed_brakes -1").value, 0xFFFFFFFFu) << "a signed value as the module's 32 bits";
    EXPECT_EQ(parsed("event speed_brakes 4294967295").value, 0xFFFFFFFFu);
    EXPECT_NE(refused("event no_such_event").find("unknown event no_such_event"), std::string::npos);
    EXPECT_NE(refused("event gear_toggle 4294967296").find("not an event value"), std::string::npos);
    EXPECT_NE(refused("event gear_toggle x").find("not an event value"), std::string::npos);
    EXPECT_NE(refused("event").find("event NAME [VALUE]"), std::string::npos);
}

TEST(Commands, WatchElementsAndVariables) {
    Command c = parsed("watch fmcomputer 2");
    EXPECT_EQ(c.verb, Verb::watch);
    EXPECT_FALSE(c.target.is_token);
    EXPECT_EQ(c.target.gauge, "fmcomputer");
    EXPECT_EQ(c.target.element, 2);
    EXPECT_EQ(c.target.label, "fmcomputer 2");
    c = parsed("watch token indicated_airspeed");
    EXPECT_TRUE(c.target.is_token);
    EXPECT_EQ(c.target.token, gauge::token::indicated_airspeed);
    EXPECT_EQ(c.target.label, "token indicated_airspeed");
    EXPECT_EQ(parsed("unwatch token 331").target.token, gauge::token::gear_lever);
    EXPECT_EQ(parsed("windows").verb, Verb::windows);
    EXPECT_EQ(parsed("token s3cret").text, "s3cret");
    EXPECT_NE(refused("watch token no_such_variable").find("unknown variable"), std::string::npos);
    EXPECT_NE(refused("watch fmcomputer -2").find("not an element number"), std::string::npos);
    EXPECT_NE(refused("watch fmcomputer").find("watch GAUGE ELEMENT"), std::string::npos);
    EXPECT_NE(refused("unwatch a b c").find("unwatch GAUGE ELEMENT"), std::string::npos);
    EXPECT_NE(refused("token two words").find("token TEXT"), std::string::npos);
}

std::size_t declared(const std::string& header, const std::string& start) {
    std::ifstream in(header);
    EXPECT_TRUE(in) << header;
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);)
        if (line.rfind(start, 0) == 0 && line.find('[') == std::string::npos) ++n;
    return n;
}

TEST(ContractNames, NameEveryEventAndVariableOnce) {
    EXPECT_EQ(event_number("gear_toggle"), gauge::event::gear_toggle);
    EXPECT_EQ(event_number("engine2_fire_bottle"), gauge::event::engine2_fire_bottle);
    EXPECT_EQ(token_number("gear_lever"), gauge::token::gear_lever);
    EXPECT_EQ(token_number("nav1_ident"), gauge::token::nav1_ident);
    EXPECT_FALSE(token_number("none")) << "'none' is no variable";
    EXPECT_FALSE(token_number("70000"));
    // As many as the headers declare (the tokens less 'none').
    EXPECT_EQ(event_names().size(), declared(HOST_DIR "/key_events.h", "inline constexpr std::uint32_t "));
    EXPECT_EQ(token_names().size() + 1, declared(HOST_DIR "/tokens.h", "inline constexpr std::int32_t "));
    for (const auto* list : {&event_names(), &token_names()})
        for (std::size_t i = 0; i < list->size(); ++i)
            for (std::size_t j = i + 1; j < list->size(); ++j) EXPECT_NE((*list)[i].name, (*list)[j].name);
}

std::string apply(ProtocolClient& client, FakePanel& panel, const std::string& line) {
    std::string out;
    EXPECT_TRUE(client.apply(parsed(line), panel, out)) << line;
    return out;
}

TEST(ProtocolClient, WorksThePanelAsTheMouseAndKeyboardDo) {
    FakePanel panel;
    ProtocolClient client;
    EXPECT_EQ(apply(client, panel, "click 1 16 43"), "");
    EXPECT_EQ(apply(client, panel, "click 4 1 1"), "error no open window 4\n");
    EXPECT_EQ(apply(client, panel, "click 7 1 1"), "error no open window 7\n");
    EXPECT_EQ(apply(client, panel, "key G down"), "");
    EXPECT_EQ(apply(client, panel, "event gear_toggle"), "");
    EXPECT_EQ(apply(client, panel, "event speed_set 230"), "");
    EXPECT_EQ(panel.calls, (std::vector<std::string>{"click 1 16 43", "key 71 down", "event 65570 0", "event 66037 230"}));
    EXPECT_EQ(apply(client, panel, "windows"), "window 1 \"FMC\" 282 280\nwindow 4 \"Overhead '40'\" 200 150\n");
    EXPECT_EQ(apply(client, panel, "token abc"), "error token is only the first line\n");
}

TEST(ProtocolClient, LetsGoOfWhatItHeldWhenItLeaves) {
    FakePanel panel;
    ProtocolClient client;
    apply(client, panel, "press 1 10 10");
    apply(client, panel, "press 1 20 20");  // a second press lets go of the first
    EXPECT_EQ(panel.calls, (std::vector<std::string>{"press 1 10 10", "release", "press 1 20 20"}));
    apply(client, panel, "key SHIFT down");
    apply(client, panel, "key A down");
    apply(client, panel, "key A up");
    apply(client, panel, "key B down");
    panel.calls.clear();
    client.release_all(panel);
    EXPECT_EQ(panel.calls, (std::vector<std::string>{"release", "key 16 up", "key 66 up"}));
    panel.calls.clear();
    client.release_all(panel);
    EXPECT_TRUE(panel.calls.empty()) << "nothing is let go twice";
    apply(client, panel, "release");
    EXPECT_TRUE(panel.calls.empty()) << "a release without a press lets go of no one else's button";
}

TEST(ProtocolClient, WatchesTellAtOnceAndAtEveryChangeOnly) {
    FakePanel panel;
    ProtocolClient client;
    EXPECT_EQ(apply(client, panel, "watch geartalk 2"), "value geartalk 2 1\n");
    EXPECT_EQ(apply(client, panel, "watch fmcomputer 2"), "value fmcomputer 2 \"MENU\"\n");
    panel.tokens[gauge::token::indicated_airspeed] = {false, 151.25, {}};
    EXPECT_EQ(apply(client, panel, "watch token indicated_airspeed"), "value token indicated_airspeed 151.25\n");
    std::string out;
    client.report_changes(panel, out);
    EXPECT_EQ(out, "") << "nothing changed";
    panel.elements["geartalk 2"].number = 2;
    panel.elements["fmcomputer 2"].text = "LOAD \"A\" \\ PLAN\t";
    panel.tokens[gauge::token::indicated_airspeed].number = 0.1;
    client.report_changes(panel, out);
    EXPECT_EQ(out, "value geartalk 2 2\nvalue fmcomputer 2 \"LOAD \\\"A\\\" \\\\ PLAN\\x09\"\n"
                   "value token indicated_airspeed 0.1\n");
    out.clear();
    client.report_changes(panel, out);
    EXPECT_EQ(out, "");
    // Watched again: told again at once, still one watch.
    EXPECT_EQ(apply(client, panel, "watch geartalk 2"), "value geartalk 2 2\n");
    EXPECT_EQ(client.watches(), 3u);
    EXPECT_EQ(apply(client, panel, "unwatch geartalk 2"), "");
    EXPECT_EQ(apply(client, panel, "unwatch geartalk 2"), "error not watched: geartalk 2\n");
    panel.elements["geartalk 2"].number = 0;
    client.report_changes(panel, out);
    EXPECT_EQ(out, "");
    EXPECT_EQ(apply(client, panel, "watch geartalk 9"), "error no element 9 of a gauge geartalk\n");
    EXPECT_EQ(client.watches(), 2u);
}

TEST(ProtocolClient, WatchesFollowThePanelThroughAReload) {
    FakePanel panel;
    ProtocolClient client;
    apply(client, panel, "watch firepanel_by_Dunmore 0");
    // The panel is loaded again without that gauge: the watch waits quietly, and tells once it is back.
    auto kept = panel.elements.extract("firepanel_by_Dunmore 0");
    ++panel.loads;
    std::string out;
    client.report_changes(panel, out);
    EXPECT_EQ(out, "");
    kept.mapped().number = 3;
    panel.elements.insert(std::move(kept));
    ++panel.loads;
    client.report_changes(panel, out);
    EXPECT_EQ(out, "value firepanel_by_Dunmore 0 3\n");
}

TEST(ProtocolClient, AThousandWatchesIsAFloodThatEndsTheClient) {
    FakePanel panel;
    ProtocolClient client;
    std::string out;
    for (std::size_t i = 0; i < kMaxWatches; ++i) {
        panel.tokens[static_cast<std::int32_t>(i)] = {false, 1, {}};
        ASSERT_TRUE(client.apply(parsed("watch token " + std::to_string(i)), panel, out));
    }
    EXPECT_FALSE(client.apply(parsed("watch token 999"), panel, out));
    EXPECT_NE(out.find("error more than 256 watches"), std::string::npos);
}

}  // namespace
}  // namespace homeio
