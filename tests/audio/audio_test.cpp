#include "platform/audio.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <thread>

namespace plat {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Generous: the dummy driver runs at real-time pace, but a loaded CI machine may lag far behind.
bool wait_until(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// Per test and per process, so parallel runs of the suite never share a file.
std::filesystem::path scratch_path(const char* extension) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::filesystem::temp_directory_path() /
           (std::string("panel_audio_") + info->name() + "_" + std::to_string(getpid()) + extension);
}

Bytes read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le(const Bytes& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
    return value;
}

struct Frame {
    std::int16_t left, right;
    bool operator==(const Frame&) const = default;
};

std::vector<Frame> frames_of(const Bytes& bytes, std::size_t offset, bool skip_leading_silence = false) {
    std::vector<Frame> frames;
    for (std::size_t at = offset; at + 4 <= bytes.size(); at += 4) {
        const Frame f{static_cast<std::int16_t>(le(bytes, at, 2)), static_cast<std::int16_t>(le(bytes, at + 2, 2))};
        // The device was already producing silence before the play.
        if (skip_leading_silence && frames.empty() && f == Frame{0, 0}) continue;
        frames.push_back(f);
    }
    return frames;
}

std::vector<Frame> read_capture(const std::filesystem::path& path) {
    const Bytes bytes = read_file(path);
    if (bytes.size() < 44) {
        ADD_FAILURE() << "capture of " << bytes.size() << " bytes";
        return {};
    }
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(le(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    const std::vector<std::uint32_t> fmt = {le(bytes, 16, 4), le(bytes, 20, 2), le(bytes, 22, 2), le(bytes, 24, 4),
                                            le(bytes, 28, 4), le(bytes, 32, 2), le(bytes, 34, 2)};
    EXPECT_EQ(fmt, (std::vector<std::uint32_t>{16, 1, 2, 44100, 44100 * 4, 4, 16}));
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
    EXPECT_EQ(le(bytes, 40, 4), bytes.size() - 44);
    return frames_of(bytes, 44, true);
}

std::size_t count(const std::vector<Frame>& frames, Frame value) {
    return static_cast<std::size_t>(std::count(frames.begin(), frames.end(), value));
}

void append16(Bytes& pcm, std::int16_t value) {
    pcm.push_back(static_cast<std::uint8_t>(value));
    pcm.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) >> 8));
}

// 8-bit stereo square wave, 0xC0/0x40 being +/-64 around the unsigned midpoint; the right channel
// is the left one inverted so that a channel mix-up shows.
Bytes square_u8(std::size_t frames, std::size_t half_period = 25) {
    Bytes pcm;
    for (std::size_t i = 0; i < frames; ++i) {
        const bool high = (i / half_period) % 2 == 0;
        pcm.push_back(high ? 0xC0 : 0x40);
        pcm.push_back(high ? 0x40 : 0xC0);
    }
    return pcm;
}

Bytes constant16(std::size_t frames, std::int16_t left, std::int16_t right) {
    Bytes pcm;
    for (std::size_t i = 0; i < frames; ++i) append16(pcm, left), append16(pcm, right);
    return pcm;
}

constexpr PcmFormat u8_stereo_22k{2, 22050, 8};
constexpr PcmFormat s16_stereo_44k{2, 44100, 16};

std::unique_ptr<AudioClip> make_clip(const PcmFormat& format, const Bytes& pcm) {
    std::string error;
    auto clip = AudioClip::create(format, pcm, &error);
    EXPECT_TRUE(clip) << error;
    return clip;
}

bool play_out(AudioClip& clip) {
    clip.play();
    return wait_until([&] { return !clip.playing(); });
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override { use_output({.capture_wav_path = "", .force_dummy = true}); }
    void TearDown() override {
        shutdown_audio_output();
        std::filesystem::remove(scratch_path(".wav"));
    }
    static void use_output(const AudioOutputOptions& options) {
        shutdown_audio_output();
        configure_audio_output(options);
    }
    static void capture() { use_output({.capture_wav_path = scratch_path(".wav").string(), .force_dummy = true}); }
};

TEST_F(AudioTest, InvalidFormatsAreRejectedWithAReason) {
    const Bytes four(4, 0x80), three(3, 0x80), six(6, 0);
    const std::tuple<PcmFormat, const Bytes*, const char*> cases[] = {
        {{0, 22050, 8}, &four, "channel"}, {{3, 22050, 8}, &three, "channel"}, {{1, 22050, 12}, &four, "bits"},
        {{1, 22050, 32}, &four, "bits"},   {{1, 0, 8}, &four, "rate"},         {{1, 44100, 16}, &three, "frames"},
        {{2, 44100, 16}, &six, "frames"},  {{2, 22050, 8}, &three, "frames"},  {{2, 22050, 8}, nullptr, "no PCM"},
    };
    for (const auto& [format, pcm, reason] : cases) {
        std::string error;
        EXPECT_EQ(AudioClip::create(format, pcm ? *pcm : Bytes{}, &error), nullptr) << reason;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
    EXPECT_DOUBLE_EQ(make_clip(u8_stereo_22k, square_u8(22050))->duration_seconds(), 1.0);
    EXPECT_DOUBLE_EQ(make_clip({1, 44100, 16}, Bytes(882, 0))->duration_seconds(), 0.01);
}

TEST_F(AudioTest, ClipPlaysOnTheDummyDriverUntilItsDataIsExhausted) {
    auto clip = make_clip(u8_stereo_22k, square_u8(22050 / 5));
    EXPECT_EQ(audio_driver_name(), "dummy");
    EXPECT_EQ(audio_output_error(), "");
    EXPECT_FALSE(clip->playing());
    clip->play();
    EXPECT_TRUE(clip->playing());
    EXPECT_TRUE(wait_until([&] { return !clip->playing(); }));
    EXPECT_TRUE(play_out(*clip));
}

TEST_F(AudioTest, StopEndsPlaybackAtOnce) {
    auto clip = make_clip(u8_stereo_22k, square_u8(22050 * 5));
    clip->play();
    ASSERT_TRUE(clip->playing());
    clip->stop();
    EXPECT_FALSE(clip->playing());
    clip->play();
    EXPECT_TRUE(clip->playing());
}

TEST_F(AudioTest, EventsRecordPlaysRestartsStopsAndEnds) {
    const std::uint64_t plays = audio_play_count();
    auto clip = make_clip(u8_stereo_22k, square_u8(2205));
    clip->play();
    ASSERT_TRUE(play_out(*clip));
    clip->play();
    clip->stop();
    clip->stop();
    EXPECT_EQ(audio_play_count(), plays + 3);

    std::vector<AudioEventKind> kinds;
    for (const AudioEvent& event : audio_events()) {
        if (event.clip != clip->id()) continue;
        EXPECT_EQ(event.bytes, 2205u * 2);
        kinds.push_back(event.kind);
    }
    using enum AudioEventKind;
    EXPECT_EQ(kinds, (std::vector<AudioEventKind>{play, restart, finish, play, stop}));
}

TEST_F(AudioTest, DestroyingPlayingClipsIsSafe) {
    auto survivor = make_clip(u8_stereo_22k, square_u8(22050 * 10));
    survivor->play();
    for (int i = 0; i < 50; ++i) {
        make_clip(s16_stereo_44k, constant16(4410, 1000, -1000))->play();
        if (i % 5 == 0) std::this_thread::sleep_for(2ms);
    }
    EXPECT_TRUE(survivor->playing());
    shutdown_audio_output();
    EXPECT_FALSE(survivor->playing());
    survivor->play();  // reopens the output
    EXPECT_EQ(audio_driver_name(), "dummy");
    EXPECT_TRUE(survivor->playing());
}

TEST_F(AudioTest, SilentOutputKeepsTimeByTheClock) {
    use_output({.capture_wav_path = "", .force_dummy = false, .force_silent = true});
    auto clip = make_clip(u8_stereo_22k, square_u8(22050 / 10));
    EXPECT_EQ(audio_driver_name(), "none");
    clip->play();
    EXPECT_TRUE(clip->playing());
    EXPECT_TRUE(wait_until([&] { return !clip->playing(); }));
}

TEST_F(AudioTest, CaptureHoldsTheConvertedSquareWave) {
    capture();
    // 5512 frames at 22050 Hz: 220 half-periods of 25 frames and 12 more. At 44100 Hz each
    // half-period is 49 frames at full level and one interpolated edge.
    auto clip = make_clip(u8_stereo_22k, square_u8(5512));
    ASSERT_TRUE(play_out(*clip));
    shutdown_audio_output();

    const auto frames = read_capture(scratch_path(".wav"));
    ASSERT_GE(frames.size(), 11025u);
    const Frame high{16384, -16384}, low{-16384, 16384}, edge{0, 0};
    Frame expected = high;
    for (std::size_t run = 0; run < 220; ++run, expected = expected == high ? low : high) {
        for (std::size_t k = 0; k < 49; ++k) ASSERT_EQ(frames[run * 50 + k], expected) << run << "/" << k;
        ASSERT_EQ(frames[run * 50 + 49], edge) << run;
    }
    for (std::size_t k = 11000; k < 11024; ++k) ASSERT_EQ(frames[k], high) << k;
    for (std::size_t k = 11024; k < frames.size(); ++k) ASSERT_EQ(frames[k], edge) << k;
}

TEST_F(AudioTest, MonoIsResampledByLinearInterpolation) {
    capture();
    // A ramp rising 4000 per sample at 11025 Hz rises 1000 per output frame, on both channels.
    Bytes pcm;
    for (int i = 0; i < 8; ++i) append16(pcm, static_cast<std::int16_t>(1000 + 4000 * i));
    auto clip = make_clip({1, 11025, 16}, pcm);
    ASSERT_TRUE(play_out(*clip));
    shutdown_audio_output();

    const auto frames = read_capture(scratch_path(".wav"));
    ASSERT_GE(frames.size(), 33u);
    for (int j = 0; j < 32; ++j) {
        const auto expected = static_cast<std::int16_t>(1000 + 1000 * std::min(j, 28));
        EXPECT_EQ(frames[j], (Frame{expected, expected})) << j;
    }
    EXPECT_EQ(frames[32], (Frame{0, 0}));
}

TEST_F(AudioTest, TwoClipsMixWithSaturation) {
    capture();
    auto first = make_clip(s16_stereo_44k, constant16(22050, 25000, 1000));
    auto second = make_clip(s16_stereo_44k, constant16(22050, 25000, -3000));
    first->play();
    second->play();
    ASSERT_TRUE(wait_until([&] { return !first->playing() && !second->playing(); }));
    shutdown_audio_output();

    const auto frames = read_capture(scratch_path(".wav"));
    // The two plays land in the same output buffer or a few apart; they overlap for most of the clip.
    const std::size_t both = count(frames, {32767, -2000});
    EXPECT_GE(both, 22050u / 2);
    EXPECT_EQ(count(frames, {25000, 1000}) + count(frames, {25000, -3000}), 2 * (22050 - both));
    for (const Frame& f : frames) ASSERT_GE(f.left, 0) << "a sum that wrapped around";
}

TEST_F(AudioTest, PlayWhilePlayingRestartsFromTheBeginning) {
    capture();
    // A short marker, then a long body: the restart must show the marker a second time.
    Bytes pcm = constant16(200, 1111, 1111), body = constant16(22050, 3333, 3333);
    pcm.insert(pcm.end(), body.begin(), body.end());
    auto clip = make_clip(s16_stereo_44k, pcm);
    clip->play();
    ASSERT_TRUE(wait_until([&] { return count(frames_of(read_file(scratch_path(".wav")), 44), {3333, 3333}) > 0; }));
    ASSERT_TRUE(clip->playing());
    ASSERT_TRUE(play_out(*clip));
    shutdown_audio_output();

    const auto frames = read_capture(scratch_path(".wav"));
    std::size_t marker_runs = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        marker_runs += frames[i] == Frame{1111, 1111} && (i == 0 || frames[i - 1] != frames[i]);
    }
    EXPECT_EQ(marker_runs, 2u);
    EXPECT_EQ(count(frames, {1111, 1111}), 400u);
    EXPECT_GT(count(frames, {3333, 3333}), 22050u);
}

TEST_F(AudioTest, UnavailableDriverFallsBackToDummy) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no_such_audio_driver");
    use_output({});
    auto clip = make_clip(u8_stereo_22k, square_u8(2205));
    EXPECT_EQ(audio_driver_name(), "dummy");
    EXPECT_TRUE(play_out(*clip));
}

TEST_F(AudioTest, ExplicitDiskDriverIsHonoured) {
    const auto raw = scratch_path(".raw");
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", raw.string());
    use_output({});
    auto clip = make_clip(u8_stereo_22k, square_u8(2205));
    if (audio_driver_name() != "disk") GTEST_SKIP() << "SDL built without its disk writer";
    ASSERT_TRUE(play_out(*clip));
    shutdown_audio_output();

    const auto frames = frames_of(read_file(raw), 0, true);
    std::filesystem::remove(raw);
    EXPECT_GE(count(frames, {16384, -16384}) + count(frames, {-16384, 16384}), 4300u);
}

}  // namespace
}  // namespace plat

namespace plat {
namespace {

// A quarter of a second (11025 frames at 44100 Hz) played on the host's clock: it lasts exactly
// as long whether or not a capture listens.
void play_quarter_second_on_host_clock() {
    auto clip = make_clip(s16_stereo_44k, constant16(11025, 1000, -1000));
    clip->play();
    EXPECT_EQ(audio_driver_name(), "host clock");
    for (int i = 0; i < 4; ++i) advance_audio_output(55);  // 220 ms
    EXPECT_TRUE(clip->playing()) << "no time passes but the host's";
    advance_audio_output(55);
    EXPECT_FALSE(clip->playing());
    std::vector<AudioEventKind> kinds;
    for (const AudioEvent& event : audio_events())
        if (event.clip == clip->id()) kinds.push_back(event.kind);
    EXPECT_EQ(kinds, (std::vector<AudioEventKind>{AudioEventKind::play, AudioEventKind::finish}));
    advance_audio_output(100);
}

TEST_F(AudioTest, HostClockedOutputEndsClipsOnTimeWithoutACapture) {
    use_output({.capture_wav_path = "", .clocked_by_host = true});
    play_quarter_second_on_host_clock();
    play_quarter_second_on_host_clock();
}

TEST_F(AudioTest, HostClockedOutputPlaysExactlyAsFarAsTheHostHasAdvanced) {
    use_output({.capture_wav_path = scratch_path(".wav").string(), .clocked_by_host = true});
    play_quarter_second_on_host_clock();
    shutdown_audio_output();
    const auto frames = read_capture(scratch_path(".wav"));
    ASSERT_EQ(frames.size(), 44100u * 375 / 1000) << "every advanced millisecond is in the capture";
    EXPECT_EQ(count(frames, Frame{1000, -1000}), 11025u);
    EXPECT_EQ(frames[11025], (Frame{0, 0}));
}

}  // namespace
}  // namespace plat
