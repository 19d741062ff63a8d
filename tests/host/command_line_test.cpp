// panelhost's command line: the options' values are checked once, and only what the help text
// offers is taken.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "panelhost/command_line.h"

namespace {

plat::Result<panelhost::CommandLine> parse(std::vector<std::string> words) {
    words.insert(words.begin(), "panelhost");
    std::vector<char*> args;
    for (std::string& w : words) args.push_back(w.data());
    return panelhost::parse_command_line(args);
}

TEST(CommandLine, FormatIsEightOrSixteenBitsOnly) {
    for (const int bits : {8, 16}) {
        auto line = parse({"run", "--out", "o", "--format", std::to_string(bits)});
        ASSERT_TRUE(line) << line.error();
        EXPECT_EQ(line->session.format_bits, bits);
    }
    for (const char* bad : {"24", "32", "0", "eight", ""}) {
        auto line = parse({"run", "--out", "o", "--format", bad});
        ASSERT_FALSE(line) << bad;
        EXPECT_EQ(line.error(), "--format must be 8 or 16") << bad;
    }
}

TEST(CommandLine, ValuesAndCombinationsAreChecked) {
    auto line = parse({"run", "--out", "o", "--seconds", "30", "--rate", "20", "--web", "8080", "--web-token", "t"});
    ASSERT_TRUE(line) << line.error();
    EXPECT_FALSE(line->view);
    EXPECT_EQ(line->seconds, 30.0);
    EXPECT_EQ(line->session.rate, 20.0);
    ASSERT_TRUE(line->web);
    EXPECT_EQ(line->web->listen.port, 8080);
    EXPECT_EQ(line->web->token, "t");
    EXPECT_EQ(line->session.clock, plat::ClockMode::real) << "a browser watches the panel live";

    EXPECT_EQ(parse({}).error(), "run or view is needed");
    EXPECT_EQ(parse({"fly"}).error(), "unknown command 'fly'");
    EXPECT_EQ(parse({"run"}).error(), "--out DIR is required");
    EXPECT_EQ(parse({"run", "--out"}).error(), "option --out needs a value");
    EXPECT_EQ(parse({"run", "--out", "o", "--rate", "0"}).error(),
              "--rate needs a number of cycles per second (0 to 1000)");
    EXPECT_EQ(parse({"run", "--out", "o", "--web-token", "t"}).error(), "--web-token goes with --web");
    EXPECT_EQ(parse({"run", "--out", "o", "--colour", "red"}).error(), "unknown option --colour");
}

}  // namespace

// The user's own folder keeps the choice of navigation data; a fresh or given root does not.
TEST(CommandLine, NavdataChoiceIsKeptInTheUsersFolderOnly) {
    const char* before = std::getenv("XDG_DATA_HOME");
    const std::optional<std::string> saved = before ? std::optional<std::string>(before) : std::nullopt;
    ::setenv("XDG_DATA_HOME", "/home/pilot/data", 1);
    auto view = parse({"view", "--navdata", "/x-plane"});
    ASSERT_TRUE(view) << view.error();
    EXPECT_EQ(view->session.navdata, "/x-plane");
    EXPECT_EQ(view->session.navdata_choice, "/home/pilot/data/cockpit-panel/navdata.txt");
    auto kept = parse({"run", "--keep-state"});
    ASSERT_TRUE(kept) << kept.error();
    EXPECT_EQ(kept->session.navdata, "") << "the kept choice, read when the run starts";
    EXPECT_EQ(kept->session.navdata_choice, "/home/pilot/data/cockpit-panel/navdata.txt");
    auto fresh = parse({"run", "--out", "o", "--navdata", "shipped"});
    ASSERT_TRUE(fresh) << fresh.error();
    EXPECT_EQ(fresh->session.navdata_choice, "");
    auto given = parse({"view", "--root", "r", "--out", "o", "--navdata", "/x-plane"});
    ASSERT_TRUE(given) << given.error();
    EXPECT_EQ(given->session.navdata_choice, "") << "a root the user gave keeps no choice";
    EXPECT_EQ(parse({"run", "--out", "o", "--navdata", ""}).error(), "--navdata needs a folder, or 'shipped'");
    if (saved) ::setenv("XDG_DATA_HOME", saved->c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
}

// Boards and scripts (--io) and joysticks (--controls): a run then goes in real time.
TEST(CommandLine, HomeCockpitHardwareOptions) {
    auto line = parse({"run", "--out", "o", "--io", "0.0.0.0:5020", "--io-token", "s3cret", "--controls", "pad.txt"});
    ASSERT_TRUE(line) << line.error();
    ASSERT_TRUE(line->io);
    EXPECT_EQ(line->io->address, "0.0.0.0");
    EXPECT_EQ(line->io->port, 5020);
    EXPECT_EQ(line->io->token, "s3cret");
    EXPECT_EQ(line->controls, "pad.txt");
    EXPECT_EQ(line->session.clock, plat::ClockMode::real) << "boards work the panel live";
    auto plain = parse({"run", "--out", "o", "--io", "5020"});
    ASSERT_TRUE(plain) << plain.error();
    EXPECT_EQ(plain->io->address, "127.0.0.1");
    auto controls_only = parse({"run", "--out", "o", "--controls", "pad.txt"});
    ASSERT_TRUE(controls_only) << controls_only.error();
    EXPECT_FALSE(controls_only->io);
    EXPECT_EQ(controls_only->session.clock, plat::ClockMode::real) << "hands on a joystick work it live";
    EXPECT_EQ(parse({"run", "--out", "o"})->session.clock, plat::ClockMode::simulated);
    EXPECT_EQ(parse({"run", "--out", "o", "--io-token", "t"}).error(), "--io-token goes with --io");
    EXPECT_EQ(parse({"run", "--out", "o", "--io", "5020", "--io-token", "two words"}).error(),
              "--io-token needs a text of 1 to 200 characters without blanks");
    EXPECT_NE(parse({"run", "--out", "o", "--io", "99999"}).error().find("--io: "), std::string::npos);
}
