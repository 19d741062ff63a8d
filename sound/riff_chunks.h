#pragma once
// RIFF WAVE images as both sound gauges read them: a "RIFF" header with its form type, then chunks
// of an id, a little-endian length and the body padded to an even length. The images come from
// files a user may have replaced or cut short, so every length is checked against the bytes that
// are really there before anything is read through it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace riff {

using Bytes = std::span<const std::uint8_t>;

// The chunk area of a RIFF form of type `form` (the bytes after the form type), or an empty span
// with `ok` false when the image is no such form. A RIFF length beyond the image is cut to the
// image: the chunks inside are still checked one by one.
struct Form {
    bool ok = false;
    Bytes chunks;
};
Form open_form(Bytes image, std::string_view form);

enum class Lookup {
    found,
    absent,   // the walk reached the end of the form without meeting the id
    overrun,  // a chunk on the way claims more bytes than the form holds
};
struct Chunk {
    Lookup status = Lookup::absent;
    Bytes body;  // exactly the chunk's length, inside the form
};
// The first chunk named `id` among `chunks`, walking from the start.
Chunk find_chunk(Bytes chunks, std::string_view id);

// The fields of a wave format block (at least 14 bytes: WAVEFORMAT; 16 with the sample size).
struct WaveFormat {
    std::uint16_t tag = 0;  // 1 is PCM
    std::uint16_t channels = 0;
    std::uint32_t samples_per_second = 0;
    std::uint32_t bytes_per_second = 0;
    std::uint16_t block_align = 0;
    std::uint16_t bits_per_sample = 0;  // from the block when it has it, else from block_align
};
inline constexpr std::size_t kWaveFormatSize = 14;
inline constexpr std::size_t kPcmFormatSize = 16;
inline constexpr std::uint16_t kFormatPcm = 1;
// Reads a format block of at least kWaveFormatSize bytes; false for a shorter one.
bool read_format(Bytes block, WaveFormat& out);

std::uint16_t le16(const std::uint8_t* p);
std::uint32_t le32(const std::uint8_t* p);

}  // namespace riff
