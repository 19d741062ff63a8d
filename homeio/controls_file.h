#pragma once
// A controls file: what the buttons and axes of joysticks, button boxes and game controllers do.
// One binding a line, '#' starts a comment:
//
//   button DEVICE N COMMAND       a line protocol command (command.h) sent as the button goes down;
//                                 "press W X Y" is released and "key NAME" goes up as the button does
//   axis DEVICE N LEVER [reverse] [deadzone D]
//                                 LEVER throttle, pitch, roll, speedbrake or flaps of the host aircraft;
//                                 D a fraction of the travel (0 to 0.5) that counts as the rest
//
// DEVICE is the device's name as the system reports it (in double quotes when it has blanks) or its
// index (panelhost --list-controls prints both); N counts the device's buttons or axes from 0.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "homeio/command.h"
#include "homeio/io_panel.h"
#include "platform/result.h"

namespace homeio {

struct DeviceRef {
    std::string name;          // empty when given by index
    std::optional<int> index;
};

struct ButtonBinding {
    DeviceRef device;
    int button = 0;
    Command down;
    std::optional<Command> up;  // held commands: what the button's release sends
    int line = 0;
};

struct AxisBinding {
    DeviceRef device;
    int axis = 0;
    Lever lever = Lever::throttle;
    bool reverse = false;
    double deadzone = 0;
    int line = 0;
};

struct ControlsFile {
    std::string name;  // as errors name it
    std::vector<ButtonBinding> buttons;
    std::vector<AxisBinding> axes;
};

// Every line read, or the first fault as "NAME:LINE: what is wrong".
plat::Result<ControlsFile> parse_controls(std::string_view text, const std::string& name);
plat::Result<ControlsFile> read_controls(const std::string& path);

// An axis's raw position (-32768 to 32767) as the lever's: 0 to 1, or -1 to 1 for pitch and roll
// (nose up and right positive, as the stick is pulled back and pushed right).
double lever_position(const AxisBinding& axis, int raw);

}  // namespace homeio
