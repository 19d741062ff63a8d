#pragma once
// Sound for the gauges: PCM clips, each played once from its start, mixed into one process-wide
// output device. The device opens on the first clip; without any sound hardware the output falls
// back to SDL's dummy driver, and without even that the clips stay silent but still take their
// playing time, so a gauge behaves the same on a headless machine.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace plat {

// A clip's sample layout: 8-bit samples are unsigned, 16-bit samples signed little-endian,
// channels interleaved, as in a PCM WAV file.
struct PcmFormat {
    int channels = 0;            // 1 or 2
    int samples_per_second = 0;  // 100 to 200000
    int bits_per_sample = 0;     // 8 or 16
};

struct AudioOutputOptions {
    std::string capture_wav_path;  // non-empty: everything mixed is also written to this WAV file
    bool force_dummy = false;      // skip real devices and use SDL's dummy driver straight away
    bool force_silent = false;     // open no device at all: clips only keep their playing time
    // Open no device: the host moves the output along with its own clock (advance_audio_output),
    // so a run in simulated time plays, and captures, exactly what its clock says was heard.
    bool clocked_by_host = false;
};

// Takes effect the next time the output opens: at the first clip, or the first after a shutdown.
void configure_audio_output(const AudioOutputOptions& options);
// With clocked_by_host: mixes the next ms milliseconds of output (into the capture, if any) and
// moves every playing clip on by as much. Does nothing otherwise.
void advance_audio_output(std::uint32_t ms);
// Closes the device and completes the capture file. Clips survive; playing them opens the output again.
void shutdown_audio_output();

// The SDL driver in use ("pulseaudio", "alsa", "dummy", "disk"...), "none" when the output could
// not open at all, empty before the first clip.
std::string audio_driver_name();
// Why no driver could open, or empty; also printed once to stderr when it happens.
std::string audio_output_error();
// What clips are converted to, and what a capture file holds.
PcmFormat audio_output_format();

enum class AudioEventKind { play, restart, stop, finish };
struct AudioEvent {
    std::uint64_t clip = 0;  // AudioClip::id()
    std::size_t bytes = 0;   // the clip's PCM size as given to create
    AudioEventKind kind = AudioEventKind::play;
};
// Number of play() calls in the process, restarts included.
std::uint64_t audio_play_count();
// The most recent events, oldest first, at most 256.
std::vector<AudioEvent> audio_events();

class AudioClip {
    struct Key {
        explicit Key() = default;
    };

public:
    struct State;  // the converted samples and play position, shared with the mixer

    // Converts the PCM data to the output format once, and opens the output if it is not open.
    // Returns null and fills *error for a format that is not 8/16-bit mono/stereo at 100 to
    // 200000 Hz, or data that is empty, not whole frames, or longer than ten minutes.
    static std::unique_ptr<AudioClip> create(const PcmFormat& format, std::span<const std::uint8_t> pcm,
                                             std::string* error = nullptr);

    AudioClip(Key, std::unique_ptr<State> state);
    AudioClip(const AudioClip&) = delete;
    AudioClip& operator=(const AudioClip&) = delete;
    ~AudioClip();  // stops the clip and detaches it from the mixer

    void play();  // from the beginning, also when already playing
    void stop();
    bool playing() const;  // false again once all of the data has been played

    std::uint64_t id() const;
    double duration_seconds() const;

private:
    std::unique_ptr<State> state_;
};

}  // namespace plat
