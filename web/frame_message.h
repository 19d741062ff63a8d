#pragma once
// The binary message that carries pictures to a page: the changed rectangles of one window, each a
// PNG. Little-endian:
//
//   "PF"  u16 count  u16 window width  u16 window height
//   count times: u16 x  u16 y  u16 w  u16 h  u32 byte count  PNG bytes

#include <cstdint>
#include <span>
#include <vector>

#include "platform/result.h"
#include "web/picture.h"

namespace web {

// The pixels of one rectangle of a window, copied out so they can be encoded without a lock.
struct PicturePiece {
    Area area;
    std::vector<std::uint32_t> pixels;  // area.w * area.h, row after row
};

PicturePiece copy_piece(PictureView picture, const Area& area);

plat::Result<std::vector<std::uint8_t>> encode_frame(int window_width, int window_height,
                                                     std::span<const PicturePiece> pieces);

}  // namespace web
