#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "sound_test_util.h"

namespace {

using namespace soundtest;

const char* kGearPanel =
    "[Window00]\nsize=200,140\n"
    "gauge00=geartalk!geartalk, 10, 10\n";

constexpr int kLever = 331, kNose = 332, kLeft = 333, kRight = 334;
// Long enough that the output is still playing when the next cycles ask for it again.
constexpr std::size_t kUpBytes = 33075;
constexpr std::size_t kDownBytes = 22050;

struct GearRun {
    PanelRun run;
    GearRun(const Bytes& up, const Bytes& down) : run(kGearPanel, "", options_for(root_with_callouts(up, down))) {}
    GearRun() : GearRun(pcm_wave(kUpBytes), pcm_wave(kDownBytes)) {}

    void set(int token, double value) { run.session().variables().set_double(token, value); }
    std::vector<plat::AudioEvent> cycle() {
        return plays_during([&] { run.cycles(1); });
    }
    std::vector<plat::AudioEvent> cycle_at(double nose) {
        set(kNose, nose);
        return cycle();
    }
};

std::size_t count_of(const std::vector<plat::AudioEvent>& plays, std::size_t bytes) {
    std::size_t n = 0;
    for (const auto& p : plays) n += p.bytes == bytes;
    return n;
}

TEST(GearCallouts, UpCalloutRestartsEveryCycleUntilTheGearIsNearlyUp) {
    GearRun gear;
    gear.set(kLever, 0);
    std::uint64_t clip = 0;
    int cycles_in_window = 0;
    for (double nose = 390; nose > 60; nose -= 10) {
        const auto plays = gear.cycle_at(nose);
        if (nose > 100) {
            ASSERT_EQ(plays.size(), 1u) << "at " << nose;
            EXPECT_EQ(plays[0].bytes, kUpBytes);
            EXPECT_EQ(plays[0].kind, cycles_in_window == 0 ? plat::AudioEventKind::play : plat::AudioEventKind::restart)
                << "at " << nose;
            if (clip == 0) clip = plays[0].clip;
            EXPECT_EQ(plays[0].clip, clip) << "one buffer, set back to its start";
            ++cycles_in_window;
        } else {
            EXPECT_TRUE(plays.empty()) << "at " << nose;
        }
    }
    EXPECT_EQ(cycles_in_window, 29);
}

TEST(GearCallouts, RetractionWithTheLeverDownNeverPlaysTheUpCallout) {
    GearRun gear;
    gear.set(kLever, 16383);
    std::size_t up = 0, down = 0;
    for (double nose = 16383; nose >= 0; nose -= 37) {
        const auto plays = gear.cycle_at(nose);
        up += count_of(plays, kUpBytes);
        down += count_of(plays, kDownBytes);
    }
    EXPECT_EQ(up, 0u);
    EXPECT_GT(down, 0u) << "the lever is not up, so the down window still calls out";
}

TEST(GearCallouts, ExtensionPlaysTheDownCalloutOnlyWithTheLeverNotUp) {
    GearRun gear;
    gear.set(kLever, 16383);
    std::size_t down = 0;
    for (double nose = 15900; nose <= 16383; nose += 25) down += count_of(gear.cycle_at(nose), kDownBytes);
    EXPECT_EQ(down, 11u) << "16025 to 16275";

    gear.set(kLever, 0);
    down = 0;
    for (double nose = 15900; nose <= 16383; nose += 25) down += count_of(gear.cycle_at(nose), kDownBytes);
    EXPECT_EQ(down, 0u);
}

TEST(GearCallouts, WindowEdgesPlayNothing) {
    GearRun gear;
    gear.set(kLever, 8000);  // in transit: neither call-out is ruled out by the lever
    for (double nose : {100.0, 400.0, 16000.0, 16300.0, 0.0, 16383.0})
        EXPECT_TRUE(gear.cycle_at(nose).empty()) << "at " << nose;
    EXPECT_EQ(count_of(gear.cycle_at(100.5), kUpBytes), 1u);
    EXPECT_EQ(count_of(gear.cycle_at(399.5), kUpBytes), 1u);
    EXPECT_EQ(count_of(gear.cycle_at(16000.5), kDownBytes), 1u);
    EXPECT_EQ(count_of(gear.cycle_at(16299.5), kDownBytes), 1u);
}

TEST(GearPanel, LightsAndLeverFollowTheGear) {
    GearRun gear;
    gear.set(kLever, 16383);
    gear.set(kNose, 16383);
    gear.set(kLeft, 8000);
    gear.set(kRight, 0);
    gear.run.cycles(2);
    PanelRun& run = gear.run;
    EXPECT_TRUE(shows(run, "geartalk", 0, 20480, 132, 8)) << "lever down";
    EXPECT_TRUE(shows(run, "geartalk", 0, 8192, 30, 34)) << "nose DOWN";
    EXPECT_TRUE(shows(run, "geartalk", 0, 12294, 13, 67)) << "left in transit";
    EXPECT_TRUE(shows(run, "geartalk", 0, 16387, 46, 67)) << "right up: the blank";
    EXPECT_FALSE(shows(run, "geartalk", 0, 16384, 46, 67));
    EXPECT_FALSE(shows(run, "geartalk", 0, 16390, 46, 67));

    gear.set(kLever, 0);
    gear.set(kNose, 1);
    gear.set(kLeft, 16383);
    run.cycles(2);
    EXPECT_TRUE(shows(run, "geartalk", 0, 20483, 132, 8)) << "lever up";
    EXPECT_TRUE(shows(run, "geartalk", 0, 8198, 30, 34)) << "nose just short of up is in transit";
    EXPECT_TRUE(shows(run, "geartalk", 0, 12288, 13, 67));

    run.panel().set_failure(1, true);
    run.cycles(2);
    EXPECT_FALSE(shows(run, "geartalk", 0, 8198, 30, 34)) << "the lights go dark on failure 1";
    EXPECT_FALSE(shows(run, "geartalk", 0, 20483, 132, 8));
}

TEST(GearPanel, ClickAnywhereSendsTheGearEvent) {
    GearRun gear;
    gear.run.cycles(1);
    ASSERT_TRUE(gear.run.panel().click_gauge("geartalk", 0, 0));
    ASSERT_TRUE(gear.run.panel().click_gauge("geartalk", 171, 123));
    EXPECT_FALSE(gear.run.panel().click_gauge("geartalk", 172, 60));
    gear.run.cycles(1);
    const auto& events = gear.run.panel().key_events();
    ASSERT_EQ(events.size(), 2u);
    for (const auto& e : events) {
        EXPECT_EQ(e.id, 65570u);
        EXPECT_EQ(e.gauge, "geartalk");
    }
}

// --- The WAV files --------------------------------------------------------------------------------

void expect_messages(const std::string& text, std::size_t count) {
    const auto log = plat::message_log();
    ASSERT_EQ(log.size(), count);
    for (const auto& m : log) {
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.caption, "Soundlib-Error ");
        EXPECT_EQ(m.icon, plat::MessageIcon::error);
        EXPECT_EQ(m.owner, "Microsoft Flight Simulator") << "owned by the window active at install";
    }
}

// Both call-outs' windows, once each: nothing may play when the files were refused.
std::size_t plays_through_both_windows(GearRun& gear) {
    gear.set(kLever, 8000);
    return gear.cycle_at(250).size() + gear.cycle_at(16100).size();
}

TEST(GearSoundFiles, NonPcmOrMissingFilesAreNotFound) {
    const Bytes adpcm = riff("WAVE", {chunk("fmt ", format_body(2, 1, 11025, 4)), chunk("data", tone(400))});
    GearRun gear(adpcm, {});
    expect_messages("Sound-File not found\n", 2);
    EXPECT_EQ(plays_through_both_windows(gear), 0u);
}

TEST(GearSoundFiles, FilesThatAreNoPcmWaveAreNotFound) {
    Bytes wave_format = format_body(1, 1, 11025, 8);
    wave_format.resize(14);  // without the sample size: a WAVEFORMAT, not a PCM format
    const Bytes short_format = riff("WAVE", {chunk("fmt ", wave_format), chunk("data", tone(400))});
    const Bytes not_wave = riff("AVI ", {chunk("fmt ", format_body(1, 1, 11025, 8)), chunk("data", tone(400))});
    GearRun gear(short_format, not_wave);
    expect_messages("Sound-File not found\n", 2);
    EXPECT_EQ(plays_through_both_windows(gear), 0u);
}

TEST(GearSoundFiles, MissingDataChunkIsAnInvalidFormat) {
    const Bytes no_data = riff("WAVE", {chunk("fmt ", format_body(1, 1, 11025, 8)), chunk("LIST", tone(30))});
    GearRun gear(no_data, pcm_wave(kDownBytes));
    expect_messages("Ungueltiges Format oder nicht genuegend Speicher", 1);
    gear.set(kLever, 8000);
    EXPECT_TRUE(gear.cycle_at(250).empty()) << "the up call-out is absent";
    EXPECT_EQ(count_of(gear.cycle_at(16100), kDownBytes), 1u) << "the down call-out still works";
}

TEST(GearSoundFiles, ChunksClaimingMoreThanTheFileHoldsAreRefused) {
    // A data chunk that says it is twice as long as what follows, as a file cut short in copying.
    const Bytes lying_data = riff("WAVE", {chunk("fmt ", format_body(1, 1, 11025, 8)), chunk("data", tone(400), 800)});
    GearRun gear(lying_data, pcm_wave(kDownBytes));
    expect_messages("Ungueltiges Format oder nicht genuegend Speicher", 1);
    gear.set(kLever, 8000);
    EXPECT_TRUE(gear.cycle_at(250).empty());
}

TEST(GearSoundFiles, TruncatedAndLyingFormatChunksAreRefused) {
    Bytes cut = pcm_wave(4000);
    cut.resize(2000);
    const Bytes lying_format = riff("WAVE", {chunk("fmt ", format_body(1, 1, 11025, 8), 0x7FFFFFF0u)});
    GearRun gear(cut, lying_format);
    const auto log = plat::message_log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].text, "Ungueltiges Format oder nicht genuegend Speicher");
    EXPECT_EQ(log[1].text, "Sound-File not found\n") << "its format block cannot be read at all";
    EXPECT_EQ(plays_through_both_windows(gear), 0u);
}

TEST(GearSoundFiles, ChunksAreWalkedWithTheirPadding) {
    // An odd-length chunk first (its pad byte follows), and the data before the format.
    const Bytes unusual = riff("WAVE", {chunk("LIST", tone(7)), chunk("data", tone(1001)),
                                        chunk("fmt ", format_body(1, 1, 11025, 8))});
    GearRun gear(unusual, pcm_wave(kDownBytes));
    EXPECT_TRUE(plat::message_log().empty());
    gear.set(kLever, 0);
    EXPECT_EQ(count_of(gear.cycle_at(250), 1001), 1u);
}

TEST(GearSoundFiles, ShippedCalloutsLoadAndPlay) {
    panelhost::SessionOptions options;
    options.own_aircraft = false;  // the test moves the gear itself
    PanelRun run(kGearPanel, "", options);
    EXPECT_TRUE(plat::message_log().empty());
    run.session().variables().set_double(kLever, 0);
    run.session().variables().set_double(kNose, 250);
    const auto up = plays_during([&] { run.cycles(1); });
    ASSERT_EQ(up.size(), 1u);
    run.session().variables().set_double(kLever, 16383);
    run.session().variables().set_double(kNose, 16100);
    const auto down = plays_during([&] { run.cycles(1); });
    ASSERT_EQ(down.size(), 1u);
    EXPECT_NE(up[0].clip, down[0].clip);
    EXPECT_GT(up[0].bytes, 11025u) << "a spoken call-out, not a blip";
}

}  // namespace
