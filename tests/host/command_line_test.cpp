// panelhost's command line: the options' values are checked once, and only what the help text
// offers is taken.
#include <gtest/gtest.h>

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
