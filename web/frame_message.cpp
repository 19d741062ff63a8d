#include "web/frame_message.h"

#include <algorithm>

#include "platform/canvas/png_file.h"

namespace web {
namespace {

void put16(std::vector<std::uint8_t>& out, int v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::size_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

bool fits16(int v) { return v >= 0 && v <= 0xFFFF; }

}  // namespace

PicturePiece copy_piece(PictureView picture, const Area& area) {
    PicturePiece piece;
    piece.area = area.intersect({0, 0, picture.width, picture.height});
    piece.pixels.resize(static_cast<std::size_t>(std::max(piece.area.w, 0)) * std::max(piece.area.h, 0));
    for (int y = 0; y < piece.area.h; ++y) {
        const std::uint32_t* in = picture.row(piece.area.y + y) + piece.area.x;
        std::copy(in, in + piece.area.w, piece.pixels.begin() + static_cast<std::ptrdiff_t>(y) * piece.area.w);
    }
    return piece;
}

plat::Result<std::vector<std::uint8_t>> encode_frame(int window_width, int window_height,
                                                     std::span<const PicturePiece> pieces) {
    if (!fits16(window_width) || !fits16(window_height) || !fits16(static_cast<int>(pieces.size())))
        return plat::Error{"a window or a frame too large to send"};
    std::vector<std::uint8_t> out{'P', 'F'};
    put16(out, static_cast<int>(pieces.size()));
    put16(out, window_width);
    put16(out, window_height);
    for (const PicturePiece& p : pieces) {
        auto png = plat::encode_png_xrgb(p.area.w, p.area.h, p.pixels, static_cast<std::size_t>(p.area.w));
        if (!png) return plat::Error{png.error()};
        put16(out, p.area.x);
        put16(out, p.area.y);
        put16(out, p.area.w);
        put16(out, p.area.h);
        put32(out, png->size());
        out.insert(out.end(), png->begin(), png->end());
    }
    return out;
}

}  // namespace web
