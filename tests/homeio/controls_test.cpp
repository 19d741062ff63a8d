// Controls files read line by line, and SDL's virtual joysticks working the real host: a button
// opens the FMC's LOAD page, an axis moves the throttles, devices pulled out and plugged in again.
#include <SDL.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "homeio/controls_file.h"
#include "homeio/joysticks.h"
#include "panelhost/io_source.h"
#include "platform/keyboard.h"
#include "panel_fixture.h"
#include "tests/homeio/virtual_device.h"

namespace homeio {
namespace {

using testing::VirtualDevice;

ControlsFile parsed(const std::string& text) {
    auto f = parse_controls(text, "pad.txt");
    EXPECT_TRUE(f) << f.error();
    return f ? f.value() : ControlsFile{};
}

std::string refused(const std::string& text) {
    auto f = parse_controls(text, "pad.txt");
    EXPECT_FALSE(f) << text;
    return f ? "" : f.error();
}

TEST(ControlsFile, BindsButtonsToProtocolCommands) {
    const ControlsFile f = parsed(
        "# a button box\n"
        "button \"Button Box 2000\" 0 click 1 16 43   # L1\n"
        "button 1 3 press 0 20 190\r\n"
        "\n"
        "button 1 4 key G\n"
        "button 1 5 key F5 down\n"
        "button 0 7 event gear_toggle\n");
    ASSERT_EQ(f.buttons.size(), 5u);
    EXPECT_EQ(f.buttons[0].device.name, "Button Box 2000");
    EXPECT_FALSE(f.buttons[0].device.index);
    EXPECT_EQ(f.buttons[0].line, 2);
    EXPECT_EQ(f.buttons[0].down.verb, Verb::click);
    EXPECT_FALSE(f.buttons[0].up) << "a click is over when the button goes down";
    EXPECT_EQ(f.buttons[1].device.index, 1);
    EXPECT_EQ(f.buttons[1].button, 3);
    ASSERT_TRUE(f.buttons[1].up);
    EXPECT_EQ(f.buttons[1].up->verb, Verb::release) << "a press is held as long as the button";
    ASSERT_TRUE(f.buttons[2].up);
    EXPECT_TRUE(f.buttons[2].down.down);
    EXPECT_FALSE(f.buttons[2].up->down) << "a key follows the button down and up";
    EXPECT_EQ(f.buttons[2].down.vk, 'G');
    EXPECT_FALSE(f.buttons[3].up) << "a key said to go down only goes down";
    EXPECT_EQ(f.buttons[4].down.verb, Verb::event);
    EXPECT_EQ(f.buttons[4].line, 7);
}

TEST(ControlsFile, BindsAxesToLevers) {
    const ControlsFile f = parsed("axis \"Pad\" 1 throttle reverse\naxis 0 0 roll deadzone 0.1\naxis 0 3 flaps\n"
                                  "axis \"7\" 2 pitch reverse deadzone 0.05\n");
    ASSERT_EQ(f.axes.size(), 4u);
    EXPECT_EQ(f.axes[0].lever, Lever::throttle);
    EXPECT_TRUE(f.axes[0].reverse);
    EXPECT_EQ(f.axes[1].lever, Lever::roll);
    EXPECT_DOUBLE_EQ(f.axes[1].deadzone, 0.1);
    EXPECT_EQ(f.axes[2].lever, Lever::flaps);
    EXPECT_EQ(f.axes[3].device.name, "7") << "a quoted number is a name";
    EXPECT_FALSE(f.axes[3].device.index);
}

TEST(ControlsFile, NamesTheLineOfEveryFault) {
    EXPECT_EQ(refused("button 0 1 click 1 2 3\nbutton 0 2 launch\n"), "pad.txt:2: unknown command launch");
    EXPECT_EQ(refused("\n\naxis 0 1 yaw\n"),
              "pad.txt:3: unknown axis use yaw (throttle, pitch, roll, speedbrake or flaps)");
    EXPECT_EQ(refused("slider 0 1 throttle\n"), "pad.txt:1: unknown binding slider (button or axis)");
    EXPECT_EQ(refused("button \"Pad 0 1 click 1 2 3\n"), "pad.txt:1: a name's closing quote is missing");
    EXPECT_EQ(refused("button \"\" 0 click 1 2 3\n"), "pad.txt:1: a device needs a name or an index");
    EXPECT_EQ(refused("button 0 x click 1 2 3\n"), "pad.txt:1: not a button number: x");
    EXPECT_EQ(refused("button 0 1\n"), "pad.txt:1: expected 'button DEVICE N COMMAND'");
    EXPECT_EQ(refused("button 0 1 watch fmcomputer 2\n"), "pad.txt:1: a button cannot send 'watch'");
    EXPECT_EQ(refused("button 0 1 event no_such\n"), "pad.txt:1: unknown event no_such");
    EXPECT_EQ(refused("axis 0 1 throttle deadzone 0.7\n"),
              "pad.txt:1: deadzone needs a fraction of the travel, 0 to 0.5: 0.7");
    EXPECT_EQ(refused("axis 0 1 throttle backwards\n"), "pad.txt:1: unknown word backwards (reverse, deadzone D)");
    EXPECT_EQ(refused("axis 0 1 throttle deadzone\n"), "pad.txt:1: unknown word deadzone (reverse, deadzone D)");
}

TEST(ControlsFile, AxesSpanTheirLevers) {
    AxisBinding throttle;
    EXPECT_DOUBLE_EQ(lever_position(throttle, -32768), 0.0);
    EXPECT_DOUBLE_EQ(lever_position(throttle, 32767), 1.0);
    EXPECT_NEAR(lever_position(throttle, 0), 0.5, 1e-4);
    throttle.reverse = true;
    EXPECT_DOUBLE_EQ(lever_position(throttle, -32768), 1.0);
    throttle.deadzone = 0.1;
    EXPECT_DOUBLE_EQ(lever_position(throttle, 32767 - 3000), 0.0) << "the rest at the lever's end";
    EXPECT_NEAR(lever_position(throttle, 0), 0.5, 1e-4);

    AxisBinding roll;
    roll.lever = Lever::roll;
    EXPECT_DOUBLE_EQ(lever_position(roll, 32767), 1.0);
    EXPECT_DOUBLE_EQ(lever_position(roll, -32768), -1.0);
    roll.deadzone = 0.2;
    EXPECT_DOUBLE_EQ(lever_position(roll, 6000), 0.0) << "a stick near the centre is at rest";
    EXPECT_DOUBLE_EQ(lever_position(roll, -6000), 0.0);
    EXPECT_NEAR(lever_position(roll, 16384), (0.5 - 0.2) / 0.8, 1e-4);
    roll.reverse = true;
    EXPECT_NEAR(lever_position(roll, 16384), -(0.5 - 0.2) / 0.8, 1e-4);
}

const char* kPanel =
    "[Window00]\nsize=280,280\nposition=0,0\nvisible=1\ngauge00=fmcomputer!fmcomputer, 0, 0\n";

class JoystickRun : public ::testing::Test {
protected:
    void SetUp() override {
        auto system = JoystickSystem::open();
        ASSERT_TRUE(system) << system.error();
        system_.emplace(std::move(system).value());
    }
    plat::Result<std::unique_ptr<Joysticks>> start(PanelRun& run, const std::string& controls, bool own = true) {
        panel_ = panelhost::io_panel(run.session(), own);
        auto file = parse_controls(controls, "controls.txt");
        EXPECT_TRUE(file) << file.error();
        return Joysticks::start(*panel_, std::move(file).value(), [this](const std::string& s) { said_.push_back(s); });
    }
    std::string fmc_title() { return std::string(panel_->read_element(panel_->find_element("fmcomputer", 2)).text); }
    bool said(const std::string& what) {
        for (const auto& s : said_)
            if (s.find(what) != std::string::npos) return true;
        return false;
    }

    std::optional<JoystickSystem> system_;
    std::unique_ptr<IoPanel> panel_;
    std::vector<std::string> said_;
};

TEST_F(JoystickRun, AButtonOpensTheLoadPageAndAnAxisMovesTheThrottles) {
    VirtualDevice pad("Home Cockpit Pad");
    PanelRun run(kPanel);
    auto joysticks = start(run, "button \"Home Cockpit Pad\" 0 click 0 16 43\naxis \"Home Cockpit Pad\" 1 throttle\n"
                                "button \"Home Cockpit Pad\" 3 key F6\n");
    ASSERT_TRUE(joysticks) << joysticks.error();
    run.cycles(5);
    EXPECT_TRUE(said("\"Home Cockpit Pad\" taken"));
    EXPECT_NE(fmc_title().find("MENU"), std::string::npos) << fmc_title();
    pad.button(0, true);
    run.cycles(2);
    pad.button(0, false);
    run.cycles(5);
    EXPECT_NE(fmc_title().find("LOAD A FLIGHT PLAN"), std::string::npos) << fmc_title();

    auto& controls = run.session().aircraft().state().controls;
    pad.axis(1, 32767);
    run.cycles(1);
    EXPECT_DOUBLE_EQ(controls.throttle[0], 1.0);
    EXPECT_DOUBLE_EQ(controls.throttle[1], 1.0);
    pad.axis(1, -32768);
    run.cycles(1);
    EXPECT_DOUBLE_EQ(controls.throttle[0], 0.0);
    // An axis that rests leaves the lever to the keyboard and the autothrottle.
    controls.throttle = {0.4, 0.4};
    run.cycles(3);
    EXPECT_DOUBLE_EQ(controls.throttle[0], 0.4);

    // A key follows its button: down while held, up when let go.
    pad.button(3, true);
    run.cycles(1);
    EXPECT_TRUE(plat::key_down(plat::vk::f1 + 5));
    pad.button(3, false);
    run.cycles(1);
    EXPECT_FALSE(plat::key_down(plat::vk::f1 + 5));
}

TEST_F(JoystickRun, DevicesPulledOutAndPluggedInAreLetGoAndTaken) {
    auto pad = std::make_unique<VirtualDevice>("Hot Plug Box");
    PanelRun run(kPanel);
    auto joysticks = start(run, "button \"Hot Plug Box\" 2 key G\naxis \"Hot Plug Box\" 0 speedbrake\n");
    ASSERT_TRUE(joysticks) << joysticks.error();
    run.cycles(2);
    pad->button(2, true);
    run.cycles(2);
    EXPECT_TRUE(plat::key_down('G'));
    pad->unplug();
    run.cycles(2);
    EXPECT_TRUE(said("\"Hot Plug Box\" pulled out, let go"));
    EXPECT_FALSE(plat::key_down('G')) << "what the device held goes with it";

    said_.clear();
    pad = std::make_unique<VirtualDevice>("Hot Plug Box");
    VirtualDevice other("Someone Else's Wheel");
    run.cycles(2);
    EXPECT_TRUE(said("\"Hot Plug Box\" taken"));
    EXPECT_TRUE(said("\"Someone Else's Wheel\" plugged in; no line of controls.txt names it"));
    pad->axis(0, 32767);
    run.cycles(1);
    EXPECT_DOUBLE_EQ(run.session().aircraft().state().controls.speed_brake, 1.0);
}

TEST_F(JoystickRun, AFileNamingADeviceThatIsNotThereIsRefusedByLine) {
    VirtualDevice pad("Four Button Pad");
    PanelRun run(kPanel);
    auto missing = start(run, "\nbutton \"No Such Stick\" 0 click 0 1 1\n");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), "controls.txt:2: no device \"No Such Stick\" is connected "
                               "(panelhost --list-controls lists them)");
    auto beyond = start(run, "button \"Four Button Pad\" 0 click 0 1 1\nbutton \"Four Button Pad\" 4 click 0 1 1\n");
    ASSERT_FALSE(beyond);
    EXPECT_EQ(beyond.error(), "controls.txt:2: \"Four Button Pad\" has 4 buttons, not 5");
    auto axis = start(run, "axis \"Four Button Pad\" 2 flaps\n");
    ASSERT_FALSE(axis);
    EXPECT_EQ(axis.error(), "controls.txt:1: \"Four Button Pad\" has 2 axes, not 3");
    const std::string listed = describe_devices(connected_devices());
    EXPECT_NE(listed.find("\"Four Button Pad\": 4 buttons (0 to 3), 2 axes (0 to 1)"), std::string::npos) << listed;
}

TEST_F(JoystickRun, WithASimulatorLinkAxesStayTheSimulatorsButtonsStillWork) {
    VirtualDevice pad("Linked Pad");
    PanelRun run(kPanel);
    auto joysticks = start(run, "button \"Linked Pad\" 0 click 0 16 43\naxis \"Linked Pad\" 1 throttle\n", false);
    ASSERT_TRUE(joysticks) << joysticks.error();
    run.cycles(2);
    auto& controls = run.session().aircraft().state().controls;
    controls.throttle = {0.3, 0.3};
    pad.axis(1, 32767);
    pad.button(0, true);
    run.cycles(5);
    EXPECT_DOUBLE_EQ(controls.throttle[0], 0.3);
    EXPECT_TRUE(said("the simulator's own controls move its aircraft"));
    EXPECT_NE(fmc_title().find("LOAD A FLIGHT PLAN"), std::string::npos);
}

}  // namespace
}  // namespace homeio
