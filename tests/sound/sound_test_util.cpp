#include "sound_test_util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "panelhost/image.h"

namespace soundtest {
namespace fs = std::filesystem;

namespace {

void put(Bytes& b, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void write_file(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

Bytes chunk(const char* id, const Bytes& body, std::optional<std::uint32_t> claimed) {
    Bytes b(id, id + 4);
    put(b, claimed.value_or(static_cast<std::uint32_t>(body.size())), 4);
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() % 2) b.push_back(0);
    return b;
}

Bytes format_body(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    Bytes b;
    put(b, tag, 2);
    put(b, channels, 2);
    put(b, rate, 4);
    put(b, rate * channels * bits / 8, 4);
    put(b, channels * bits / 8, 2);
    put(b, bits, 2);
    return b;
}

Bytes riff(const char* form, std::initializer_list<Bytes> chunks) {
    Bytes body(form, form + 4);
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes b{'R', 'I', 'F', 'F'};
    put(b, static_cast<std::uint32_t>(body.size()), 4);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

Bytes tone(std::size_t bytes) {
    Bytes b(bytes);
    for (std::size_t i = 0; i < bytes; ++i) b[i] = (i / 20) % 2 ? 200 : 56;
    return b;
}

Bytes pcm_wave(std::size_t data_bytes) {
    return riff("WAVE", {chunk("fmt ", format_body(1, 1, 11025, 8)), chunk("data", tone(data_bytes))});
}

std::string root_with_callouts(const Bytes& up, const Bytes& down) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path root =
        fs::temp_directory_path() / "panel_sound_roots" / (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(root);
    fs::create_directories(root / "Sound");
    if (!up.empty()) write_file(root / "Sound" / "talkup.wav", up);
    if (!down.empty()) write_file(root / "Sound" / "talkdn.wav", down);
    return root.string();
}

panelhost::SessionOptions options_for(const std::string& root) {
    panelhost::SessionOptions o;
    o.root = root;
    o.own_aircraft = false;
    return o;
}

std::vector<plat::AudioEvent> plays_during(const std::function<void()>& action) {
    const std::uint64_t before = plat::audio_play_count();
    action();
    std::size_t wanted = static_cast<std::size_t>(plat::audio_play_count() - before);
    const auto all = plat::audio_events();
    std::vector<plat::AudioEvent> plays;
    for (auto it = all.rbegin(); it != all.rend() && plays.size() < wanted; ++it)
        if (it->kind == plat::AudioEventKind::play || it->kind == plat::AudioEventKind::restart)
            plays.insert(plays.begin(), *it);
    return plays;
}

bool wait_for_finish(std::size_t bytes) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const auto& e : plat::audio_events())
            if (e.kind == plat::AudioEventKind::finish && e.bytes == bytes) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

bool shows(PanelRun& run, const std::string& gauge_name, int window, int id, int x, int y) {
    return run.shows(gauge_name, id, x, y, window);
}

}  // namespace soundtest
