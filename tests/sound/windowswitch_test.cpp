#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/module.h"
#include "platform/window_registry.h"
#include "sound_test_util.h"

namespace {

using namespace soundtest;

const char* kSwitchPanel =
    "[Window00]\nsize=120,60\n"
    "gauge00=windowswitch!Vell-Window-Switch-44-v1s, 20, 10\n"
    "[Window01]\nsize=100,100\nvisible=0\nident=44\n";

constexpr const char* kGauge = "Vell-Window-Switch-44-v1s";
constexpr std::size_t kClickBytes = 686 - 44;

bool window_open(PanelRun& run, int ident) {
    for (auto& w : run.panel().windows())
        if (w->config.ident == ident) return w->open;
    ADD_FAILURE() << "no window " << ident;
    return false;
}

std::vector<plat::AudioEvent> click(PanelRun& run, int x = 15, int y = 14) {
    return plays_during([&] {
        EXPECT_TRUE(run.panel().click_gauge(kGauge, x, y));
        run.cycles(1);
    });
}

TEST(WindowSwitch, EmbedsAShortStereoClick) {
    PanelRun run(kSwitchPanel);
    panelhost::GaugeInstance* g = run.panel().find_gauge(kGauge);
    ASSERT_NE(g, nullptr);
    const auto wave = plat::find_resource(g->module->handle(), plat::kWaveResource, 3001);
    ASSERT_TRUE(wave.has_value());
    const Bytes image(wave->begin(), wave->end());
    ASSERT_EQ(image.size(), 686u);
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 16), Bytes({'R', 'I', 'F', 'F', 0xA6, 0x02, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}));
    EXPECT_EQ(Bytes(image.begin() + 20, image.begin() + 36), format_body(1, 2, 22050, 8));
    int peak = 0;
    for (std::size_t i = 44; i < image.size(); ++i) peak = std::max(peak, std::abs(image[i] - 128));
    EXPECT_GT(peak, 48) << "a click, not silence";
    EXPECT_EQ(image.back(), 128) << "ends at rest";
    run.cycles(1);
    EXPECT_TRUE(shows(run, kGauge, 0, 1000, 0, 0));
}

TEST(WindowSwitch, EachClickTogglesWindow44AndClicksFromOneCachedBuffer) {
    const auto capture = std::filesystem::temp_directory_path() / "panel_sound_roots" / "window_switch_click.wav";
    std::filesystem::create_directories(capture.parent_path());
    std::filesystem::remove(capture);
    panelhost::SessionOptions options;
    options.audio_capture = capture.string();
    PanelRun run(kSwitchPanel, "", options);
    run.cycles(1);
    ASSERT_FALSE(window_open(run, 44));

    const auto first = click(run);
    EXPECT_TRUE(window_open(run, 44));
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].bytes, kClickBytes);

    const auto second = click(run, 29, 27);
    EXPECT_FALSE(window_open(run, 44));
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].clip, first[0].clip) << "the buffer made at the first click is reused";

    // The capture holds what the output mixed: the click, in 16-bit stereo.
    ASSERT_TRUE(wait_for_finish(kClickBytes));
    run.session().finish();
    std::ifstream in(capture, std::ios::binary);
    const Bytes wav{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(wav.size(), 44u);
    int peak = 0;
    for (std::size_t at = 44; at + 1 < wav.size(); at += 2)
        peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(wav[at] | wav[at + 1] << 8))));
    EXPECT_GT(peak, 8000) << "the click was heard";
}

TEST(WindowSwitch, WithoutSoundHardwareTheButtonStillWorks) {
    PanelRun run(kSwitchPanel);
    plat::AudioOutputOptions none;
    none.force_silent = true;
    plat::configure_audio_output(none);
    run.cycles(1);
    click(run);
    EXPECT_TRUE(window_open(run, 44));
    EXPECT_EQ(plat::audio_driver_name(), "none");
    click(run);
    EXPECT_FALSE(window_open(run, 44));
}

TEST(WindowSwitch, WithoutADeviceTheClickIsSilentForGood) {
    PanelRun run(kSwitchPanel);
    run.cycles(1);
    // No foreground window at the first click: the sound device cannot be set up for it.
    const auto title = plat::window_title(plat::find_window("FS98MAIN", ""));
    ASSERT_TRUE(title.has_value());
    const plat::WindowId main = plat::find_window("FS98MAIN", "");
    plat::unregister_window(main);
    EXPECT_TRUE(click(run).empty());
    EXPECT_TRUE(window_open(run, 44));
    plat::register_window(main, "FS98MAIN", *title);
    EXPECT_TRUE(click(run).empty()) << "the device is tried once only";
    EXPECT_FALSE(window_open(run, 44));
}

}  // namespace
