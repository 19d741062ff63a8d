#include "sound/riff_chunks.h"

#include <algorithm>
#include <cstring>

namespace riff {
namespace {

constexpr std::size_t kHeaderSize = 8;  // id and length

bool id_is(const std::uint8_t* p, std::string_view id) {
    return id.size() == 4 && std::memcmp(p, id.data(), 4) == 0;
}

}  // namespace

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

Form open_form(Bytes image, std::string_view form) {
    if (image.size() < kHeaderSize + 4 || !id_is(image.data(), "RIFF")) return {};
    const std::size_t declared = le32(image.data() + 4);
    const std::size_t available = image.size() - kHeaderSize;
    const Bytes body = image.subspan(kHeaderSize, std::min(declared, available));
    if (body.size() < 4 || !id_is(body.data(), form)) return {};
    return {true, body.subspan(4)};
}

Chunk find_chunk(Bytes chunks, std::string_view id) {
    std::size_t at = 0;
    while (chunks.size() - at >= kHeaderSize) {
        const std::uint8_t* header = chunks.data() + at;
        const std::size_t length = le32(header + 4);
        const std::size_t room = chunks.size() - at - kHeaderSize;
        if (length > room) return {Lookup::overrun, {}};
        if (id_is(header, id)) return {Lookup::found, chunks.subspan(at + kHeaderSize, length)};
        // The pad byte of an odd-length last chunk may be missing; the walk then simply ends.
        at += kHeaderSize + length + (length & 1);
        if (at > chunks.size()) break;
    }
    return {Lookup::absent, {}};
}

bool read_format(Bytes block, WaveFormat& out) {
    if (block.size() < kWaveFormatSize) return false;
    const std::uint8_t* p = block.data();
    out.tag = le16(p);
    out.channels = le16(p + 2);
    out.samples_per_second = le32(p + 4);
    out.bytes_per_second = le32(p + 8);
    out.block_align = le16(p + 12);
    if (block.size() >= kPcmFormatSize)
        out.bits_per_sample = le16(p + 14);
    else
        out.bits_per_sample = out.channels ? static_cast<std::uint16_t>(out.block_align * 8 / out.channels) : 0;
    return true;
}

}  // namespace riff
