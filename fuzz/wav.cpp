// WAV files and WAVE resources: the chunk walk both sound gauges share, the window switch's reading
// of its click and the gear call-outs' library check and load.
#include <span>

#include "fuzz/fuzz_support.h"
#include "sound/geartalk/wave_file.h"
#include "sound/riff_chunks.h"

namespace {

bool inside(riff::Bytes whole, riff::Bytes part) {
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const riff::Bytes file(data, size);
    const riff::Form form = riff::open_form(file, "WAVE");
    fuzzsupport::require(inside(file, form.chunks), "form inside the file");
    if (form.ok) {
        const riff::Chunk fmt = riff::find_chunk(form.chunks, "fmt ");
        const riff::Chunk samples = riff::find_chunk(form.chunks, "data");
        fuzzsupport::require(inside(form.chunks, fmt.body) && inside(form.chunks, samples.body), "chunks inside the form");
        riff::WaveFormat format;
        if (fmt.status == riff::Lookup::found) riff::read_format(fmt.body, format);
    }
    if (soundlib::is_pcm_wave(file)) {
        soundlib::WaveImage image;
        if (soundlib::read_wave(file, image)) fuzzsupport::require(image.data.size() <= size, "samples from the file");
    }
    return 0;
}
