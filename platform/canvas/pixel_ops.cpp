#include "platform/canvas/pixel_ops.h"

#include <cstring>

namespace plat::detail {
namespace {

// Pixels go through memcpy: wrapped host memory may have any pitch, so 16- and 32-bit rows are not
// guaranteed to be aligned, and the compiler turns these into plain loads and stores anyway.
template <typename Word, std::uint32_t Fixed>
struct Packed {
    static std::uint32_t get(const std::uint8_t* row, int x) {
        Word w;
        std::memcpy(&w, row + static_cast<std::ptrdiff_t>(x) * sizeof(Word), sizeof(Word));
        return w;
    }
    static void put(std::uint8_t* row, int x, std::uint32_t value) {
        const Word w = static_cast<Word>(value | Fixed);
        std::memcpy(row + static_cast<std::ptrdiff_t>(x) * sizeof(Word), &w, sizeof(Word));
    }
    static void fill(std::uint8_t* row, int x0, int x1, std::uint32_t value) {
        const Word w = static_cast<Word>(value | Fixed);
        if constexpr (sizeof(Word) == 1) {
            std::memset(row + x0, w, static_cast<std::size_t>(x1 - x0));
        } else {
            // Short spans pixel by pixel; long ones by doubling the filled stretch with memcpy,
            // which moves whole vectors at a time.
            std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x0) * sizeof(Word);
            const std::size_t total = static_cast<std::size_t>(x1 - x0) * sizeof(Word);
            if (total <= 16 * sizeof(Word)) {
                for (std::size_t i = 0; i < total; i += sizeof(Word))
                    std::memcpy(p + i, &w, sizeof(Word));
                return;
            }
            std::memcpy(p, &w, sizeof(Word));
            std::size_t done = sizeof(Word);
            while (done < total) {
                const std::size_t n = done < total - done ? done : total - done;
                std::memcpy(p + done, p, n);
                done += n;
            }
        }
    }
    static void copy(std::uint8_t* dst, const std::uint8_t* src, int n) {
        if constexpr (Fixed == 0) {
            std::memcpy(dst, src, static_cast<std::size_t>(n) * sizeof(Word));
        } else {
            for (int x = 0; x < n; ++x) put(dst, x, get(src, x));
        }
    }
    static void bit_or(std::uint8_t* dst, const std::uint8_t* src, int n) {
        for (int x = 0; x < n; ++x) put(dst, x, get(dst, x) | get(src, x));
    }
};

// GDI reduces a channel to five bits by dropping the low bits, and widens it back by repeating the
// top bits, so white stays white and black stays black through a round trip.
std::uint32_t encode555(ColorRef c) {
    return 0x8000u | (std::uint32_t{get_r(c)} >> 3 << 10) | (std::uint32_t{get_g(c)} >> 3 << 5) |
           (std::uint32_t{get_b(c)} >> 3);
}
std::uint8_t widen5(std::uint32_t v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }
ColorRef decode555(std::uint32_t v) {
    return rgb(widen5((v >> 10) & 31), widen5((v >> 5) & 31), widen5(v & 31));
}

std::uint32_t encode32(ColorRef c) {
    return (std::uint32_t{get_r(c)} << 16) | (std::uint32_t{get_g(c)} << 8) | get_b(c);
}
ColorRef decode32(std::uint32_t v) {
    return rgb(static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
               static_cast<std::uint8_t>(v));
}

std::uint32_t no_encode(ColorRef) { return 0; }
ColorRef no_decode(std::uint32_t) { return 0; }

using P8 = Packed<std::uint8_t, 0>;
using P16 = Packed<std::uint16_t, 0x8000>;
using P32 = Packed<std::uint32_t, 0>;

constexpr PixelOps ops8{1, 0, 0xFF, P8::get, P8::put, P8::fill, P8::copy, P8::bit_or,
                        no_encode, no_decode};
constexpr PixelOps ops16{2, 0x8000, 0x7FFF, P16::get, P16::put, P16::fill, P16::copy, P16::bit_or,
                         encode555, decode555};
constexpr PixelOps ops32{4, 0, 0xFFFFFF, P32::get, P32::put, P32::fill, P32::copy, P32::bit_or,
                         encode32, decode32};

}  // namespace

const PixelOps& pixel_ops(PixelFormat format) {
    switch (format) {
    case PixelFormat::indexed8: return ops8;
    case PixelFormat::rgb555: return ops16;
    case PixelFormat::xrgb32: return ops32;
    }
    return ops8;
}

}  // namespace plat::detail
