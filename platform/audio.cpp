#include "platform/audio.h"

#include <SDL.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>

namespace plat {
namespace {

constexpr int output_rate = 44100;
constexpr int output_channels = 2;
constexpr int output_bits = 16;
constexpr int output_frame_bytes = output_channels * output_bits / 8;
constexpr Uint16 output_buffer_frames = 1024;
constexpr int min_rate = 100;
constexpr int max_rate = 200000;
// Call-outs and clicks last seconds; ten minutes bounds what a stray rate can inflate a clip to.
constexpr std::uint64_t max_output_frames = std::uint64_t{output_rate} * 600;
constexpr std::size_t event_log_size = 256;

using Clock = std::chrono::steady_clock;

void set_error(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

std::string format_message(const char* format, long long a, long long b = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

void put_le16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put_le32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::optional<std::string> invalid_format(const PcmFormat& format, std::size_t bytes) {
    if (format.channels != 1 && format.channels != 2) {
        return format_message("unsupported channel count %lld (1 or 2 are supported)", format.channels);
    }
    if (format.bits_per_sample != 8 && format.bits_per_sample != 16) {
        return format_message("unsupported sample size of %lld bits (8 or 16 are supported)",
                              format.bits_per_sample);
    }
    if (format.samples_per_second < min_rate || format.samples_per_second > max_rate) {
        return format_message("unsupported sample rate %lld Hz", format.samples_per_second);
    }
    const std::size_t frame_bytes = static_cast<std::size_t>(format.channels) * format.bits_per_sample / 8;
    if (bytes == 0) return std::string("no PCM data");
    if (bytes % frame_bytes != 0) {
        return format_message("PCM data of %lld bytes is not a whole number of %lld-byte frames",
                              static_cast<long long>(bytes), static_cast<long long>(frame_bytes));
    }
    const std::uint64_t frames = bytes / frame_bytes;
    if (frames * output_rate / static_cast<std::uint64_t>(format.samples_per_second) > max_output_frames) {
        return std::string("clip is longer than ten minutes");
    }
    return std::nullopt;
}

std::int32_t decode_sample(const PcmFormat& format, std::span<const std::uint8_t> pcm, std::size_t frame,
                           int channel) {
    const std::size_t index = frame * format.channels + static_cast<std::size_t>(channel);
    if (format.bits_per_sample == 8) return (static_cast<std::int32_t>(pcm[index]) - 128) * 256;
    const auto low = pcm[2 * index];
    const auto high = pcm[2 * index + 1];
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}

// Linear interpolation: exact for the 11025/22050 Hz multiples the gauges ship, and free of the
// overshoot a windowed-sinc resampler puts on the edges of square clicks.
std::vector<std::int16_t> convert_to_output(const PcmFormat& format, std::span<const std::uint8_t> pcm) {
    const std::size_t frame_bytes = static_cast<std::size_t>(format.channels) * format.bits_per_sample / 8;
    const std::uint64_t in_frames = pcm.size() / frame_bytes;
    const std::uint64_t in_rate = static_cast<std::uint64_t>(format.samples_per_second);
    const std::uint64_t out_frames = std::max<std::uint64_t>(1, in_frames * output_rate / in_rate);

    std::vector<std::int16_t> out(static_cast<std::size_t>(out_frames) * output_channels);
    for (std::uint64_t j = 0; j < out_frames; ++j) {
        const std::uint64_t position = j * in_rate;
        const std::size_t i = static_cast<std::size_t>(std::min(position / output_rate, in_frames - 1));
        const std::size_t next = static_cast<std::size_t>(std::min<std::uint64_t>(i + 1, in_frames - 1));
        const std::int64_t fraction = static_cast<std::int64_t>(position % output_rate);
        for (int c = 0; c < output_channels; ++c) {
            const int source_channel = format.channels == 1 ? 0 : c;
            const std::int64_t a = decode_sample(format, pcm, i, source_channel);
            const std::int64_t b = decode_sample(format, pcm, next, source_channel);
            out[static_cast<std::size_t>(j) * output_channels + c] =
                static_cast<std::int16_t>(a + (b - a) * fraction / output_rate);
        }
    }
    return out;
}

// The WAV header is rewritten after every block, so the file is complete at any moment a reader
// looks at it, and a crash loses no more than the block being written.
class WavCapture {
public:
    bool open(const std::string& path, std::string* error) {
        file_.reset(std::fopen(path.c_str(), "wb"));
        data_bytes_ = 0;
        if (!file_) {
            set_error(error, "cannot create audio capture file \"" + path + "\"");
            return false;
        }
        std::array<std::uint8_t, header_bytes> header{};
        std::memcpy(header.data(), "RIFF", 4);
        std::memcpy(header.data() + 8, "WAVEfmt ", 8);
        put_le32(header.data() + 16, 16);
        put_le16(header.data() + 20, 1);
        put_le16(header.data() + 22, output_channels);
        put_le32(header.data() + 24, output_rate);
        put_le32(header.data() + 28, output_rate * output_frame_bytes);
        put_le16(header.data() + 32, output_frame_bytes);
        put_le16(header.data() + 34, output_bits);
        std::memcpy(header.data() + 36, "data", 4);
        if (std::fwrite(header.data(), 1, header.size(), file_.get()) != header.size()) {
            set_error(error, "cannot write audio capture file \"" + path + "\"");
            file_.reset();
            return false;
        }
        write_sizes();
        return true;
    }

    bool recording() const { return file_ != nullptr; }

    void append(const std::uint8_t* data, std::size_t size) {
        if (!file_) return;
        if (size > max_data_bytes - data_bytes_) {
            close();
            return;
        }
        if (std::fwrite(data, 1, size, file_.get()) != size) {
            file_.reset();
            return;
        }
        data_bytes_ += static_cast<std::uint32_t>(size);
        write_sizes();
    }

    void close() {
        if (!file_) return;
        write_sizes();
        file_.reset();
    }

private:
    static constexpr std::size_t header_bytes = 44;
    static constexpr std::uint32_t max_data_bytes = 0xFFFFFFFFu - header_bytes;

    void write_sizes() {
        std::uint8_t size[4];
        put_le32(size, static_cast<std::uint32_t>(header_bytes - 8) + data_bytes_);
        std::fseek(file_.get(), 4, SEEK_SET);
        std::fwrite(size, 1, 4, file_.get());
        put_le32(size, data_bytes_);
        std::fseek(file_.get(), 40, SEEK_SET);
        std::fwrite(size, 1, 4, file_.get());
        std::fseek(file_.get(), 0, SEEK_END);
        std::fflush(file_.get());
    }

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::uint32_t data_bytes_ = 0;
};

class Mixer;

}  // namespace

struct AudioClip::State {
    std::shared_ptr<Mixer> mixer;
    std::uint64_t id = 0;
    std::size_t source_bytes = 0;
    double duration = 0;
    std::vector<std::int16_t> samples;  // output format, interleaved

    std::atomic<bool> playing{false};
    // Set when the play had no device to run on, so playing() follows the clock instead.
    std::atomic<bool> timed{false};
    std::atomic<Clock::rep> started{0};

    // Guarded by the mixer's mix mutex.
    std::size_t position = 0;
    bool listed = false;
};

namespace {

using State = AudioClip::State;

void ignore_alsa_error(const char*, int, const char*, int, const char*, ...) {}

class Mixer {
public:
    static std::shared_ptr<Mixer> instance() {
        static const std::shared_ptr<Mixer> mixer = std::make_shared<Mixer>();
        return mixer;
    }

    Mixer() = default;
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;
    ~Mixer() { shutdown(); }

    void configure(const AudioOutputOptions& options) {
        std::lock_guard lock(lifecycle_mutex_);
        options_ = options;
    }

    // True when a device runs; false when the output is silent.
    bool ensure_open() {
        if (const Mode mode = mode_.load(); mode != Mode::closed) return mode == Mode::device;
        std::lock_guard lock(lifecycle_mutex_);
        if (mode_.load() == Mode::closed) open_locked();
        return mode_.load() == Mode::device;
    }

    void shutdown() {
        std::lock_guard lock(lifecycle_mutex_);
        // Closing joins SDL's audio thread, which may be waiting for the mix mutex: it must be free here.
        if (device_ != 0) {
            SDL_CloseAudioDevice(device_);
            device_ = 0;
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        std::lock_guard mix(mix_mutex_);
        for (State* state : active_) {
            state->playing.store(false);
            state->listed = false;
        }
        active_.clear();
        capture_.close();
        driver_.clear();
        mode_.store(Mode::closed);
    }

    std::string driver_name() {
        std::lock_guard lock(lifecycle_mutex_);
        return driver_;
    }

    std::string error() {
        std::lock_guard lock(lifecycle_mutex_);
        return error_;
    }

    std::uint64_t next_clip_id() { return ++clip_ids_; }
    std::uint64_t play_count() const { return plays_.load(); }

    void play(State& state) {
        ensure_open();
        ++plays_;
        std::lock_guard lock(mix_mutex_);
        const bool restart = state.playing.load();
        state.position = 0;
        state.started.store(Clock::now().time_since_epoch().count());
        // Checked under the mix mutex: a shutdown between ensure_open and here leaves a timed play.
        const Mode mode = mode_.load();
        const bool on_device = mode == Mode::device || mode == Mode::host_clock;
        state.timed.store(!on_device);
        if (on_device && !state.listed) {
            active_.push_back(&state);
            state.listed = true;
        }
        state.playing.store(true);
        log(state, restart ? AudioEventKind::restart : AudioEventKind::play);
    }

    void stop(State& state) {
        std::lock_guard lock(mix_mutex_);
        unlist(state);
        if (state.playing.exchange(false)) log(state, AudioEventKind::stop);
    }

    void detach(State& state) {
        std::lock_guard lock(mix_mutex_);
        unlist(state);
        state.playing.store(false);
    }

    bool playing(const State& state) const {
        if (!state.playing.load()) return false;
        if (!state.timed.load()) return true;
        const auto elapsed = Clock::now() - Clock::time_point(Clock::duration(state.started.load()));
        return std::chrono::duration<double>(elapsed).count() < state.duration;
    }

    std::vector<AudioEvent> events() {
        std::lock_guard lock(mix_mutex_);
        std::vector<AudioEvent> out;
        const std::size_t count = std::min<std::uint64_t>(events_logged_, event_log_size);
        out.reserve(count);
        for (std::uint64_t i = events_logged_ - count; i < events_logged_; ++i) {
            out.push_back(events_[i % event_log_size]);
        }
        return out;
    }

private:
    enum class Mode { closed, device, host_clock, silent };

    void open_locked() {
        if (options_.clocked_by_host && !options_.force_silent) {
            driver_ = "host clock";
            error_.clear();
            std::lock_guard mix(mix_mutex_);
            open_capture_locked();
            pending_frames_ = 0;
            mode_.store(Mode::host_clock);
            return;
        }
        if (options_.force_silent) {
            driver_ = "none";
            error_.clear();
            mode_.store(Mode::silent);
            return;
        }
        std::string failures;
        if (!options_.force_dummy) {
            quiet_alsa();
            if (try_open(nullptr, &failures)) return;
        }
        if (try_open("dummy", &failures)) {
            if (!options_.force_dummy && !error_reported_) {
                error_reported_ = true;
                std::fprintf(stderr, "audio: no sound device, the panel plays silently (%s)\n", failures.c_str());
            }
            return;
        }

        driver_ = "none";
        error_ = "no audio output, clips play silently: " + failures;
        if (!error_reported_) {
            error_reported_ = true;
            std::fprintf(stderr, "audio: %s\n", error_.c_str());
        }
        mode_.store(Mode::silent);
    }

    // ALSA's library, which SDL loads, tells each device it cannot open on the terminal in lines of
    // its own; a machine without a sound card then gets a screenful where one line of ours says it.
    static void quiet_alsa() {
        static const bool quiet = [] {
            snd_lib_error_set_handler(&ignore_alsa_error);
            return true;
        }();
        (void)quiet;
    }

    // A null driver leaves the choice to SDL, which also honours an explicit SDL_AUDIODRIVER.
    bool try_open(const char* driver, std::string* failures) {
        if (driver) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
        const int rc = SDL_InitSubSystem(SDL_INIT_AUDIO);
        if (driver) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        const char* name = driver ? driver : "default driver";
        if (rc != 0) {
            *failures += std::string(failures->empty() ? "" : "; ") + name + ": " + SDL_GetError();
            return false;
        }

        SDL_AudioSpec want{};
        want.freq = output_rate;
        want.format = AUDIO_S16LSB;
        want.channels = output_channels;
        want.samples = output_buffer_frames;
        want.callback = &Mixer::callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the hardware wants, so converted clips stay
        // valid across a reopen on another driver.
        const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device == 0) {
            *failures += std::string(failures->empty() ? "" : "; ") + name + ": " + SDL_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }

        device_ = device;
        const char* current = SDL_GetCurrentAudioDriver();
        driver_ = current ? current : name;
        error_.clear();
        {
            std::lock_guard mix(mix_mutex_);
            mix_buffer_.assign(static_cast<std::size_t>(have.samples) * output_channels, 0);
            open_capture_locked();
        }
        mode_.store(Mode::device);
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    void open_capture_locked() {
        if (options_.capture_wav_path.empty()) return;
        std::string capture_error;
        if (!capture_.open(options_.capture_wav_path, &capture_error))
            std::fprintf(stderr, "audio: %s\n", capture_error.c_str());
    }

public:
    void advance(std::uint32_t ms) {
        if (mode_.load() != Mode::host_clock) return;
        // Whole frames only; the remainder carries over so that long runs keep the exact rate.
        pending_frames_ += static_cast<std::uint64_t>(ms) * output_rate;
        const std::size_t frames = static_cast<std::size_t>(pending_frames_ / 1000);
        pending_frames_ %= 1000;
        if (frames == 0) return;
        std::lock_guard lock(mix_mutex_);
        // Without a capture nothing hears the host-clocked output: the clips only move along.
        if (!capture_.recording()) {
            move_clips(frames * output_channels, nullptr);
            return;
        }
        host_buffer_.resize(frames * output_channels * sizeof(std::int16_t));
        mix_locked(host_buffer_.data(), host_buffer_.size());
    }

private:
    static void SDLCALL callback(void* userdata, Uint8* stream, int length) {
        static_cast<Mixer*>(userdata)->mix(stream, length > 0 ? static_cast<std::size_t>(length) : 0);
    }

    void mix(std::uint8_t* stream, std::size_t length) {
        std::lock_guard lock(mix_mutex_);
        mix_locked(stream, length);
    }

    void mix_locked(std::uint8_t* stream, std::size_t length) {
        const std::size_t count = length / sizeof(std::int16_t);
        if (mix_buffer_.size() < count) mix_buffer_.resize(count);
        std::fill_n(mix_buffer_.begin(), count, 0);
        move_clips(count, mix_buffer_.data());
        for (std::size_t i = 0; i < count; ++i) {
            const std::int32_t value = std::clamp<std::int32_t>(mix_buffer_[i], -32768, 32767);
            put_le16(stream + 2 * i, static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
        }
        if (length % sizeof(std::int16_t)) stream[length - 1] = 0;
        capture_.append(stream, length);
    }

    // Moves every playing clip on by `count` samples, adding them into `sum` when given; a clip
    // that reaches its end stops.
    void move_clips(std::size_t count, std::int32_t* sum) {
        for (auto it = active_.begin(); it != active_.end();) {
            State& state = **it;
            const std::size_t take = std::min(count, state.samples.size() - state.position);
            if (sum) {
                const std::int16_t* source = state.samples.data() + state.position;
                for (std::size_t i = 0; i < take; ++i) sum[i] += source[i];
            }
            state.position += take;
            if (state.position >= state.samples.size()) {
                state.playing.store(false);
                state.listed = false;
                log(state, AudioEventKind::finish);
                it = active_.erase(it);
            } else {
                ++it;
            }
        }
    }

    void unlist(State& state) {
        if (!state.listed) return;
        active_.erase(std::remove(active_.begin(), active_.end(), &state), active_.end());
        state.listed = false;
    }

    void log(const State& state, AudioEventKind kind) {
        events_[events_logged_ % event_log_size] = AudioEvent{state.id, state.source_bytes, kind};
        ++events_logged_;
    }

    std::mutex lifecycle_mutex_;
    AudioOutputOptions options_;
    SDL_AudioDeviceID device_ = 0;
    std::string driver_;
    std::string error_;
    bool error_reported_ = false;
    std::atomic<Mode> mode_{Mode::closed};

    std::mutex mix_mutex_;
    std::vector<State*> active_;
    std::vector<std::int32_t> mix_buffer_;
    std::vector<std::uint8_t> host_buffer_;
    std::uint64_t pending_frames_ = 0;
    WavCapture capture_;
    std::array<AudioEvent, event_log_size> events_{};
    std::uint64_t events_logged_ = 0;

    std::atomic<std::uint64_t> clip_ids_{0};
    std::atomic<std::uint64_t> plays_{0};
};

}  // namespace

std::unique_ptr<AudioClip> AudioClip::create(const PcmFormat& format, std::span<const std::uint8_t> pcm,
                                             std::string* error) {
    if (auto problem = invalid_format(format, pcm.size())) {
        set_error(error, std::move(*problem));
        return nullptr;
    }
    auto state = std::make_unique<State>();
    state->mixer = Mixer::instance();
    state->mixer->ensure_open();
    state->id = state->mixer->next_clip_id();
    state->source_bytes = pcm.size();
    const std::size_t frame_bytes = static_cast<std::size_t>(format.channels) * format.bits_per_sample / 8;
    state->duration = static_cast<double>(pcm.size() / frame_bytes) / format.samples_per_second;
    state->samples = convert_to_output(format, pcm);
    return std::make_unique<AudioClip>(Key{}, std::move(state));
}

AudioClip::AudioClip(Key, std::unique_ptr<State> state) : state_(std::move(state)) {}

AudioClip::~AudioClip() { state_->mixer->detach(*state_); }

void AudioClip::play() { state_->mixer->play(*state_); }
void AudioClip::stop() { state_->mixer->stop(*state_); }
bool AudioClip::playing() const { return state_->mixer->playing(*state_); }
std::uint64_t AudioClip::id() const { return state_->id; }
double AudioClip::duration_seconds() const { return state_->duration; }

void configure_audio_output(const AudioOutputOptions& options) { Mixer::instance()->configure(options); }
void shutdown_audio_output() { Mixer::instance()->shutdown(); }
void advance_audio_output(std::uint32_t ms) { Mixer::instance()->advance(ms); }
std::string audio_driver_name() { return Mixer::instance()->driver_name(); }
std::string audio_output_error() { return Mixer::instance()->error(); }
PcmFormat audio_output_format() { return PcmFormat{output_channels, output_rate, output_bits}; }
std::uint64_t audio_play_count() { return Mixer::instance()->play_count(); }
std::vector<AudioEvent> audio_events() { return Mixer::instance()->events(); }

}  // namespace plat
