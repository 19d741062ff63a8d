// A device plugged in and pulled out while `view` shows the panel in its window (under Xvfb): the
// window's loop reads the device as the headless run does, and its button works the FMC.
#include <SDL.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "homeio/joysticks.h"
#include "panelhost/io_source.h"
#include "panelhost/viewer.h"
#include "panel_fixture.h"
#include "tests/homeio/virtual_device.h"

namespace homeio {
namespace {

class Said {
public:
    void add(const std::string& s) {
        std::lock_guard lock(mutex_);
        lines_.push_back(s);
    }
    // Waits up to 20 s for a line holding the text.
    bool wait_for(const std::string& what) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < end) {
            {
                std::lock_guard lock(mutex_);
                for (const auto& s : lines_)
                    if (s.find(what) != std::string::npos) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

TEST(ControlsInView, ADevicePluggedInAndPulledOutWhileTheWindowRuns) {
    ASSERT_TRUE(panelhost::check_display()) << "needs a display (the test runs under xvfb-run)";
    auto system = JoystickSystem::open();
    ASSERT_TRUE(system) << system.error();
    PanelRun run("[Window00]\nsize=280,280\nposition=0,0\nvisible=1\ngauge00=fmcomputer!fmcomputer, 0, 0\n");
    auto panel = panelhost::io_panel(run.session(), true);

    // The file's device is there at the start, then gone before the window opens.
    auto first = std::make_unique<testing::VirtualDevice>("View Pad");
    auto file = parse_controls("button \"View Pad\" 0 click 0 16 43\naxis \"View Pad\" 1 throttle\n", "view.txt");
    ASSERT_TRUE(file) << file.error();
    Said said;
    auto joysticks = Joysticks::start(*panel, std::move(file).value(), [&](const std::string& s) { said.add(s); });
    ASSERT_TRUE(joysticks) << joysticks.error();
    first->unplug();

    bool taken = false, pulled = false;
    std::thread hands([&] {
        testing::VirtualDevice pad("View Pad");
        taken = said.wait_for("\"View Pad\" taken");
        if (taken) {
            pad.axis(1, 32767);
            pad.button(0, true);
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            pad.button(0, false);
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
        }
        pad.unplug();
        pulled = said.wait_for("\"View Pad\" pulled out, let go");
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    });
    auto viewed = panelhost::run_viewer(run.session());
    hands.join();
    ASSERT_TRUE(viewed) << viewed.error();
    EXPECT_TRUE(taken);
    EXPECT_TRUE(pulled);
    EXPECT_NE(panel->read_element(panel->find_element("fmcomputer", 2)).text.find("LOAD A FLIGHT PLAN"), std::string::npos);
    EXPECT_DOUBLE_EQ(run.session().aircraft().state().controls.throttle[0], 1.0);
}

}  // namespace
}  // namespace homeio
