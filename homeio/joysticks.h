#pragma once
// The devices of a controls file (controls_file.h), through SDL's joysticks: every cycle, before
// the panel's, each bound button that went down or up sends its command as a line protocol client
// would, and each bound axis that moved sets its lever. Devices plugged in or pulled out while the
// panel runs are taken or let go (what their buttons held is released) and said so.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "homeio/controls_file.h"
#include "homeio/io_panel.h"
#include "homeio/protocol_client.h"
#include "platform/result.h"

namespace homeio {

// A device as SDL reports it.
struct DeviceInfo {
    int index = 0;
    std::string name;
    int buttons = 0, axes = 0, hats = 0;
};

// SDL's joystick subsystem, opened for the object's life (a second is a count, not a second start).
class JoystickSystem {
public:
    static plat::Result<JoystickSystem> open();
    JoystickSystem(JoystickSystem&& other) noexcept;
    JoystickSystem& operator=(JoystickSystem&&) = delete;
    ~JoystickSystem();

private:
    JoystickSystem() = default;
    bool held_ = true;
};

// The devices connected now.
std::vector<DeviceInfo> connected_devices();
// What panelhost --list-controls prints: each device's index, name, and its buttons and axes.
std::string describe_devices(const std::vector<DeviceInfo>& devices);

class Joysticks : private IoListener {
public:
    using Say = std::function<void(const std::string&)>;
    // Every device of the file must be connected, with the buttons and axes its lines name; else the
    // error names the line.
    static plat::Result<std::unique_ptr<Joysticks>> start(IoPanel& panel, ControlsFile file, Say say);
    ~Joysticks() override;
    Joysticks(const Joysticks&) = delete;
    Joysticks& operator=(const Joysticks&) = delete;

private:
    struct Device;
    Joysticks(IoPanel& panel, ControlsFile file, Say say, JoystickSystem system);
    void before_cycle() override;
    void after_cycle() override {}
    void follow_plugging();
    void take(int index);
    void let_go(Device& d);
    void read(Device& d);
    void send(const Command& c);

    IoPanel& panel_;
    ControlsFile file_;
    Say say_;
    JoystickSystem system_;
    std::vector<std::string> names_;  // the file's devices, by name (an index given is its device's name)
    std::vector<std::unique_ptr<Device>> open_;
    std::vector<int> told_unused_;    // instances said to be of no line
    ProtocolClient client_;
    bool said_not_own_ = false;
};

}  // namespace homeio
