#pragma once
// The loaded panel: its windows, the gauges placed in them, and the panel cycle that drives them.
// Everything here runs on the one panel thread, as the modules expect.

#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/records.h"
#include "panelhost/element_state.h"
#include "panelhost/gauge_module.h"
#include "panelhost/image.h"
#include "panelhost/key_events.h"
#include "panelhost/panel_config.h"
#include "panelhost/variables.h"
#include "web/panel_source.h"

namespace panelhost {

struct Window;

struct MouseList {
    gauge::MouseArea* list = nullptr;
    bool attached = false;
};

struct GaugeInstance {
    GaugePlacement placement;
    Window* window = nullptr;
    GaugeModule* module = nullptr;
    gauge::GaugeHeader* header = nullptr;
    std::vector<std::unique_ptr<ElementState>> elements;  // in drawing order
    std::vector<MouseList> mouse_lists;
    int native_width = 0, native_height = 0;  // the background bitmap's size
    Image picture;                            // at native size
    bool dirty = true;                        // the picture is to be drawn again
    bool installed = false;
    std::uint64_t changed_at = 0;             // the window's change count when it last changed

    int width() const { return placement.width.value_or(native_width); }
    int height() const { return placement.height.value_or(native_height); }
    Rect box() const { return {placement.x, placement.y, width(), height()}; }
    const std::string& name() const { return placement.gauge; }
    // Something the gauge shows changed: its picture is drawn again when the window is looked at.
    void mark_changed();
};

// The colour of a window without a background bitmap.
inline constexpr std::uint32_t kPanelBackground = 0xFF1E2226u;

// A panel window. Its picture is composed only when something looks at it; every change of a
// gauge (or of the whole window) counts up `changes`, so a viewer that remembers the count it saw
// learns which gauges' rectangles changed since.
struct Window {
    WindowConfig config;
    bool open = true;
    Image background;  // the window's bitmap at the window's size; empty without one
    Image picture;
    std::vector<GaugeInstance*> gauges;
    std::uint64_t changes = 1;      // count of changes so far
    std::uint64_t composed_at = 0;  // the count the picture shows
    std::uint64_t whole_at = 1;     // the count when the whole window last changed (load, opened)
};

// What changed in a window since a viewer last took it, in window pixels.
// What changed in a window since a reader last looked: the whole picture, or the changed gauges'
// boxes clipped to the window; as the browser server takes them.
using WindowChanges = web::WindowChanges;

struct PanelOptions {
    std::string root;                         // the simulator root folder
    std::string own_module_folder;             // where the modules are known to stand (GaugeModule::load)
    std::vector<std::string> module_folders;  // searched in order for <module>.gau
    int format_bits = 8;                      // pixel format of rendered displays' host images
    int image_pitch_padding = 0;              // extra bytes per host image row
};

// An area under the pointer, found by routing a click.
struct MouseHit {
    GaugeInstance* gauge = nullptr;
    gauge::MouseArea* area = nullptr;
    gauge::Point local{};  // gauge pixels
};

// A mouse area's rectangle in its gauge's own pixels.
struct AreaRect {
    int x = 0, y = 0, w = 0, h = 0;
};

class Panel {
public:
    Panel(PanelOptions options, VariableStore& variables);
    ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // Loads every module and installs every gauge. A module that fails is reported by name with
    // the reason; the rest of the panel still runs.
    std::vector<std::string> load(const PanelConfig& config);
    // How many of the panel file's gauges the last load could not place: a module that would not
    // load, a gauge its module lacks, a second gauge of one module.
    int gauges_not_loaded() const { return gauges_not_loaded_; }
    // Kills every gauge (modules write their state files) and unloads the modules.
    void unload();

    // One panel cycle at simulated time t: update (and callback 7), generate, draw. The host's
    // pixel work waits until a window is looked at.
    void cycle(double t);

    // Input. Coordinates are the gauge's own pixels (click_gauge) or the window's (click_window).
    bool click_gauge(const std::string& name, int x, int y);
    bool click_window(int window_number, int x, int y);
    // Repeat-while-held: press, then one repeat per cycle until release.
    bool press_gauge(const std::string& name, int x, int y);
    bool press_window(int window_number, int x, int y);
    void release();
    // The areas a left click reaches now (attached lists only), first match first.
    std::vector<AreaRect> clickable_areas(GaugeInstance& g);

    bool toggle_window(std::uint32_t ident);
    void set_failure(int key, bool active);
    bool failure_active(int key) const { return failures_.count(key) != 0; }

    // The most recent key events (kRecentKeyEvents at most: an autopilot flown for hours sends
    // millions), oldest first; key_events_sent() counts them all.
    static constexpr std::size_t kRecentKeyEvents = 16384;
    const std::deque<KeyEvent>& key_events() const { return key_events_; }
    std::uint64_t key_events_sent() const { return key_events_sent_; }
    // Every key event also goes here (the simulator model).
    std::function<void(std::uint32_t id, std::uint32_t value)> on_key_event;
    // And, whole, here (the run's events.log).
    std::function<void(const KeyEvent& event)> log_key_event;

    std::vector<std::unique_ptr<Window>>& windows() { return windows_; }
    std::vector<std::unique_ptr<GaugeInstance>>& gauges() { return gauges_; }
    GaugeInstance* find_gauge(const std::string& name_or_module);
    VariableStore& variables() { return variables_; }
    const PanelOptions& options() const { return options_; }
    double now() const { return now_; }
    // Input between cycles is stamped with the time of the cycle about to run.
    void set_time(double t) { now_ = t; }
    // Brings every window's picture up to date, drawing only the gauges changed since.
    void compose();
    // Brings one window's picture up to date and tells what changed since the count `seen` (0 for a
    // viewer that has nothing yet); `seen` becomes the window's current count.
    WindowChanges take_window(Window& window, std::uint64_t& seen);
    // Composes the whole window afresh, whatever changed: the reference the tracked composition
    // must equal, pixel for pixel.
    void compose_whole(Window& window);

    // --- Used by the services table -------------------------------------------------------------
    void install_elements(GaugeInstance& g, gauge::Element* first, plat::ModuleHandle resources);
    void update_elements(GaugeInstance& g, gauge::Element* first);
    void kill_elements(GaugeInstance& g, gauge::Element* first);
    void mouse_install(GaugeInstance& g, gauge::MouseArea* list);
    void mouse_attach(GaugeInstance& g, gauge::MouseArea* list, bool attached);
    // Safe from any thread: events sent off the panel thread (a module's worker) wait in a queue
    // and are applied on the panel thread, in the order sent, at the start of the next cycle.
    void send_key_event(const std::string& gauge, std::uint32_t id, std::uint32_t value);
    bool element_image(gauge::Element* element, int picture, gauge::ElementImage& out);
    // The gauge of a loaded module, by its handle ("host" when unknown).
    std::string gauge_name_of(plat::ModuleHandle module) const;

private:
    MouseHit route(GaugeInstance& g, int x, int y);
    bool fire(const MouseHit& hit, std::uint32_t flags);
    void install_gauge(GaugeInstance& g);
    void kill_gauge(GaugeInstance& g);
    void update_element(ElementState& s);
    void apply_key_event(KeyEvent event);
    void render_changed_gauges(Window& window);
    void compose_window(Window& window);
    void repaint(Window& window, const Rect& area);
    void drain_key_events();

    PanelOptions options_;
    VariableStore& variables_;
    std::vector<std::unique_ptr<GaugeModule>> modules_;
    std::vector<std::unique_ptr<Window>> windows_;
    std::vector<std::unique_ptr<GaugeInstance>> gauges_;
    int gauges_not_loaded_ = 0;
    std::deque<KeyEvent> key_events_;
    std::uint64_t key_events_sent_ = 0;
    std::set<int> failures_;
    double now_ = 0;
    std::thread::id panel_thread_ = std::this_thread::get_id();
    std::mutex queue_mutex_;
    std::vector<KeyEvent> queued_events_;
    MouseHit held_{};
    bool holding_ = false;
};

// The panel whose gauges are being called, for the services table's plain functions.
Panel* current_panel();
// The panel whose modules' worker threads may call the services (null when none is loaded).
void set_host_panel(Panel* panel);
GaugeInstance* current_gauge();

// Sets the gauge being called for the duration of a call into a module.
class CallScope {
public:
    CallScope(Panel& panel, GaugeInstance* gauge);
    ~CallScope();
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

private:
    Panel* previous_panel_;
    GaugeInstance* previous_gauge_;
};

gauge::PanelServices* panel_services();

}  // namespace panelhost
