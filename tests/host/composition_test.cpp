// The host composes a window only when something looks at it, and then only the rectangles of the
// gauges that changed: the pictures must be those a composition of the whole window gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "panelhost/panel.h"
#include "panelhost/screen_frame.h"
#include "panelhost/session.h"

namespace {

namespace fs = std::filesystem;

std::unique_ptr<panelhost::Session> open_panel(const std::string& name, bool demo) {
    const fs::path out = fs::temp_directory_path() / "panel_tests" / ("Composition." + name);
    fs::remove_all(out);
    const auto options = panelhost::panel_options(out.string(), demo);
    auto s = panelhost::Session::open(options);
    if (!s) throw std::runtime_error(s.error());
    return std::move(s).value();
}

// The moments the demo takes its pictures, up to `until` seconds.
std::vector<double> demo_snapshot_times(double until) {
    std::ifstream f(panelhost::default_data_dir() + "/scenarios/demo.txt");
    std::vector<double> times;
    for (std::string line; std::getline(f, line);) {
        std::istringstream in(line);
        std::string at, command;
        double t = 0;
        if (in >> at >> t >> command && at == "at" && command == "snap" && t <= until) times.push_back(t);
    }
    return times;
}

// Every window's picture as the tracked composition left it, against the whole composition.
void expect_whole_composition(panelhost::Panel& panel, const std::string& when) {
    for (auto& w : panel.windows()) {
        const std::vector<std::uint32_t> tracked = w->picture.pixels;
        panel.compose_whole(*w);
        std::size_t differing = 0;
        for (std::size_t i = 0; i < tracked.size(); ++i) differing += tracked[i] != w->picture.pixels[i];
        EXPECT_EQ(differing, 0u) << when << ": window " << w->config.number;
    }
}

// The frame a viewer shows holds every open window's picture at its place.
void expect_frame_shows_windows(const panelhost::ScreenFrame& frame, panelhost::Panel& panel, const std::string& when) {
    std::size_t differing = 0;
    for (auto& w : panel.windows()) {
        if (!w->open) continue;
        for (int y = 0; y < w->picture.height; ++y)
            for (int x = 0; x < w->picture.width; ++x)
                differing += (frame.picture().row(w->config.y + y)[w->config.x + x] & 0xFFFFFFu) !=
                             (w->picture.row(y)[x] & 0xFFFFFFu);
    }
    EXPECT_EQ(differing, 0u) << when;
}

// Nothing looks at the panel between the demo's pictures: each is composed from everything that
// changed over many cycles at once.
TEST(Composition, DeferredToTheDemosPicturesItEqualsTheWholeWindow) {
    auto s = open_panel("deferred", true);
    const std::vector<double> snaps = demo_snapshot_times(100);
    ASSERT_GE(snaps.size(), 5u);
    for (double t : snaps) {
        while (s->time() < t) s->step();
        s->panel().compose();
        expect_whole_composition(s->panel(), "at " + std::to_string(t) + " s");
    }
}

// A viewer takes the windows every cycle, as the window viewer does: only changed rectangles.
TEST(Composition, AViewerEveryCycleSeesTheWholeWindowsPictures) {
    auto s = open_panel("viewer", true);
    panelhost::ScreenFrame frame;
    for (double t : demo_snapshot_times(60)) {
        while (s->time() < t) {
            s->step();
            frame.refresh(s->panel());
        }
        const std::string when = "at " + std::to_string(t) + " s";
        expect_frame_shows_windows(frame, s->panel(), when);
        expect_whole_composition(s->panel(), when);
    }
}

TEST(Composition, AnIdlePanelComposesNothingAndAClickOnlyItsGauges) {
    auto s = open_panel("idle", false);
    panelhost::ScreenFrame frame;
    s->run_for(6);  // past every start-up delay
    frame.refresh(s->panel());
    for (int i = 0; i < 20; ++i) {
        s->step();
        EXPECT_TRUE(frame.refresh(s->panel()).empty()) << "cycle " << i;
    }
    for (auto& w : s->panel().windows()) EXPECT_EQ(w->composed_at, w->changes) << "nothing waits to be composed";

    ASSERT_TRUE(s->panel().click_gauge("ndmodeselect", 30, 25));
    s->step();
    s->step();
    const std::vector<panelhost::Rect> changed = frame.refresh(s->panel());
    ASSERT_FALSE(changed.empty());
    const panelhost::Rect selector = s->panel().find_gauge("ndmodeselect")->box();
    int area = 0;
    bool selector_seen = false;
    for (const panelhost::Rect& r : changed) {
        area += r.w * r.h;
        selector_seen |= r == selector;
    }
    EXPECT_TRUE(selector_seen);
    EXPECT_LT(area, frame.width() * frame.height() / 4) << "the selector and the display it drives, not the panel";
    expect_frame_shows_windows(frame, s->panel(), "after the click");
    expect_whole_composition(s->panel(), "after the click");
}

}  // namespace
