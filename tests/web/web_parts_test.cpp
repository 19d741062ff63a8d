// The browser server's pieces on their own: what a page may send, what is kept for a slow page,
// the picture message, the messages shared by a window's pages, and the listening address.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>

#include "web/client_message.h"
#include "web/dirty_region.h"
#include "web/frame_history.h"
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

// The rectangles of a picture message, and each one's pixels as decoded from its PNG.
std::vector<std::pair<Rect, std::vector<std::uint32_t>>> pieces_of(const std::vector<std::uint8_t>& m) {
    auto u16 = [&](std::size_t at) { return m[at] | m[at + 1] << 8; };
    std::vector<std::pair<Rect, std::vector<std::uint32_t>>> out;
    std::size_t at = 8;
    for (int i = 0; i < u16(2); ++i) {
        const Rect r{u16(at), u16(at + 2), u16(at + 4), u16(at + 6)};
        const std::size_t n = m[at + 8] | m[at + 9] << 8 | m[at + 10] << 16 | std::size_t(m[at + 11]) << 24;
        int w = 0, h = 0;
        out.emplace_back(r, decode_png(m.data() + at + 12, n, w, h));
        at += 12 + n;
    }
    return out;
}

void paint(web::Picture& p, const Rect& r, std::uint32_t colour) {
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) p.row(y)[x] = colour + static_cast<std::uint32_t>(x ^ y);
}

// What a page sent that message would show, starting from `shown`.
void apply(web::Picture& shown, const std::vector<std::uint8_t>& m) {
    for (const auto& [r, pixels] : pieces_of(m))
        for (int y = 0; y < r.h; ++y)
            for (int x = 0; x < r.w; ++x) shown.row(r.y + y)[r.x + x] = pixels[std::size_t(y) * r.w + x];
}

TEST(FrameHistory, PagesAtOneCycleShareOneMessageAndLaggingPagesTheirUnion) {
    std::atomic<std::uint64_t> encodings{0};
    web::FrameHistory history(encodings);
    web::Picture window(120, 80);
    paint(window, {0, 0, 120, 80}, 0x100000);

    auto first = history.frame_since(std::nullopt, window.view());
    ASSERT_TRUE(first);
    EXPECT_EQ(history.frame_since(std::nullopt, window.view()), first) << "new pages share the whole window";
    ASSERT_TRUE(first->bytes());
    ASSERT_TRUE(first->bytes());
    EXPECT_EQ(encodings.load(), 1u);
    ASSERT_EQ(pieces_of(first->bytes().value()).size(), 1u);
    EXPECT_EQ(pieces_of(first->bytes().value())[0].first, (Rect{0, 0, 120, 80}));
    EXPECT_FALSE(history.frame_since(history.cycle(), window.view())) << "nothing changed for a page up to date";

    // Three pages sent the first picture (cycle 0), one of them also cycle 1's change.
    web::Picture page_a(120, 80), page_b(120, 80), page_c(120, 80);
    for (auto* page : {&page_a, &page_b, &page_c}) apply(*page, first->bytes().value());
    const Rect a{10, 10, 20, 20}, b{60, 40, 30, 10};
    paint(window, a, 0x200000);
    history.record(false, std::vector<Rect>{a});
    auto one = history.frame_since(0, window.view());
    ASSERT_TRUE(one);
    apply(page_c, one->bytes().value());
    paint(window, b, 0x300000);
    history.record(false, std::vector<Rect>{b});
    ASSERT_EQ(history.cycle(), 2u);

    auto union_a = history.frame_since(0, window.view());
    auto union_b = history.frame_since(0, window.view());
    auto latest = history.frame_since(1, window.view());
    ASSERT_TRUE(union_a && latest);
    EXPECT_EQ(union_a, union_b) << "pages lagging alike share the union";
    EXPECT_NE(union_a, latest);
    const auto rects_of = [](const auto& frame) {
        std::vector<Rect> r;
        for (const auto& piece : pieces_of(frame->bytes().value())) r.push_back(piece.first);
        return r;
    };
    EXPECT_EQ(rects_of(union_a), (std::vector<Rect>{a, b}));
    EXPECT_EQ(rects_of(latest), (std::vector<Rect>{b}));
    apply(page_a, union_a->bytes().value());
    apply(page_b, union_b->bytes().value());
    apply(page_c, latest->bytes().value());
    for (const auto* page : {&page_a, &page_b, &page_c}) EXPECT_EQ(page->pixels, window.pixels);
    EXPECT_EQ(encodings.load(), 4u) << "the whole window, cycle 1, the union and cycle 2, once each";

    // A whole change, or more cycles missed than remembered, sends the whole window.
    history.record(true, {});
    EXPECT_EQ(rects_of(history.frame_since(2, window.view())), (std::vector<Rect>{{0, 0, 120, 80}}));
    for (std::size_t i = 0; i < web::FrameHistory::kCycles; ++i) history.record(false, std::vector<Rect>{{0, 0, 1, 1}});
    EXPECT_EQ(rects_of(history.frame_since(3, window.view())), (std::vector<Rect>{{0, 0, 1, 1}}));
    EXPECT_EQ(rects_of(history.frame_since(2, window.view())), (std::vector<Rect>{{0, 0, 120, 80}}));
    history.record(false, {});
    EXPECT_FALSE(history.frame_since(history.cycle(), window.view())) << "a cycle without change is none";
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
