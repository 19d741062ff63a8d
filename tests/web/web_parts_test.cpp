// The browser server's pieces on their own: what a page may send, what is kept for a slow page,
// the picture message, and the listening address.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>

#include "web/client_message.h"
#include "web/dirty_region.h"
#include "web/frame_message.h"
#include "web/listen_address.h"

namespace {

using Rect = web::Area;

TEST(ClientMessage, TakesThePagesInputAndNothingElse) {
    std::string why;
    auto press = web::parse_client_message("press 16 43", why);
    ASSERT_TRUE(press);
    EXPECT_EQ(press->kind, web::InputKind::press);
    EXPECT_EQ(press->x, 16);
    EXPECT_EQ(press->y, 43);
    auto key = web::parse_client_message("keydown 9", why);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->kind, web::InputKind::key_down);
    EXPECT_EQ(key->vk, 9);
    EXPECT_EQ(web::parse_client_message("keyup 65", why)->kind, web::InputKind::key_up);
    EXPECT_EQ(web::parse_client_message("release", why)->kind, web::InputKind::release);
    EXPECT_EQ(web::parse_client_message("ping", why)->kind, web::InputKind::ping);

    for (const char* bad : {"", " ", "press", "press 1", "press 1 2 3", "press -1 2", "press 1  2", "press 1 2 ",
                            "press 0x10 2", "press 123456 1", "PRESS 1 2", "release now", "keydown 999",
                            "keydown 7", "keydown", "keyup 65 1", "press 1\n2", "hello"}) {
        why.clear();
        EXPECT_FALSE(web::parse_client_message(bad, why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
    const std::string longest(web::kMaxClientMessage + 1, 'p');
    EXPECT_FALSE(web::parse_client_message(longest, why));
    EXPECT_FALSE(web::parse_client_message(std::string_view("press 1 2\0", 10), why));
}

TEST(DirtyRegion, KeepsWhatASlowPageMissedWithoutGrowing) {
    web::DirtyRegion r;
    EXPECT_TRUE(r.empty());
    r.add({10, 10, 20, 20});
    r.add({12, 12, 5, 5});  // inside: nothing new
    r.add({0, 0, 40, 40});  // holds the first: replaces it
    auto taken = r.take(100, 100);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0], (Rect{0, 0, 40, 40}));
    EXPECT_TRUE(r.empty());

    for (int i = 0; i < 40; ++i) r.add({i * 2, 50, 1, 1});
    taken = r.take(100, 100);
    EXPECT_LE(taken.size(), web::DirtyRegion::kMaxRects) << "many small changes merge into few boxes";
    for (int i = 0; i < 40; ++i)
        EXPECT_TRUE(std::any_of(taken.begin(), taken.end(), [&](const Rect& t) { return !t.intersect({i * 2, 50, 1, 1}).empty(); }))
            << "change " << i << " is kept";

    r.add({90, 90, 30, 30});
    taken = r.take(100, 100);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0], (Rect{90, 90, 10, 10})) << "clipped to the window";

    r.add({1, 1, 2, 2});
    r.add_whole();
    r.add({5, 5, 2, 2});
    taken = r.take(64, 32);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0], (Rect{0, 0, 64, 32}));
}

std::vector<std::uint32_t> decode_png(const std::uint8_t* data, std::size_t size, int& w, int& h) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return {};
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    w = static_cast<int>(image.width);
    h = static_cast<int>(image.height);
    for (auto& p : pixels) p &= 0x00FFFFFFu;
    return pixels;
}

TEST(FrameMessage, CarriesEachRectangleAsAPngOfItsPixels) {
    web::Picture picture(300, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) picture.row(y)[x] = 0xFF000000u | static_cast<std::uint32_t>(x * 7 + y * 300);
    const std::vector<web::PicturePiece> pieces = {web::copy_piece(picture.view(), {0, 0, 300, 200}),
                                                   web::copy_piece(picture.view(), {290, 190, 20, 20})};
    EXPECT_EQ(pieces[1].area, (Rect{290, 190, 10, 10})) << "a piece is cut to the picture";
    auto frame = web::encode_frame(300, 200, pieces);
    ASSERT_TRUE(frame) << frame.error();
    const std::vector<std::uint8_t>& m = *frame;
    auto u16 = [&](std::size_t at) { return m[at] | m[at + 1] << 8; };
    ASSERT_GE(m.size(), 8u);
    EXPECT_EQ(m[0], 'P');
    EXPECT_EQ(m[1], 'F');
    EXPECT_EQ(u16(2), 2);
    EXPECT_EQ(u16(4), 300);
    EXPECT_EQ(u16(6), 200);
    std::size_t at = 8;
    for (const auto& piece : pieces) {
        ASSERT_LE(at + 12, m.size());
        EXPECT_EQ((Rect{u16(at), u16(at + 2), u16(at + 4), u16(at + 6)}), piece.area);
        const std::size_t n = m[at + 8] | m[at + 9] << 8 | m[at + 10] << 16 | std::size_t(m[at + 11]) << 24;
        at += 12;
        ASSERT_LE(at + n, m.size());
        int w = 0, h = 0;
        const auto pixels = decode_png(m.data() + at, n, w, h);
        ASSERT_EQ(w, piece.area.w);
        ASSERT_EQ(h, piece.area.h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(pixels[std::size_t(y) * w + x], picture.row(piece.area.y + y)[piece.area.x + x] & 0xFFFFFFu);
        at += n;
    }
    EXPECT_EQ(at, m.size());
    EXPECT_FALSE(web::encode_frame(70000, 10, {}));
}

TEST(ListenAddress, ReadsAddressAndPort) {
    std::string why;
    auto a = web::parse_listen_address("8080", why);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->address, "127.0.0.1");
    EXPECT_EQ(a->port, 8080);
    a = web::parse_listen_address("0.0.0.0:80", why);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->address, "0.0.0.0");
    EXPECT_FALSE(web::is_loopback(a->address));
    EXPECT_EQ(web::parse_listen_address("localhost:0", why)->address, "127.0.0.1");
    EXPECT_TRUE(web::is_loopback("127.0.0.1"));
    EXPECT_TRUE(web::is_loopback("127.1.2.3"));
    for (const char* bad : {"", "http", "65536", "-1", "1.2.3:80", "example.org:80", ":", "10.0.0.1:", "80x"}) {
        why.clear();
        EXPECT_FALSE(web::parse_listen_address(bad, why)) << bad;
        EXPECT_FALSE(why.empty());
    }
    EXPECT_FALSE(web::reachable_addresses("0.0.0.0").empty());
}

}  // namespace
