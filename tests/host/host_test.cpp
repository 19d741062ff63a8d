#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

#include "panel_fixture.h"
#include "panelhost/panel_config.h"
#include "panelhost/scenario.h"
#include "platform/canvas/bmp_file.h"

namespace {

const char* kProbePanel =
    "[Window00]\nsize=200,100\nposition=0,0\nvisible=1\ngauge00=probe!probe, 0, 0\n";

struct ProbeCounts {
    int after_install, after_update, outer_clicks, inner_clicks, last_x, last_y;
    unsigned last_flags;
    int repeats;
};

// A panel with the probe gauge, which is built beside these tests.
struct ProbeRun : PanelRun {
    explicit ProbeRun(const std::string& panel, const std::string& scenario = "")
        : PanelRun(panel, scenario, with_modules_from(PROBE_DIR)) {}
};

const ProbeCounts& probe(PanelRun& run) {
    auto* fn = reinterpret_cast<const ProbeCounts* (*)()>(
        dlsym(run.panel().gauges().at(0)->module->handle(), "probe_counts"));
    if (!fn) throw std::runtime_error("probe_counts not exported");
    return *fn();
}

constexpr std::uint32_t kGrey = 0x404040, kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

TEST(HostElements, NeedleTurnsThroughItsScaleTable) {
    ProbeRun run(kProbePanel);
    auto& vars = run.session().variables();
    vars.set_double(500, 0);
    run.cycles(1);
    EXPECT_EQ(run.pixel(0, 32, 20), kWhite) << "value 0 is 0 degrees: straight up";
    EXPECT_EQ(run.pixel(0, 40, 24), kGrey);
    vars.set_double(500, 50);  // halfway to 100 -> 45 degrees
    run.cycles(1);
    EXPECT_EQ(run.pixel(0, 32, 20), kGrey);
    EXPECT_EQ(run.pixel(0, 40, 24), kWhite);
    vars.set_double(500, 150);  // halfway from 90 to 270 -> 180 degrees: straight down
    run.cycles(1);
    EXPECT_EQ(run.pixel(0, 32, 44), kWhite);
    EXPECT_EQ(run.pixel(0, 32, 20), kGrey);
    vars.set_double(500, 999);  // beyond the table: its last angle
    run.cycles(1);
    EXPECT_EQ(run.pixel(0, 20, 32), kWhite) << "270 degrees points left";
}

TEST(HostElements, MovingImageStaysWithinItsRangeAndMask) {
    ProbeRun run(kProbePanel);
    auto& vars = run.session().variables();
    const std::pair<double, std::uint32_t> cases[] = {{0, kRed}, {1, kGreen}, {2, kBlue}, {3, kWhite},
                                                      {7, kWhite}, {-4, kRed}};
    for (auto [value, colour] : cases) {
        vars.set_double(502, value);
        run.cycles(1);
        EXPECT_EQ(run.pixel(0, 54, 7), colour) << "value " << value;
        EXPECT_EQ(run.pixel(0, 50, 7), kGrey) << "the mask's black columns hide the strip";
        EXPECT_EQ(run.pixel(0, 54, 12), kGrey) << "nothing below the window";
    }
}

TEST(HostElements, IconShowsPictureByValueAndHidesOnNegative) {
    ProbeRun run(kProbePanel);
    auto& vars = run.session().variables();
    vars.set_double(501, 0);
    run.cycles(1);
    EXPECT_EQ(run.pixel(0, 5, 5), kRed);
    vars.set_double(501, 1);
    run.cycles(1);
    EXPECT_EQ(run.pixel(0, 5, 5), kGreen);
    vars.set_double(501, -1);
    run.cycles(1);
    EXPECT_EQ(run.pixel(0, 5, 5), kGrey);
}

TEST(HostElements, StringFilledByItsCallbackIsDrawnAndDumped) {
    ProbeRun run(kProbePanel, "at 0 set 503 3.14159\nat 0.1 dump probe\n");
    run.cycles(3);
    int green = 0;
    for (int y = 50; y < 62; ++y)
        for (int x = 2; x < 62; ++x) green += run.pixel(0, x, y) == kGreen;
    EXPECT_GT(green, 20) << "the text ink is drawn in the text colour";
    std::ifstream strings(run.session().out() + "/probe-strings.txt");
    std::stringstream ss;
    ss << strings.rdbuf();
    EXPECT_EQ(ss.str(), "probe 4 \"003.1\"\n");
}

TEST(HostMouse, ClicksRouteThroughNestedGroups) {
    ProbeRun run(kProbePanel);
    run.cycles(1);
    EXPECT_TRUE(run.panel().click_gauge("probe", 15, 15));
    EXPECT_EQ(probe(run).outer_clicks, 1);
    EXPECT_EQ(probe(run).last_flags, gauge::mouse_left_single);
    EXPECT_TRUE(run.panel().click_gauge("probe", 32, 33));  // the inner group starts at 10 + 20
    EXPECT_EQ(probe(run).inner_clicks, 1);
    EXPECT_EQ(probe(run).last_x, 32);
    EXPECT_FALSE(run.panel().click_gauge("probe", 25, 25)) << "between the areas";
    EXPECT_FALSE(run.panel().click_gauge("nosuchgauge", 15, 15));
}

TEST(HostMouse, AreaWithKeyEventAndNoCallbackMakesTheHostSendIt) {
    ProbeRun run(kProbePanel, "at 0.5 click probe 58 58\n");
    run.session().run_for(1);
    const auto& events = run.panel().key_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].id, 65570u);
    EXPECT_EQ(events[0].gauge, "probe");
    EXPECT_NEAR(events[0].t, 0.5, 0.06);
    ASSERT_TRUE(run.session().write_outputs());
    std::ifstream log(run.session().out() + "/events.log");
    std::string line;
    std::getline(log, line);
    EXPECT_EQ(line.rfind("t=0.5", 0), 0u) << line;
    EXPECT_NE(line.find(" event=65570 value=0 gauge=probe"), std::string::npos) << line;
}

TEST(HostKeyEvents, WorkerThreadEventsApplyOnThePanelThreadInOrder) {
    ProbeRun run(kProbePanel, "at 1 click probe 32 33\n");
    std::vector<std::thread::id> applied_on;
    run.panel().on_key_event = [&](std::uint32_t, std::uint32_t) { applied_on.push_back(std::this_thread::get_id()); };
    run.session().run_for(2);
    const auto& events = run.panel().key_events();
    ASSERT_EQ(events.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(events[i].id, 65879u);
        EXPECT_EQ(events[i].value, i + 1);
        EXPECT_EQ(events[i].gauge, "probe") << "the sender is known from its module";
        EXPECT_NEAR(events[i].t, 1.0 + 0.2 * double(i + 1), 1e-9) << "paced on the simulated clock";
        EXPECT_EQ(applied_on[i], std::this_thread::get_id());
    }
}

TEST(HostMouse, RepeatWhileHeldFiresEveryCycleUntilRelease) {
    ProbeRun run(kProbePanel);
    run.cycles(1);
    ASSERT_TRUE(run.panel().press_gauge("probe", 12, 12));
    run.cycles(4);
    EXPECT_EQ(probe(run).outer_clicks, 5);
    EXPECT_EQ(probe(run).repeats, 4);
    run.panel().release();
    run.cycles(3);
    EXPECT_EQ(probe(run).outer_clicks, 5);
}

TEST(HostMouse, ScaledGaugeScalesPictureAndAreas) {
    ProbeRun run("[Window00]\nsize=300,200\ngauge00=probe!probe, 100, 50, 128, 128\n");
    run.session().variables().set_double(501, 1);
    run.cycles(1);
    EXPECT_EQ(run.pixel(0, 100 + 10, 50 + 10), kGreen) << "icon at 2..10 doubled to 4..20";
    EXPECT_EQ(run.pixel(0, 99, 60), 0x1E2226u) << "panel background left of the gauge";
    EXPECT_TRUE(run.panel().click_window(0, 100 + 30, 50 + 30));
    EXPECT_EQ(probe(run).outer_clicks, 1);
    EXPECT_EQ(probe(run).last_x, 15);
}

TEST(HostGauges, Version700CallbacksAfterInstallAndEveryUpdate) {
    ProbeRun run(kProbePanel);
    EXPECT_EQ(probe(run).after_install, 1);
    EXPECT_EQ(probe(run).after_update, 0);
    run.cycles(5);
    EXPECT_EQ(probe(run).after_install, 1);
    EXPECT_EQ(probe(run).after_update, 5);
}

TEST(HostGauges, FailingModuleIsReportedAndTheRestRuns) {
    ProbeRun run(
        "[Window00]\nsize=200,100\ngauge00=nosuchmodule!x, 0, 0\ngauge01=probe!wrongname, 0, 0\n"
        "[Window01]\nsize=100,100\ngauge00=probe!probe, 0, 0\n");
    const auto& problems = run.session().problems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("panel.cfg:3: module nosuchmodule: nosuchmodule.gau not found"), std::string::npos)
        << problems[0];
    EXPECT_NE(problems[1].find("no gauge named \"wrongname\""), std::string::npos) << problems[1];
    run.session().variables().set_double(501, 1);
    run.cycles(1);
    EXPECT_EQ(run.pixel(1, 5, 5), kGreen);
}

TEST(HostGauges, WindowsToggleByIdent) {
    ProbeRun run("[Window00]\nsize=10,10\nident=40\nvisible=0\n[Window01]\nsize=10,10\nident=44\n",
                 "at 0 window 40\nat 0 window 44\nat 0.5 window 44\n");
    run.session().run_for(1);
    ASSERT_TRUE(run.session().write_outputs());
    std::ifstream f(run.session().out() + "/windows.txt");
    std::stringstream ss;
    ss << f.rdbuf();
    EXPECT_EQ(ss.str(), "40 open\n44 open\n");
}

TEST(HostFiles, PanelAndScenarioErrorsNameFileAndLine) {
    auto bad_panel = panelhost::parse_panel_config("[Window00]\nsize=10\n", "p.cfg");
    ASSERT_FALSE(bad_panel);
    EXPECT_EQ(bad_panel.error(), "p.cfg:2: bad size, expected W,H");
    auto bad_gauge = panelhost::parse_panel_config("[Window00]\nsize=10,10\ngauge00=nobang, 1, 2\n", "p.cfg");
    ASSERT_FALSE(bad_gauge);
    EXPECT_EQ(bad_gauge.error(), "p.cfg:3: expected module!gauge before the position");
    auto ok = panelhost::parse_panel_config(
        "[Window Titles]\nWindow00=Main\n[Window00]\nsize=640,480\nposition=5,6\nident=44\nvisible=0\n"
        "gauge00=airspeed!airspeed, 10, 20, 150, 160\n",
        "p.cfg");
    ASSERT_TRUE(ok) << ok.error();
    ASSERT_EQ(ok->windows.size(), 1u);
    const auto& w = ok->windows[0];
    EXPECT_EQ(w.ident, 44);
    EXPECT_FALSE(w.visible);
    ASSERT_EQ(w.gauges.size(), 1u);
    EXPECT_EQ(w.gauges[0].module, "airspeed");
    EXPECT_EQ(w.gauges[0].width, 150);

    auto bad_scenario = panelhost::parse_scenario("# demo\nat 1 set 71 5\nat x set 1 2\n", "s.txt");
    ASSERT_FALSE(bad_scenario);
    EXPECT_EQ(bad_scenario.error(), "s.txt:3: bad time 'x'");
    auto bad_key = panelhost::parse_scenario("at 1 key NOPE\n", "s.txt");
    ASSERT_FALSE(bad_key);
    EXPECT_EQ(bad_key.error(), "s.txt:1: unknown key 'NOPE'");
    auto good = panelhost::parse_scenario("at 2 key TAB shift\nat 1 set-text 61 IAH VOR\n", "s.txt");
    ASSERT_TRUE(good) << good.error();
    const auto* text = std::get_if<panelhost::SetTextCommand>(&good->commands[0].action);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text, "IAH VOR") << "sorted by time, text kept with its blanks";
    const auto* key = std::get_if<panelhost::KeyCommand>(&good->commands[1].action);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->vk, 0x09);
    EXPECT_TRUE(key->shift);
}

// A window's file= bitmap, written as a test file: four columns of colour, one pixel each.
std::filesystem::path four_colour_bitmap(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / "panel_backgrounds";
    std::filesystem::create_directories(dir);
    plat::Bitmap b(4, 1, plat::PixelFormat::xrgb32);
    const plat::ColorRef colours[] = {plat::rgb(0x10, 0x20, 0x30), plat::rgb(0x40, 0x50, 0x60),
                                      plat::rgb(0x70, 0x80, 0x90), plat::rgb(0xA0, 0xB0, 0xC0)};
    for (int x = 0; x < 4; ++x) b.set_pixel(x, 0, b.map_color(colours[x]));
    const auto path = dir / name;
    if (auto error = plat::write_bmp(path.string(), b, plat::BmpDepth::bits24)) ADD_FAILURE() << error->message;
    return path;
}

TEST(HostFiles, WindowBackgroundBitmapIsScaledUnderTheGauges) {
    std::string path = four_colour_bitmap("four.bmp").string();
    std::replace(path.begin(), path.end(), '/', '\\');  // as the simulator's panel files write it
    ProbeRun run("[Window00]\nsize=400,100\nfile=" + path + "\ngauge00=probe!probe, 0, 0\n");
    run.cycles(1);
    EXPECT_TRUE(run.session().problems().empty()) << run.session().problems().front();
    EXPECT_EQ(run.pixel(0, 99, 99), 0x102030u) << "each bitmap pixel spans a quarter of the window";
    EXPECT_EQ(run.pixel(0, 100, 0), 0x405060u);
    EXPECT_EQ(run.pixel(0, 299, 50), 0x708090u);
    EXPECT_EQ(run.pixel(0, 300, 50), 0xA0B0C0u);
    EXPECT_EQ(run.pixel(0, 40, 24), kGrey) << "the gauge is drawn over the background";
}

TEST(HostFiles, ABrokenBackgroundIsReportedAndThePanelRunsWithout) {
    const auto dir = std::filesystem::temp_directory_path() / "panel_backgrounds";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "cut.bmp", std::ios::binary) << std::string("BM\x46\0\0\0\0\0\0\0\x36\0\0\0", 14);
    for (const std::string name : {"missing.bmp", "cut.bmp"}) {
        ProbeRun run("[Window00]\nsize=200,100\n\nfile=" + (dir / name).string() + "\ngauge00=probe!probe, 0, 0\n");
        run.cycles(1);
        ASSERT_EQ(run.session().problems().size(), 1u) << name;
        const std::string& problem = run.session().problems().front();
        EXPECT_NE(problem.find("panel.cfg:4: "), std::string::npos) << problem;
        EXPECT_NE(problem.find(name), std::string::npos) << problem;
        EXPECT_EQ(run.pixel(0, 150, 50), 0x1E2226u) << "the plain panel colour";
        EXPECT_EQ(run.pixel(0, 40, 24), kGrey) << "the gauges run";
    }
    auto empty = panelhost::parse_panel_config("[Window00]\nsize=10,10\nfile=\n", "p.cfg");
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.error(), "p.cfg:3: file= names no bitmap");
}

std::vector<std::string> lines_of(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(HostDiagnostics, DumpListsTheClickableAreasInGaugePixels) {
    ProbeRun run(kProbePanel, "at 0.2 dump d\n");
    run.session().run_for(0.5);
    // Groups offset what they hold: the inner area sits at 10 + 20.
    const std::vector<std::string> expected = {"probe 10 10 10 10", "probe 30 30 10 10", "probe 54 54 10 10"};
    EXPECT_EQ(lines_of(run.session().out() + "/d-areas.txt"), expected);
}

TEST(HostDiagnostics, StatsLogTheProcessFiguresAndAReloadGivesBackWhatItTook) {
    ProbeRun run(kProbePanel, "at 0.5 stats before\nat 1 reload\nat 2 stats\nat 2.5 reload\nat 3.5 stats again\n");
    run.session().run_for(4);
    const auto lines = lines_of(run.session().out() + "/stats.log");
    ASSERT_EQ(lines.size(), 3u);
    struct Figures {
        long rss = -1;
        int fds = -1, maps = -1, blocks = -1;
        char label[32] = "";
        double t = -1;
    };
    std::vector<Figures> f(3);
    for (std::size_t i = 0; i < 3; ++i)
        ASSERT_EQ(std::sscanf(lines[i].c_str(), "t=%lf %31s rss_kb=%ld fds=%d maps=%d blocks=%d", &f[i].t, f[i].label,
                              &f[i].rss, &f[i].fds, &f[i].maps, &f[i].blocks),
                  6)
            << lines[i];
    EXPECT_STREQ(f[0].label, "before");
    EXPECT_STREQ(f[1].label, "-") << "no label given";
    EXPECT_NEAR(f[2].t, 3.5, 0.06);
    EXPECT_GT(f[0].rss, 1000);
    EXPECT_GT(f[0].fds, 2);
    EXPECT_GT(f[0].maps, 10);
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(f[i].fds, f[0].fds) << "reload " << i;
#ifndef __SANITIZE_ADDRESS__  // the sanitizer's allocator maps more regions as it goes
        EXPECT_EQ(f[i].maps, f[0].maps) << "reload " << i;
#endif
        EXPECT_EQ(f[i].blocks, f[0].blocks) << "reload " << i;
    }
    EXPECT_FALSE(panelhost::parse_scenario("at 1 stats a b\n", "s.txt"));
}

// Hours of flying send millions of events: the panel keeps the latest, the log has them all.
TEST(HostKeyEvents, ThePanelKeepsTheLatestAndTheLogHasEveryOne) {
    ProbeRun run(kProbePanel);
    run.cycles(1);
    const std::size_t sent = panelhost::Panel::kRecentKeyEvents + 100;
    for (std::size_t i = 0; i < sent; ++i) ASSERT_TRUE(run.panel().click_gauge("probe", 58, 58));
    EXPECT_EQ(run.panel().key_events_sent(), sent);
    EXPECT_EQ(run.panel().key_events().size(), panelhost::Panel::kRecentKeyEvents);
    ASSERT_TRUE(run.session().write_outputs());
    EXPECT_EQ(lines_of(run.session().out() + "/events.log").size(), sent);
}

TEST(HostVariables, TokensKeepTheirFormsAndNamedVariablesBind) {
    panelhost::VariableStore store;
    store.set_int(100, 0x1234);
    store.set_text(101, "IAH");
    store.set_double(102, 2.5);
    gauge::VariableRecord r{100, nullptr, 0, {0.0}};
    store.lookup(r);
    EXPECT_EQ(r.type, gauge::var_integer);
    EXPECT_EQ(r.value.i, 0x1234);
    r.token = 101;
    store.lookup(r);
    EXPECT_STREQ(r.value.text, "IAH");
    r.token = 102;
    store.lookup(r);
    EXPECT_EQ(r.value.d, 2.5);
    r.token = 999999;
    store.lookup(r);
    EXPECT_EQ(r.value.d, 0.0) << "an unknown token reads zero";
    EXPECT_EQ(store.named("Light"), nullptr);
    store.publish_named("Light", 1);
    double* light = store.named("Light");
    ASSERT_NE(light, nullptr);
    store.publish_named("Light", 0);
    EXPECT_EQ(*light, 0.0) << "the bound pointer follows the publisher";
}

}  // namespace

// A picture declared without a bitmap draws nothing and is no fault; a bitmap the module does not
// ship is reported, once, naming the gauge and the bitmap.
TEST(HostElements, BlankPictureIsSilentAndMissingBitmapIsReported) {
    testing::internal::CaptureStderr();
    std::string said;
    {
        ProbeRun run("[Window00]\nsize=200,100\nposition=0,0\nvisible=1\ngauge00=sparseart!sparseart, 0, 0\n"
                     "gauge01=yawdamper!yawdamper, 64, 0\n");
        auto& vars = run.session().variables();
        vars.set_double(501, 0);
        run.cycles(1);
        EXPECT_EQ(run.pixel(0, 5, 5), kRed);
        vars.set_double(501, 1);
        run.cycles(1);
        EXPECT_EQ(run.pixel(0, 5, 5), kGrey) << "the blank picture shows the background";
        said = testing::internal::GetCapturedStderr();
    }
    EXPECT_NE(said.find("gauge sparseart: bitmap 6099 is not among the module's resources"), std::string::npos) << said;
    EXPECT_EQ(said.find("bitmap -1"), std::string::npos) << said;
    EXPECT_EQ(said.find("gauge yawdamper:"), std::string::npos) << "its overlays' blank pictures are by design: " << said;
}
