#pragma once
// What the browser server needs of a panel, and all it knows of one: the windows, each window's
// picture and what changed in it since last taken, and a way to hand it the pages' clicks and keys.
// The panel host adapts its session to this; every call is made on the panel thread, around the
// panel's cycles.

#include <cstdint>
#include <string>
#include <vector>

#include "web/picture.h"

namespace web {

// A panel window as the pages list it.
struct WindowInfo {
    int number = 0;
    std::string title;
    int width = 0, height = 0;
    bool open = true;
};

// What changed in a window since a viewer last took it.
struct WindowChanges {
    bool whole = false;
    std::vector<Area> rects;  // when not whole: the changed rectangles, within the window
};

// Told of every panel cycle: input is applied before it, pictures are taken after it.
class CycleListener {
public:
    virtual ~CycleListener() = default;
    virtual void before_cycle() = 0;
    virtual void after_cycle() = 0;
};

class PanelSource {
public:
    virtual ~PanelSource() = default;

    // Counts the panel's loads: when it changes, the windows are new ones (the panel was loaded again).
    virtual std::uint64_t panel_loads() = 0;
    virtual std::vector<WindowInfo> windows() = 0;
    // By index in windows(): the window's picture brought up to date and what changed in it since the
    // count `seen` (0 for a viewer that has nothing yet); `seen` becomes the window's current count.
    virtual WindowChanges take_changes(std::size_t index, std::uint64_t& seen) = 0;
    // The picture take_changes brought up to date, lent until the next cycle.
    virtual PictureView picture(std::size_t index) = 0;

    // The left button down at window pixel (x, y); false when that window is not there to click.
    virtual bool press(int window, int x, int y) = 0;
    virtual void release() = 0;
    // A key going down or up (a Windows virtual-key code).
    virtual void key(int vk, bool down) = 0;

    // The listener is told of every cycle until set to null; it must outlive that.
    virtual void listen(CycleListener* listener) = 0;
};

}  // namespace web
