#pragma once
// WAV images built byte by byte, simulator roots holding them, and what the audio output was
// asked to play.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "panel_fixture.h"
#include "platform/audio.h"

namespace soundtest {

using Bytes = std::vector<std::uint8_t>;

// A chunk with its length field; `claimed` replaces the true length to make a lying file.
Bytes chunk(const char* id, const Bytes& body, std::optional<std::uint32_t> claimed = std::nullopt);
Bytes format_body(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
Bytes riff(const char* form, std::initializer_list<Bytes> chunks);
// 8-bit mono samples of a square wave.
Bytes tone(std::size_t bytes);
// A plain 8-bit mono 11025 Hz PCM WAV of `data_bytes` samples.
Bytes pcm_wave(std::size_t data_bytes);

// A simulator root of the test's own with Sound/talkup.wav and Sound/talkdn.wav (left out when
// empty); returns its path.
std::string root_with_callouts(const Bytes& up, const Bytes& down);
panelhost::SessionOptions options_for(const std::string& root);

// The plays and restarts the output received while `action` ran, oldest first.
std::vector<plat::AudioEvent> plays_during(const std::function<void()>& action);

// Waits (in real time: the output runs at its own pace) until the output has finished a clip of
// `bytes`; false after 15 seconds.
bool wait_for_finish(std::size_t bytes);

// Whether the window shows bitmap `id` of the gauge's module at gauge pixel (x, y).
bool shows(PanelRun& run, const std::string& gauge_name, int window, int id, int x, int y);

}  // namespace soundtest
