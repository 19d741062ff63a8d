#include "sound/geartalk/sound_library.h"

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/mapped_file.h"
#include "platform/message_box.h"
#include "sound/geartalk/wave_file.h"

namespace soundlib {
namespace {

constexpr const char* kTitle = "Soundlib-Error ";
constexpr const char* kNotFound = "Sound-File not found\n";
constexpr const char* kNoMemory = "Kann keinen Speicher allokieren";
constexpr const char* kBadFormat = "Ungueltiges Format oder nicht genuegend Speicher";

// One loaded sound. The platform's clip is both the device object and the secondary buffer of
// the desktop original: it holds the samples and plays them.
struct Sound {
    std::string owner_window;  // for play messages; left empty, so they have no owner
    std::vector<std::uint8_t> data;
    std::size_t data_length = 0;
    std::vector<std::uint8_t> format_block;
    std::unique_ptr<plat::AudioClip> clip;
    bool playing = false;
    bool in_hardware = false;
    std::string path;
};

std::array<std::unique_ptr<Sound>, kSlots> slots;
int count = 0;

void report(const char* owner_window, const char* text) {
    plat::show_message_box(owner_window, text, kTitle, plat::MessageIcon::error);
}

// The slot a new sound goes into, or -1 when all are taken.
int take_free_slot() {
    if (count == 0) {
        for (auto& s : slots) s.reset();
        return 0;
    }
    for (int i = 0; i < kSlots; ++i)
        if (!slots[i]) return i;
    return -1;
}

Sound* sound_of(int sound) {
    if (sound < 1 || sound > kSlots) return nullptr;
    return slots[sound - 1].get();
}

// Keeps the samples and format of the file in the record.
void take_wave(Sound& s, WaveImage& image) {
    s.data = std::move(image.data);
    s.data_length = s.data.size();
    s.format_block = std::move(image.format_block);
}

// Hands the samples to the audio output in the file's own format. A format the output cannot
// play makes the sound absent, without a message, as a device that refuses it would.
bool create_buffer(Sound& s, const riff::WaveFormat& format) {
    const plat::PcmFormat pcm{format.channels, static_cast<int>(format.samples_per_second), format.bits_per_sample};
    s.clip = plat::AudioClip::create(pcm, s.data);
    if (!s.clip) return false;
    s.in_hardware = false;  // mixed in software by the platform
    return true;
}

}  // namespace

int load_sound(const char* owner_window, const char* path) {
    const int slot = take_free_slot();
    if (slot < 0) return 0;

    auto file = plat::MappedFile::open(path);
    plat::FileView view;
    if (file) {
        if (auto mapped = file->map()) view = std::move(mapped).value();
    }
    if (!view || !is_pcm_wave(view.bytes())) {
        report(owner_window, kNotFound);
        return 0;
    }

    std::unique_ptr<Sound> sound(new (std::nothrow) Sound{});
    if (!sound) {
        report(owner_window, kNoMemory);
        return 0;
    }
    sound->path = path;

    WaveImage image;
    if (!read_wave(view.bytes(), image)) {
        report(owner_window, kBadFormat);
        return 0;
    }
    take_wave(*sound, image);
    if (!create_buffer(*sound, image.format)) return 0;

    slots[slot] = std::move(sound);
    ++count;
    return slot + 1;
}

void play_sound(int sound) {
    Sound* s = sound_of(sound);
    if (!s || !s->clip) return;
    // The platform's play starts a stopped clip and sets a playing one back to its start, which
    // are the two cases the status query tells apart; neither can fail once the clip exists.
    s->clip->play();
    s->playing = true;
}

void free_sound(int sound) {
    Sound* s = sound_of(sound);
    if (!s) return;
    if (s->clip) s->clip->stop();
    slots[sound - 1].reset();
    --count;
}

int loaded_sounds() { return count; }

}  // namespace soundlib
