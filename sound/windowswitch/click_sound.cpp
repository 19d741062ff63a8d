#include "sound/windowswitch/click_sound.h"

#include <memory>

#include "platform/audio.h"
#include "platform/window_registry.h"
#include "sound/riff_chunks.h"

namespace click {
namespace {

// The module only ever plays one resource; a few entries leave room without a growing table.
constexpr int kCacheSize = 4;

struct CachedBuffer {
    std::unique_ptr<plat::AudioClip> buffer;
    std::uint32_t id = 0;
};

bool first_use = true;
// The platform mixes every clip into one process-wide output, so the device object reduces to
// whether the sound path came up for a foreground window, as it must on the desktop.
bool device = false;
CachedBuffer cache[kCacheSize];
int cached = 0;

bool create_device() { return plat::find_window("FS98MAIN", "") != 0; }

plat::AudioClip* find_cached(std::uint32_t id) {
    for (int i = 0; i < cached; ++i)
        if (cache[i].id == id) return cache[i].buffer.get();
    return nullptr;
}

// The resource's samples in a buffer of their own format, or null when the resource is missing,
// is not a PCM RIFF WAVE image, or lies about a chunk's length.
std::unique_ptr<plat::AudioClip> buffer_from_resource(plat::ModuleHandle module, std::uint32_t id) {
    const auto image = plat::find_resource(module, plat::kWaveResource, id);
    if (!image) return nullptr;
    const riff::Form form = riff::open_form(*image, "WAVE");
    if (!form.ok) return nullptr;
    const riff::Chunk fmt = riff::find_chunk(form.chunks, "fmt ");
    const riff::Chunk data = riff::find_chunk(form.chunks, "data");
    riff::WaveFormat format;
    if (fmt.status != riff::Lookup::found || data.status != riff::Lookup::found) return nullptr;
    if (!riff::read_format(fmt.body, format) || format.tag != riff::kFormatPcm) return nullptr;
    const plat::PcmFormat pcm{format.channels, static_cast<int>(format.samples_per_second), format.bits_per_sample};
    return plat::AudioClip::create(pcm, data.body);
}

plat::AudioClip* create_cached(plat::ModuleHandle module, std::uint32_t id) {
    if (cached >= kCacheSize) return nullptr;
    auto buffer = buffer_from_resource(module, id);
    if (!buffer) return nullptr;
    cache[cached] = {std::move(buffer), id};
    return cache[cached++].buffer.get();
}

}  // namespace

void play_resource_sound(plat::ModuleHandle module, std::uint32_t id) {
    if (first_use) {
        first_use = false;
        device = create_device();
    }
    if (!device) return;
    plat::AudioClip* buffer = find_cached(id);
    if (!buffer) buffer = create_cached(module, id);
    // From the start whether it is still playing or not: a quick second press clicks anew.
    if (buffer) buffer->play();
}

void release_sounds() {
    for (int i = 0; i < cached; ++i) cache[i] = {};
    cached = 0;
    device = false;
    first_use = true;
}

}  // namespace click
