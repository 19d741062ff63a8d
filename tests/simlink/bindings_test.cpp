// Binding files: the shipped ones read and bind every token once; every kind of mistake in a
// user's file is an error naming its line; the names are the host binding's own.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "sim_test_support.h"
#include "simlink/engine/names.h"

using namespace simlink;

namespace {

int gauge_token(std::string_view name) { return token_by_name(name).value_or(-1); }

std::string error_of(const std::string& text) {
    auto b = parse_bindings(text, "mine");
    return b ? std::string() : b.error();
}

std::string read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every name = number a header of the host binding declares.
std::map<std::string, long long> declared(const std::string& header, const char* type) {
    std::map<std::string, long long> out;
    const std::string text = read(std::string(HOST_DIR) + "/" + header);
    const std::regex row(std::string("inline constexpr std::") + type + R"( (\w+) = (-?\d+);)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), row); it != std::sregex_iterator(); ++it)
        out[(*it)[1]] = std::stoll((*it)[2]);
    return out;
}

}  // namespace

TEST(Bindings, NamesAreThoseOfTheHostBinding) {
    auto tokens = declared("tokens.h", "int32_t");
    tokens.erase("none");
    const auto events = declared("key_events.h", "uint32_t");
    ASSERT_GT(tokens.size(), 90u);
    ASSERT_GT(events.size(), 20u);
    EXPECT_EQ(token_names().size(), tokens.size());
    EXPECT_EQ(event_names().size(), events.size());
    for (const auto& [name, number] : tokens) {
        EXPECT_EQ(token_by_name(name), std::optional<int>(static_cast<int>(number))) << name;
        EXPECT_EQ(token_name(static_cast<int>(number)), name);
    }
    for (const auto& [name, number] : events) EXPECT_EQ(event_by_name(name), std::optional<std::uint32_t>(number)) << name;
    EXPECT_FALSE(token_by_name("Magnetic_Heading"));
    EXPECT_EQ(event_name(1), "");
}

TEST(Bindings, ShippedFilesBindTheSameTokensOnceEach) {
    const Bindings fg = shipped_bindings("flightgear-generic");
    const Bindings xp = shipped_bindings("xplane");
    EXPECT_EQ(fg.simulator, Simulator::flightgear);
    EXPECT_EQ(xp.simulator, Simulator::xplane);
    std::set<int> fg_tokens, xp_tokens;
    for (const auto& t : fg.tokens) fg_tokens.insert(t.token);
    for (const auto& t : xp.tokens) xp_tokens.insert(t.token);
    EXPECT_EQ(fg_tokens.size(), fg.tokens.size());
    EXPECT_EQ(fg_tokens, xp_tokens);
    for (const auto& s : xp.settings) EXPECT_FALSE(s.empty());
    EXPECT_EQ(xp.throttle_path(3), "sim/cockpit2/engine/actuators/throttle_ratio[3]");
    EXPECT_EQ(xp.switches.size(), 4u);
    EXPECT_EQ(fg.locks.size(), 3u);
}

TEST(Bindings, AReadableFileWithCommentsBlankLinesAndCrLf) {
    auto b = parse_bindings(
        "# mine\r\n\r\nsimulator flightgear\r\n  token  altitude_ft number as_is /a/b=12.5  # feet\r\n"
        "token nav1_ident text /n/id\ntoken nav1_to_from integer to_from /n/to text:/n/from\n"
        "switch master set /ap/on 1 0\nswitch heading_hold set /ap/lat 0 -\n",
        "mine");
    ASSERT_TRUE(b) << b.error();
    ASSERT_EQ(b->tokens.size(), 3u);
    EXPECT_EQ(b->tokens[0].sources[0].path, "/a/b");
    EXPECT_EQ(b->tokens[0].sources[0].until_answered, 12.5);
    EXPECT_EQ(b->tokens[0].line, 4);
    EXPECT_EQ(b->tokens[1].form, Form::text);
    EXPECT_TRUE(b->tokens[2].sources[1].text);
    EXPECT_EQ(b->switches[1].off, "-");
}

TEST(Bindings, EveryMistakeNamesItsLine) {
    const std::string head = "simulator flightgear\ntoken altitude_ft number as_is /a\n";
    const std::pair<std::string, std::string> cases[] = {
        {"token altitude_feet number as_is /b", "unknown token 'altitude_feet'"},
        {"token altitude_ft number as_is /b", "bound twice"},
        {"token pitch number as_it /b", "unknown conversion 'as_it'"},
        {"token pitch number negated /b /c", "reads 1 source(s), not 2"},
        {"token pitch float negated /b", "unknown form 'float'"},
        {"token pitch number negated b/c", "'b/c' is no FlightGear path"},
        {"token pitch number negated /b=high", "'high' is no number"},
        {"token pitch number negated text:/b=1", "no stand-in value"},
        {"token pitch number", "takes"},
        {"token nav1_ident text /a /b", "takes"},
        {"setting heading /b", "unknown setting 'heading'"},
        {"throttle /engines/throttle", "needs a '*'"},
        {"gear /g maybe", "'bool' or 'number'"},
        {"lock /l some_rule", "unknown lock rule 'some_rule'"},
        {"switch autoland set /a 1 0", "unknown switch 'autoland'"},
        {"switch master flip /a 1 0", "'set' or 'toggle'"},
        {"switch master toggle /c /s 1,x", "no list of numbers"},
        {"event gear_down set /g 1", "unknown key event 'gear_down'"},
        {"event gear_toggle poke /g", "'set' or 'command'"},
        {"simulator xplane", "a second 'simulator' line"},
        {"flaps /f", "unknown statement 'flaps'"},
        {"token pitch number negated /a//b", "is no FlightGear path"},
        {"token pitch number negated /a;b", "is no FlightGear path"},
    };
    for (const auto& [line, what] : cases) {
        const std::string e = error_of(head + line + "\n");
        if (what.empty()) continue;
        EXPECT_NE(e.find("mine:3: "), std::string::npos) << line << " -> " << e;
        EXPECT_NE(e.find(what), std::string::npos) << line << " -> " << e;
    }
    EXPECT_NE(error_of("token altitude_ft number as_is /a\n").find("mine:1: "), std::string::npos);
    EXPECT_NE(error_of("simulator prepar3d\n").find("unknown simulator"), std::string::npos);
    EXPECT_NE(error_of("simulator xplane\n").find("binds no token"), std::string::npos);
    EXPECT_NE(error_of("simulator xplane\ntoken pitch number negated /sim/pitch\n").find("no X-Plane path"), std::string::npos);
    EXPECT_EQ(error_of("simulator xplane\ntoken pitch number negated sim/pitch[2]\n"), "");
}

TEST(Bindings, AMissingFileIsSaidSo) {
    auto b = load_bindings("/nonexistent/bindings");
    ASSERT_FALSE(b);
    EXPECT_NE(b.error().find("/nonexistent/bindings"), std::string::npos);
}

TEST(Bindings, OverABaseLinesReplaceTheBases) {
    const BaseLoader base = [](std::string_view name) -> plat::Result<Bindings> {
        if (name != "generic") return plat::Error{"no such file"};
        return parse_bindings(
            "simulator flightgear\ntoken altitude_ft number as_is /alt\ntoken pitch number negated /pitch\n"
            "setting heading_bug_deg /bug\nsetting speed_kt /spd\nlock /locks/heading heading_lock\n"
            "event gear_toggle set /gear 1\nevent speed_up set /faster 1\n",
            "generic");
    };
    auto b = parse_bindings("simulator flightgear\nbase generic\ntoken pitch number as_is /own/pitch\n"
                            "token bank number as_is /own/bank\nsetting heading_bug_deg /own/hdg\n"
                            "switch master set /own/ap 1 0\nevent gear_toggle command /own/gear\n",
                            "mine", base);
    ASSERT_TRUE(b) << b.error();
    EXPECT_EQ(b->file, "mine");
    ASSERT_EQ(b->tokens.size(), 3u);
    EXPECT_EQ(b->find_token(gauge_token("altitude_ft"))->sources[0].path, "/alt");  // the base's, kept
    EXPECT_EQ(b->find_token(gauge_token("pitch"))->sources[0].path, "/own/pitch");
    EXPECT_EQ(b->settings[0], "/own/hdg");
    EXPECT_EQ(b->settings[3], "/spd");
    EXPECT_TRUE(b->locks.empty());  // a switch line: the file's switches and locks only
    ASSERT_EQ(b->switches.size(), 1u);
    EXPECT_TRUE(b->find_event(*event_by_name("gear_toggle"))->command);
    EXPECT_EQ(b->find_event(*event_by_name("speed_up"))->path, "/faster");

    const std::pair<std::string, std::string> refused[] = {
        {"simulator flightgear\nbase missing\n", "mine:2: base 'missing': no such file"},
        {"simulator xplane\nbase generic\n", "mine:2: base 'generic' binds FlightGear"},
        {"simulator flightgear\ntoken bank number as_is /b\nbase generic\n", "mine:3: 'base' comes once"},
        {"simulator flightgear\nbase generic\nbase generic\n", "mine:3: 'base' comes once"},
        {"simulator flightgear\nbase ../generic\n", "mine:2: '../generic' is no binding file's name"},
    };
    for (const auto& [text, what] : refused) {
        auto r = parse_bindings(text, "mine", base);
        ASSERT_FALSE(r) << text;
        EXPECT_NE(r.error().find(what), std::string::npos) << r.error();
    }
    EXPECT_FALSE(parse_bindings("simulator flightgear\nbase generic\n", "mine"));  // nothing to read a base with
}

TEST(Bindings, AShippedFileIsABaseAndNoFileItsOwn) {
    const auto dir = std::filesystem::temp_directory_path() / "bindings_base_test";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "mine") << "simulator xplane\nbase xplane\ntoken pitch number as_is sim/own/pitch\n";
    auto b = load_bindings((dir / "mine").string(), SHIPPED_SIM_DIR);
    ASSERT_TRUE(b) << b.error();
    EXPECT_EQ(b->tokens.size(), shipped_bindings("xplane").tokens.size());
    std::ofstream(dir / "loop") << "simulator xplane\nbase loop\n";
    auto loop = load_bindings((dir / "loop").string(), SHIPPED_SIM_DIR);
    ASSERT_FALSE(loop);
    EXPECT_NE(loop.error().find("no base of its own"), std::string::npos) << loop.error();
    std::filesystem::remove_all(dir);
}
