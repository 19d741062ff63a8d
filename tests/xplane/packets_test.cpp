// X-Plane's packets at their documented byte offsets, and the readers' refusals.

#include <gtest/gtest.h>

#include <cstring>

#include "simlink/xplane/packets.h"

using namespace simlink::xp;

TEST(XPlanePackets, RequestsAtTheirOffsets) {
    const std::string r = rref_request(18, 7, "sim/flightmodel/position/latitude");
    ASSERT_EQ(r.size(), 413u);
    EXPECT_EQ(r.substr(0, 5), std::string("RREF\0", 5));
    EXPECT_EQ(static_cast<unsigned char>(r[5]), 18);
    EXPECT_EQ(static_cast<unsigned char>(r[9]), 7);
    EXPECT_EQ(r.substr(13, 33), "sim/flightmodel/position/latitude");
    EXPECT_EQ(r[13 + 33], '\0');
    EXPECT_TRUE(rref_request(1, 0, std::string(400, 'a')).empty());  // no room for the NUL
    const std::string d = dref_write(1.5f, "sim/cockpit2/autopilot/altitude_dial_ft");
    ASSERT_EQ(d.size(), 509u);
    float v;
    std::memcpy(&v, d.data() + 5, 4);
    EXPECT_EQ(v, 1.5f);
    EXPECT_EQ(d.substr(9, 5), "sim/c");
    EXPECT_EQ(command("sim/autopilot/heading"), std::string("CMND\0sim/autopilot/heading\0", 27));
}

TEST(XPlanePackets, RrefRepliesOfBothVersionsAndNothingElse) {
    std::string reply("RREF,", 5);
    const float f = 3.25f;
    char bytes[4];
    std::memcpy(bytes, &f, 4);
    reply += std::string("\x05\0\0\0", 4) + std::string(bytes, 4);
    auto v = parse_rref_reply(reply);
    ASSERT_TRUE(v);
    ASSERT_EQ(v->size(), 1u);
    EXPECT_EQ((*v)[0].index, 5);
    EXPECT_EQ((*v)[0].value, 3.25f);
    reply[4] = 'O';
    EXPECT_TRUE(parse_rref_reply(reply));
    EXPECT_FALSE(parse_rref_reply(reply.substr(0, reply.size() - 1)));
    EXPECT_FALSE(parse_rref_reply("RREX," + reply.substr(5)));
    EXPECT_FALSE(parse_rref_reply("RRE"));
    std::string big("RREF,", 5);
    big += std::string(8 * 184, '\0');
    EXPECT_FALSE(parse_rref_reply(big));  // more pairs than X-Plane puts in a packet
}

TEST(XPlanePackets, BeaconRoundTripAndRefusals) {
    Beacon b;
    b.major = 1;
    b.minor = 2;
    b.host_id = 1;
    b.version = 120100;
    b.role = 1;
    b.port = 49010;
    b.computer = "simpc";
    const auto back = parse_beacon(beacon_packet(b));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->port, 49010);
    EXPECT_EQ(back->version, 120100);
    EXPECT_EQ(back->computer, "simpc");
    std::string p = beacon_packet(b);
    EXPECT_FALSE(parse_beacon(p.substr(0, 20)));
    p.pop_back();  // no NUL after the name
    EXPECT_FALSE(parse_beacon(p));
    b.port = 0;
    EXPECT_FALSE(parse_beacon(beacon_packet(b)));
    b.port = 1;
    b.computer = "a\x01";
    EXPECT_FALSE(parse_beacon(beacon_packet(b)));
}

TEST(XPlanePackets, RposRepliesGiveThePositionsDoubles) {
    EXPECT_EQ(rpos_request(18), std::string("RPOS\0" "18\0", 8));
    std::string reply("RPOS4", 5);
    for (double d : {-122.375423987, 37.618817234, 4.5}) {
        char b[8];
        std::memcpy(b, &d, 8);
        reply += std::string(b, 8);
    }
    const auto p = parse_rpos_reply(reply + std::string(44, '\0'));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->latitude, 37.618817234);
    EXPECT_EQ(p->longitude, -122.375423987);
    EXPECT_FALSE(parse_rpos_reply(reply.substr(0, 28)));
    std::string off = reply;
    const double far = 91.0;
    std::memcpy(off.data() + 13, &far, 8);
    EXPECT_FALSE(parse_rpos_reply(off));  // no latitude on the earth
}
