// The property server's answer lines: what the link takes, and everything it refuses.

#include <gtest/gtest.h>

#include "simlink/flightgear/props_protocol.h"

using namespace simlink::fg;

TEST(PropsProtocol, AnswerLinesNameTheirPathBehindAnyPrompts) {
    auto a = parse_answer("/position/altitude-ft = '5000.25' (double)\r");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->path, "/position/altitude-ft");
    EXPECT_EQ(a->value, "5000.25");
    EXPECT_EQ(a->type, "double");
    EXPECT_EQ(number_value(*a), 5000.25);

    a = parse_answer("/> /> /instrumentation/nav[0]/nav-id = 'SFO' (string)");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->path, "/instrumentation/nav[0]/nav-id");
    EXPECT_EQ(text_value(*a), "SFO");

    // A quote inside the value: the type is what follows the last "' (".
    a = parse_answer("/sim/description = 'it's' (string)");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->value, "it's");
}

TEST(PropsProtocol, GarbageAndHalfLinesGiveNothing) {
    for (const char* line : {"", "/> ", "garbage", "/position/altitude-ft", "/position/altitude-ft = '50",
                             "/position/altitude-ft = '5000' (dou", "/position/altitude-ft = '5000' (double",
                             "/position/altitude-ft = '5000' (banana)", "position/altitude-ft = '1' (double)",
                             "/pos ition = '1' (double)", "/a;rm -rf = '1' (double)", "Unknown command",
                             "\x01\x02\xff = '1' (double)"})
        EXPECT_FALSE(parse_answer(line)) << line;
    EXPECT_FALSE(parse_answer(std::string(2000, 'x') + " = '1' (double)"));
}

TEST(PropsProtocol, NumbersMustBeWholeAndFinite) {
    auto num = [](const char* value, const char* type) {
        return number_value(Answer{"/x", value, type});
    };
    EXPECT_EQ(num("true", "bool"), 1.0);
    EXPECT_EQ(num("false", "bool"), 0.0);
    EXPECT_EQ(num("-12.5", "double"), -12.5);
    EXPECT_EQ(num("10", "string"), 10.0);  // a property made by a "set" is a string
    EXPECT_EQ(num("3", "int"), 3.0);
    for (const char* bad : {"", "abc", "12abc", " 12", "nan", "inf", "1e999", "--1"}) EXPECT_FALSE(num(bad, "double")) << bad;
    EXPECT_FALSE(num("", "none"));      // there, without a value
    EXPECT_FALSE(num("5", "unknown"));  // absent
}

TEST(PropsProtocol, TextsArePrintableAndShort) {
    auto txt = [](std::string_view value, const char* type) { return text_value(Answer{"/x", value, type}); };
    EXPECT_EQ(txt("dg-heading-hold", "string"), "dg-heading-hold");
    EXPECT_EQ(txt("", "none"), "");  // an autopilot lock that is off
    EXPECT_FALSE(txt("SFO", "unknown"));
    EXPECT_FALSE(txt("S\tO", "string"));
    EXPECT_FALSE(txt(std::string_view("S\0O", 3), "string"));
    EXPECT_FALSE(txt(std::string(40, 'A'), "string"));
}

TEST(PropsProtocol, RequestsCarryOneCommandEach) {
    EXPECT_EQ(get_request("/a/b"), "get /a/b\r\n");
    EXPECT_EQ(set_request("/autopilot/locks/heading", "dg-heading-hold"), "set /autopilot/locks/heading dg-heading-hold\r\n");
    EXPECT_EQ(set_request("/autopilot/locks/heading", ""), "set /autopilot/locks/heading\r\n");
    EXPECT_TRUE(valid_path("/engines/engine[1]/n2"));
    EXPECT_FALSE(valid_path("/a b"));
    EXPECT_FALSE(valid_path("/a\r\nquit"));
    EXPECT_FALSE(valid_path("a"));
    EXPECT_FALSE(valid_value("1 2"));
    EXPECT_FALSE(valid_value("1\n"));
    EXPECT_TRUE(valid_value("-12.5"));
}

TEST(PropsProtocol, SplitterJoinsHalfLinesAndDropsOverlongOnes) {
    LineSplitter s;
    std::string line;
    s.feed("/a = '1' (dou", 13);
    EXPECT_FALSE(s.next(line));
    s.feed("ble)\r\n/> /b", 11);
    ASSERT_TRUE(s.next(line));
    EXPECT_EQ(line, "/a = '1' (double)");
    EXPECT_FALSE(s.next(line));

    const std::string huge(3000, 'z');
    s.feed(huge.data(), huge.size());
    s.feed(huge.data(), huge.size());
    s.feed("\n/c = '2' (int)\n", 16);
    ASSERT_TRUE(s.next(line));
    EXPECT_EQ(line, "/c = '2' (int)");
    EXPECT_EQ(s.dropped_lines(), 1u);

    s.feed("/d = '3", 7);
    s.clear();  // the connection dropped mid-line
    s.feed(" (int)\n", 7);
    ASSERT_TRUE(s.next(line));
    EXPECT_FALSE(parse_answer(line));
}
