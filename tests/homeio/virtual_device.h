#pragma once
// A joystick for the tests, made by SDL's virtual joystick driver: no hardware needed. Its buttons
// and axes are set by the test and read by the host on its next cycle.

#include <SDL.h>

#include <gtest/gtest.h>

namespace homeio::testing {

// A name, four buttons and two axes; pulled out when unplugged or gone.
class VirtualDevice {
public:
    explicit VirtualDevice(const char* name) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = 2;
        desc.nbuttons = 4;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        joystick_ = SDL_JoystickOpen(index);
        EXPECT_TRUE(joystick_) << SDL_GetError();
        instance_ = SDL_JoystickInstanceID(joystick_);
    }
    ~VirtualDevice() { unplug(); }
    VirtualDevice(const VirtualDevice&) = delete;
    VirtualDevice& operator=(const VirtualDevice&) = delete;

    void button(int n, bool down) { SDL_JoystickSetVirtualButton(joystick_, n, down ? 1 : 0); }
    void axis(int n, int value) { SDL_JoystickSetVirtualAxis(joystick_, n, static_cast<Sint16>(value)); }
    void unplug() {
        if (!joystick_) return;
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == instance_) SDL_JoystickDetachVirtual(i);
    }

private:
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID instance_ = -1;
};

}  // namespace homeio::testing
