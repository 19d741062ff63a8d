// The program's icon: at every size of the icon theme an attitude indicator, round, see-through
// outside its bezel with soft edges, sky above and ground below the horizon, the yellow aircraft
// symbol in the middle; and written as a PNG with its alpha channel.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/artwork/program_icon.h"

namespace {

struct Pixel {
    int r, g, b, a;
};

Pixel at(const art::RgbaPicture& icon, double fx, double fy) {
    const int x = static_cast<int>(fx * icon.size), y = static_cast<int>(fy * icon.size);
    const std::uint8_t* p = &icon.rgba[(static_cast<std::size_t>(y) * icon.size + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

bool is_sky(Pixel p) { return p.a == 255 && p.b > 150 && p.b > p.r + 80; }
bool is_ground(Pixel p) { return p.a == 255 && p.r > 110 && p.r > p.b + 60; }
bool is_yellow(Pixel p) { return p.a == 255 && p.r > 200 && p.g > 150 && p.b < 80; }

class IconAtSize : public ::testing::TestWithParam<int> {};

TEST_P(IconAtSize, IsAnAttitudeIndicatorInARoundBezel) {
    const art::RgbaPicture icon = art::program_icon(GetParam());
    ASSERT_EQ(icon.size, GetParam());
    ASSERT_EQ(icon.rgba.size(), static_cast<std::size_t>(GetParam()) * GetParam() * 4);
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {0.99, 0.0}, {0.0, 0.99}, {0.99, 0.99}, {0.06, 0.1}})
        EXPECT_EQ(at(icon, x, y).a, 0) << "a corner outside the bezel at " << x << "," << y;
    EXPECT_TRUE(is_sky(at(icon, 0.5, 0.25))) << "above the horizon";
    EXPECT_TRUE(is_ground(at(icon, 0.5, 0.78))) << "below the horizon";
    EXPECT_TRUE(is_yellow(at(icon, 0.5, 0.5))) << "the aircraft symbol's dot";
    EXPECT_TRUE(is_yellow(at(icon, 0.25, 0.5))) << "the left wing";
    EXPECT_TRUE(is_yellow(at(icon, 0.75, 0.5))) << "the right wing";
    // The bezel's round edge is blended, neither wholly drawn nor wholly see-through somewhere.
    int soft = 0;
    for (int x = 0; x < icon.size; ++x) {
        const int a = icon.rgba[(static_cast<std::size_t>(icon.size / 2) * icon.size + x) * 4 + 3];
        soft += a > 0 && a < 255;
    }
    EXPECT_GE(soft, 2) << "the middle row crosses the edge twice";
}

INSTANTIATE_TEST_SUITE_P(ThemeSizes, IconAtSize, ::testing::Values(16, 22, 24, 32, 48, 64, 128, 256));

TEST(ProgramIcon, RefusesSizesOutsideItsRange) {
    EXPECT_THROW(art::program_icon(15), std::invalid_argument);
    EXPECT_THROW(art::program_icon(1025), std::invalid_argument);
}

TEST(ProgramIcon, IsWrittenAsAnRgbaPng) {
    const std::string path = ::testing::TempDir() + "/program_icon_test.png";
    ASSERT_FALSE(art::write_program_icon(32, path).has_value());
    std::ifstream f(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
    EXPECT_EQ(bytes[19], 32);  // width, big-endian
    EXPECT_EQ(bytes[23], 32);  // height
    EXPECT_EQ(bytes[24], 8);   // bits per channel
    EXPECT_EQ(bytes[25], 6);   // colour type 6: RGB with alpha
    std::filesystem::remove(path);

    const auto refused = art::write_program_icon(32, ::testing::TempDir() + "/no/such/folder/icon.png");
    ASSERT_TRUE(refused.has_value());
    EXPECT_NE(refused->find("no/such/folder/icon.png"), std::string::npos) << *refused;
}

}  // namespace
