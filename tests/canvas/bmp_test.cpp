// BMP reading and writing: round trips in every depth, the resource layout without a file header,
// and rejection of damaged or lying input with a message naming the fault.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "canvas_test_support.h"
#include "platform/canvas/bmp_file.h"

using namespace plat;
using namespace canvas_test;

namespace {

using Bytes = std::vector<std::uint8_t>;

void set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void set16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// 5 x 3, so that every depth needs row padding.
Bitmap pattern(PixelFormat format) {
    Bitmap b = format == PixelFormat::indexed8 ? small_bitmap(5, 3) : Bitmap(5, 3, format);
    Canvas c(b);
    const ColorRef colors[] = {red, green, blue, white, yellow, black};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) c.set_pixel(x, y, colors[(x * 2 + y) % 6]);
    return b;
}

void expect_same_colours(const Bitmap& a, const Bitmap& b) {
    ASSERT_EQ(a.width(), b.width());
    ASSERT_EQ(a.height(), b.height());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            EXPECT_EQ(a.color_of(a.pixel(x, y)), b.color_of(b.pixel(x, y))) << x << "," << y;
}

Bytes encoded(const Bitmap& b, BmpDepth depth = BmpDepth::automatic) {
    auto bytes = encode_bmp(b, depth);
    EXPECT_TRUE(bytes) << bytes.error();
    return bytes ? *bytes : Bytes{};
}

TEST(Bmp, RoundTripsInEveryDepth) {
    const Bitmap indexed = pattern(PixelFormat::indexed8);
    auto back8 = read_bmp(encoded(indexed));
    ASSERT_TRUE(back8) << back8.error();
    EXPECT_EQ(back8->format(), PixelFormat::indexed8);
    EXPECT_EQ(back8->palette(), indexed.palette());
    EXPECT_TRUE(differences(*back8, indexed).empty());

    for (const BmpDepth depth : {BmpDepth::bits24, BmpDepth::bits32}) {
        for (const PixelFormat format :
             {PixelFormat::indexed8, PixelFormat::rgb555, PixelFormat::xrgb32}) {
            SCOPED_TRACE(::testing::Message() << static_cast<int>(depth) << " bits from format "
                                              << static_cast<int>(format));
            const Bitmap original = pattern(format);
            auto back = read_bmp(encoded(original, depth));
            ASSERT_TRUE(back) << back.error();
            EXPECT_EQ(back->format(), PixelFormat::xrgb32);
            expect_same_colours(*back, original);
        }
    }
    EXPECT_EQ(encoded(pattern(PixelFormat::rgb555))[28], 24);  // automatic depth of direct colour
    EXPECT_FALSE(encode_bmp(pattern(PixelFormat::xrgb32), BmpDepth::bits8));

    Bytes top_down = encoded(pattern(PixelFormat::xrgb32));
    set32(top_down, 22, static_cast<std::uint32_t>(-3));
    auto flipped = read_bmp(top_down);
    ASSERT_TRUE(flipped) << flipped.error();
    const Bitmap original = pattern(PixelFormat::xrgb32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(flipped->pixel(x, y), original.pixel(x, 2 - y));
}

// Module resources store the info header, a colour table of biClrUsed entries and the rows,
// without the file header; the rows start right after the table.
TEST(Bmp, ReadsAResourceWithoutFileHeaderAndAShortColourTable) {
    Bytes dib(40 + 3 * 4 + 4 * 2, 0);
    set32(dib, 0, 40);
    set32(dib, 4, 3);
    set32(dib, 8, 2);
    set16(dib, 12, 1);
    set16(dib, 14, 8);
    set32(dib, 32, 3);  // three colours
    const std::uint8_t table[] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};  // red, green, blue
    std::memcpy(dib.data() + 40, table, sizeof table);
    const std::uint8_t pixels[] = {0, 1, 2, 9, 2, 1, 0, 9};  // bottom row first, padded to 4
    std::memcpy(dib.data() + 52, pixels, sizeof pixels);
    auto b = read_bmp(dib);
    ASSERT_TRUE(b) << b.error();
    EXPECT_EQ(b->palette()[0], red);
    EXPECT_EQ(b->palette()[2], blue);
    EXPECT_EQ(b->palette()[3], black);
    EXPECT_EQ(rows(*b), (std::vector<std::string>{"21.", ".12"}));
}

TEST(Bmp, AcceptsStandardBitFieldMasksAndRejectsOthers) {
    Bytes file = encoded(pattern(PixelFormat::xrgb32), BmpDepth::bits32);
    // Room for the masks after the header, the pixels moved along.
    file.insert(file.begin() + 54, 12, 0);
    set32(file, 10, 66);
    set32(file, 30, 3);
    set32(file, 54, 0xFF0000);
    set32(file, 58, 0xFF00);
    set32(file, 62, 0xFF);
    auto b = read_bmp(file);
    ASSERT_TRUE(b) << b.error();
    expect_same_colours(*b, pattern(PixelFormat::xrgb32));
    set32(file, 54, 0xF800);
    EXPECT_EQ(read_bmp(file, "masks.bmp").error(), "masks.bmp: unsupported colour masks");
}

struct Damage {
    const char* what;
    void (*apply)(Bytes&);
    const char* message;
};

// Each case damages a valid 8-bit 5 x 3 file (14 + 40 + 1024 bytes of headers, rows of 8 bytes).
const Damage damages[] = {
    {"cut pixels", [](Bytes& b) { b.resize(b.size() - 9); }, "truncated pixel data"},
    {"header only", [](Bytes& b) { b.resize(14 + 40 + 1024); }, "truncated pixel data"},
    {"cut palette", [](Bytes& b) { b.resize(14 + 40 + 500); }, "truncated colour table"},
    {"cut info header", [](Bytes& b) { b.resize(30); }, "truncated info header"},
    {"cut file header", [](Bytes& b) { b.resize(9); }, "truncated file header"},
    {"header size lies", [](Bytes& b) { set32(b, 14, 2000); }, "unsupported info header size 2000"},
    {"core header", [](Bytes& b) { set32(b, 14, 12); }, "unsupported info header size 12"},
    {"zero width", [](Bytes& b) { set32(b, 18, 0); }, "width 0 out of range"},
    {"negative width", [](Bytes& b) { set32(b, 18, static_cast<std::uint32_t>(-5)); },
     "width -5 out of range"},
    {"zero height", [](Bytes& b) { set32(b, 22, 0); }, "height 0 out of range"},
    {"huge height", [](Bytes& b) { set32(b, 22, 0x80000000u); }, "height -2147483648 out of range"},
    {"big but short",
     [](Bytes& b) {
         set32(b, 18, 1000);
         set32(b, 22, 1000);
     },
     "truncated pixel data"},
    {"two planes", [](Bytes& b) { set16(b, 26, 2); }, "2 planes, expected 1"},
    {"4-bit", [](Bytes& b) { set16(b, 28, 4); }, "unsupported bit depth 4"},
    {"RLE", [](Bytes& b) { set32(b, 30, 1); }, "unsupported compression 1"},
    {"too many colours", [](Bytes& b) { set32(b, 46, 1000); }, "colour count 1000 exceeds 256"},
    {"offset past end", [](Bytes& b) { set32(b, 10, 0xFFFFFF00u); },
     "pixel data offset beyond the end of the data"},
    {"offset in headers", [](Bytes& b) { set32(b, 10, 20); },
     "pixel data offset inside the headers"},
    {"offset near end", [](Bytes& b) { set32(b, 10, static_cast<std::uint32_t>(b.size() - 4)); },
     "truncated pixel data"},
};

TEST(Bmp, RejectsDamagedInputNamingTheFault) {
    const Bytes good = encoded(pattern(PixelFormat::indexed8));
    ASSERT_TRUE(read_bmp(good));
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        Bytes bad = good;
        d.apply(bad);
        auto result = read_bmp(bad, "panel.bmp");
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error(), std::string("panel.bmp: ") + d.message);
    }
}

// Whatever the length, a cut-off file is rejected or read within its bytes (the sanitiser build
// catches any read past them).
TEST(Bmp, EveryPrefixOfAFileIsHandledSafely) {
    for (const BmpDepth depth : {BmpDepth::bits8, BmpDepth::bits24}) {
        const Bytes good = encoded(pattern(PixelFormat::indexed8), depth);
        for (std::size_t n = 0; n < good.size(); ++n) {
            const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
            auto result = read_bmp(cut);
            // The last row may omit its padding; anything shorter is missing pixels.
            const std::size_t last_row_padding = depth == BmpDepth::bits8 ? 3 : 1;
            EXPECT_EQ(result.ok(), n >= good.size() - last_row_padding) << n;
        }
    }
}

TEST(Bmp, FilesRoundTripAndErrorsNameThePath) {
    const std::string path = ::testing::TempDir() + "canvas_round_trip.bmp";
    const Bitmap original = pattern(PixelFormat::rgb555);
    ASSERT_FALSE(write_bmp(path, original));
    auto back = read_bmp_file(path);
    ASSERT_TRUE(back) << back.error();
    expect_same_colours(*back, original);

    const std::string missing = ::testing::TempDir() + "no/such/dir/x.bmp";
    EXPECT_EQ(read_bmp_file(missing).error(), missing + ": cannot open");
    const auto error = write_bmp(missing, original);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, missing + ": cannot open for writing");
    std::ofstream(path, std::ios::binary) << "BM";
    EXPECT_EQ(read_bmp_file(path).error(), path + ": truncated file header");
}

}  // namespace
