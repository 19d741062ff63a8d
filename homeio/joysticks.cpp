#include "homeio/joysticks.h"

#include <SDL.h>

#include <algorithm>
#include <utility>

namespace homeio {

plat::Result<JoystickSystem> JoystickSystem::open() {
    // A panel in a window that is not in front still takes its buttons and levers.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return plat::Error{std::string("cannot open the joysticks: ") + SDL_GetError()};
    // Read directly every cycle: events would pile up where no window takes them.
    SDL_JoystickEventState(SDL_IGNORE);
    return JoystickSystem();
}

JoystickSystem::JoystickSystem(JoystickSystem&& other) noexcept : held_(std::exchange(other.held_, false)) {}

JoystickSystem::~JoystickSystem() {
    if (held_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

std::vector<DeviceInfo> connected_devices() {
    SDL_JoystickUpdate();
    std::vector<DeviceInfo> out;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        DeviceInfo d;
        d.index = i;
        const char* name = SDL_JoystickNameForIndex(i);
        d.name = name ? name : "";
        if (SDL_Joystick* js = SDL_JoystickOpen(i)) {
            d.buttons = SDL_JoystickNumButtons(js);
            d.axes = SDL_JoystickNumAxes(js);
            d.hats = SDL_JoystickNumHats(js);
            SDL_JoystickClose(js);
        }
        out.push_back(std::move(d));
    }
    return out;
}

std::string describe_devices(const std::vector<DeviceInfo>& devices) {
    if (devices.empty()) return "no joysticks, button boxes or game controllers are connected\n";
    std::string out;
    for (const DeviceInfo& d : devices) {
        out += std::to_string(d.index) + " \"" + d.name + "\": " + std::to_string(d.buttons) + " buttons (0 to " +
               std::to_string(std::max(d.buttons - 1, 0)) + "), " + std::to_string(d.axes) + " axes (0 to " +
               std::to_string(std::max(d.axes - 1, 0)) + ")";
        if (d.hats > 0) out += ", " + std::to_string(d.hats) + " hats";
        out += "\n";
    }
    return out;
}

struct Joysticks::Device {
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickID instance = -1;
    std::string name;
    std::vector<std::uint8_t> buttons;
    std::vector<std::int16_t> axes;
};

namespace {

// The connected device a line names, or why there is none that fits.
std::optional<std::string> resolve(DeviceRef& ref, int number, bool is_axis, const std::vector<DeviceInfo>& devices) {
    const DeviceInfo* found = nullptr;
    for (const DeviceInfo& d : devices)
        if (ref.index ? d.index == *ref.index : d.name == ref.name) {
            found = &d;
            break;
        }
    if (!found)
        return "no device " + (ref.index ? std::to_string(*ref.index) : "\"" + ref.name + "\"") +
               " is connected (panelhost --list-controls lists them)";
    const int count = is_axis ? found->axes : found->buttons;
    if (number >= count)
        return "\"" + found->name + "\" has " + std::to_string(count) + (is_axis ? " axes" : " buttons") + ", not " +
               std::to_string(number + 1);
    ref.name = found->name;
    return std::nullopt;
}

}  // namespace

plat::Result<std::unique_ptr<Joysticks>> Joysticks::start(IoPanel& panel, ControlsFile file, Say say) {
    auto system = JoystickSystem::open();
    if (!system) return plat::Error{system.error()};
    const std::vector<DeviceInfo> devices = connected_devices();
    auto fault = [&](int line, const std::string& why) {
        return plat::Error{file.name + ":" + std::to_string(line) + ": " + why};
    };
    for (ButtonBinding& b : file.buttons)
        if (auto why = resolve(b.device, b.button, false, devices)) return fault(b.line, *why);
    for (AxisBinding& a : file.axes)
        if (auto why = resolve(a.device, a.axis, true, devices)) return fault(a.line, *why);
    std::unique_ptr<Joysticks> j(new Joysticks(panel, std::move(file), std::move(say), std::move(system).value()));
    panel.listen(j.get());
    return j;
}

Joysticks::Joysticks(IoPanel& panel, ControlsFile file, Say say, JoystickSystem system)
    : panel_(panel), file_(std::move(file)), say_(std::move(say)), system_(std::move(system)) {
    for (const auto& b : file_.buttons) names_.push_back(b.device.name);
    for (const auto& a : file_.axes) names_.push_back(a.device.name);
    std::sort(names_.begin(), names_.end());
    names_.erase(std::unique(names_.begin(), names_.end()), names_.end());
}

Joysticks::~Joysticks() {
    panel_.listen(nullptr);
    for (auto& d : open_) SDL_JoystickClose(d->joystick);
}

void Joysticks::send(const Command& c) {
    std::string answers;
    client_.apply(c, panel_, answers);
    if (!answers.empty()) say_("controls: " + answers.substr(0, answers.size() - 1));
}

void Joysticks::take(int index) {
    const char* name = SDL_JoystickNameForIndex(index);
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(index);
    const std::string n = name ? name : "";
    if (!std::binary_search(names_.begin(), names_.end(), n)) {
        if (std::find(told_unused_.begin(), told_unused_.end(), instance) == told_unused_.end()) {
            told_unused_.push_back(instance);
            say_("controls: \"" + n + "\" plugged in; no line of " + file_.name + " names it");
        }
        return;
    }
    SDL_Joystick* js = SDL_JoystickOpen(index);
    if (!js) {
        say_("controls: cannot open \"" + n + "\": " + SDL_GetError());
        return;
    }
    auto d = std::make_unique<Device>();
    d->joystick = js;
    d->instance = instance;
    d->name = n;
    // What it shows now is where it rests: only what moves from here on counts.
    for (int i = 0; i < SDL_JoystickNumButtons(js); ++i) d->buttons.push_back(SDL_JoystickGetButton(js, i));
    for (int i = 0; i < SDL_JoystickNumAxes(js); ++i) d->axes.push_back(SDL_JoystickGetAxis(js, i));
    say_("controls: \"" + n + "\" taken");
    open_.push_back(std::move(d));
}

void Joysticks::let_go(Device& d) {
    // What its buttons held goes up with it.
    for (const ButtonBinding& b : file_.buttons)
        if (b.device.name == d.name && b.up && static_cast<std::size_t>(b.button) < d.buttons.size() &&
            d.buttons[b.button])
            send(*b.up);
    say_("controls: \"" + d.name + "\" pulled out, let go");
    SDL_JoystickClose(d.joystick);
}

void Joysticks::follow_plugging() {
    std::erase_if(open_, [this](const std::unique_ptr<Device>& d) {
        if (SDL_JoystickGetAttached(d->joystick)) return false;
        let_go(*d);
        return true;
    });
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(i);
        const bool known = std::any_of(open_.begin(), open_.end(), [&](const auto& d) { return d->instance == instance; });
        if (!known) take(i);
    }
}

void Joysticks::read(Device& d) {
    for (const ButtonBinding& b : file_.buttons) {
        if (b.device.name != d.name || static_cast<std::size_t>(b.button) >= d.buttons.size()) continue;
        const std::uint8_t now = SDL_JoystickGetButton(d.joystick, b.button);
        if (now == d.buttons[b.button]) continue;
        if (now) send(b.down);
        else if (b.up) send(*b.up);
    }
    for (const AxisBinding& a : file_.axes) {
        if (a.device.name != d.name || static_cast<std::size_t>(a.axis) >= d.axes.size()) continue;
        const std::int16_t now = SDL_JoystickGetAxis(d.joystick, a.axis);
        if (now == d.axes[a.axis]) continue;
        if (!panel_.move_lever(a.lever, lever_position(a, now)) && !said_not_own_) {
            said_not_own_ = true;
            say_("controls: the simulator's own controls move its aircraft; the axes are left to them");
        }
    }
    // Taken once every binding has seen them, so two lines on one button both act.
    for (std::size_t i = 0; i < d.buttons.size(); ++i) d.buttons[i] = SDL_JoystickGetButton(d.joystick, static_cast<int>(i));
    for (std::size_t i = 0; i < d.axes.size(); ++i) d.axes[i] = SDL_JoystickGetAxis(d.joystick, static_cast<int>(i));
}

void Joysticks::before_cycle() {
    SDL_JoystickUpdate();
    follow_plugging();
    for (auto& d : open_) read(*d);
}

}  // namespace homeio
