#include "sound/geartalk/wave_file.h"

#include <cstring>
#include <new>

namespace soundlib {
namespace {

// A format block carries its extra bytes after an 18-byte header ending in their count.
constexpr std::size_t kFormatHeaderSize = 18;

riff::Chunk format_chunk(riff::Bytes file) {
    const riff::Form form = riff::open_form(file, "WAVE");
    if (!form.ok) return {};
    return riff::find_chunk(form.chunks, "fmt ");
}

bool read_format_block(riff::Bytes chunk, WaveImage& out) {
    if (chunk.size() < riff::kPcmFormatSize || !riff::read_format(chunk, out.format)) return false;
    std::size_t extra = 0;
    if (out.format.tag != riff::kFormatPcm) {
        if (chunk.size() < kFormatHeaderSize) return false;
        extra = riff::le16(chunk.data() + riff::kPcmFormatSize);
        if (chunk.size() - kFormatHeaderSize < extra) return false;
    }
    out.format_block.assign(kFormatHeaderSize + extra, 0);
    std::memcpy(out.format_block.data(), chunk.data(), riff::kPcmFormatSize);
    out.format_block[16] = static_cast<std::uint8_t>(extra);
    out.format_block[17] = static_cast<std::uint8_t>(extra >> 8);
    if (extra) std::memcpy(out.format_block.data() + kFormatHeaderSize, chunk.data() + kFormatHeaderSize, extra);
    return true;
}

}  // namespace

bool is_pcm_wave(riff::Bytes file) {
    const riff::Chunk fmt = format_chunk(file);
    riff::WaveFormat format;
    return fmt.status == riff::Lookup::found && fmt.body.size() >= riff::kPcmFormatSize &&
           riff::read_format(fmt.body, format) && format.tag == riff::kFormatPcm;
}

bool read_wave(riff::Bytes file, WaveImage& out) {
    const riff::Form form = riff::open_form(file, "WAVE");
    if (!form.ok) return false;
    const riff::Chunk fmt = riff::find_chunk(form.chunks, "fmt ");
    if (fmt.status != riff::Lookup::found) return false;
    // The data chunk is looked for from the start of the form again: it may come before "fmt ".
    const riff::Chunk data = riff::find_chunk(form.chunks, "data");
    if (data.status != riff::Lookup::found) return false;
    try {
        if (!read_format_block(fmt.body, out)) return false;
        out.data.assign(data.body.begin(), data.body.end());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace soundlib
