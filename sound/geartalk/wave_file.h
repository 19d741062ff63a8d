#pragma once
// The two steps of the sound library that look inside a WAV file: the check that it is a PCM wave
// at all, and the reading of its format block and sample data.

#include <cstdint>
#include <vector>

#include "sound/riff_chunks.h"

namespace soundlib {

struct WaveImage {
    std::vector<std::uint8_t> format_block;  // the file's format, 18 bytes plus any extra bytes
    riff::WaveFormat format;
    std::vector<std::uint8_t> data;          // the "data" chunk
};

// A RIFF form of type "WAVE" with a "fmt " chunk of at least 16 bytes and format tag 1.
bool is_pcm_wave(riff::Bytes file);

// Fills `out` from the file; false when a chunk is missing, shorter than it must be, claims more
// bytes than the file holds, or memory runs out. Nothing past the file's end is read.
bool read_wave(riff::Bytes file, WaveImage& out);

}  // namespace soundlib
