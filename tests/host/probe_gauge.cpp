// A version-700 gauge that exercises every host element kind and mouse-area form, and reports
// what the host did to it.

#include <cstdio>

#include "platform/clock.h"
#include "platform/thread.h"

#include "host/binding.h"
#include "host/declare.h"
#include "host/key_events.h"

namespace event = gauge::event;

namespace {

struct ProbeCounts {
    int after_install = 0;   // gauge callback service 3
    int after_update = 0;    // gauge callback service 7
    int outer_clicks = 0;
    int inner_clicks = 0;
    int last_x = -1, last_y = -1;
    unsigned last_flags = 0;
    int repeats = 0;
};
ProbeCounts counts;

double token_value(gauge::Element* e) {
    // Version 700: the element comes in, its source record already refreshed by the host.
    return e->source.value.d;
}

double format_value(gauge::Element* e) {
    auto* s = static_cast<gauge::StringElement*>(e);
    if (s->text) std::snprintf(s->text, static_cast<std::size_t>(s->buffer_size), "%05.1f", s->source.value.d);
    return 0;
}

// Up, right, left of the pivot at (32, 32).
const gauge::ScaleEntry needle_scale[] = {{{32, 10}, 0}, {{54, 32}, 100}, {{10, 32}, 200}};
const std::int32_t icon_pictures[] = {6001, 6002};

gauge::Needle needle = [] {
    gauge::Needle n = gauge::needle(5001, {32, 32}, {1, 1}, gauge::draw_transparent, nullptr, needle_scale, 3,
                                    nullptr, nullptr, 500);
    n.on_element = token_value;
    return n;
}();
gauge::Icon lamp = [] {
    gauge::Icon i = gauge::icon({2, 2}, icon_pictures, 2, 0, nullptr, nullptr, nullptr, 501);
    i.on_element = token_value;
    return i;
}();
gauge::MovingImage drum = [] {
    gauge::MovingImage m = gauge::moving_image(7001, 7002, {50, 2}, 8, 10, 0, 3, {0, 30}, 0, nullptr, nullptr,
                                               nullptr, 502);
    m.on_element = token_value;
    return m;
}();
const gauge::StringStyle readout_style = {60, 12, "Courier New", -10, 400, 0x0000FF00u, 0x00000000u, 0x000000FFu, 0, 8};
gauge::StringElement readout = [] {
    gauge::StringElement s = gauge::string_element({2, 50}, readout_style, 0, nullptr, nullptr, nullptr, 503);
    s.on_element = format_value;
    return s;
}();

gauge::Element* const children[] = {&needle, &lamp, &drum, &readout, nullptr};
gauge::StaticImage background = gauge::static_image(4096, {0, 0}, 0, children);

int outer_click(gauge::Point* p, std::uint32_t flags) {
    ++counts.outer_clicks;
    counts.last_x = p->x;
    counts.last_y = p->y;
    counts.last_flags = flags;
    if (flags & gauge::mouse_repeat) ++counts.repeats;
    return 0;
}

// Paces three key events from a worker thread, 200 ms apart on the host's clock.
plat::Thread pacer;

void pace_events() {
    for (std::uint32_t i = 1; i <= 3 && plat::sleep_ms(200); ++i) gauge::send_key_event(event::heading_bug_up, i);
}

int inner_click(gauge::Point* p, std::uint32_t flags) {
    ++counts.inner_clicks;
    if (!pacer.running()) pacer = plat::Thread::start(pace_events);
    counts.last_x = p->x;
    counts.last_y = p->y;
    counts.last_flags = flags;
    return 0;
}

gauge::MouseArea areas[] = {
    gauge::group(10, 10, 40, 40),
    gauge::area(0, 0, 10, 10, gauge::cursor_hand, gauge::mouse_left_single | gauge::mouse_repeat, outer_click),
    gauge::group(20, 20, 20, 20),
    gauge::area(0, 0, 10, 10, gauge::cursor_hand, gauge::mouse_left_single, inner_click),
    gauge::group_end(),
    gauge::group_end(),
    gauge::area(54, 54, 10, 10, gauge::cursor_hand, gauge::mouse_left_single, nullptr, event::gear_toggle),
    gauge::list_end(),
};

void callback(gauge::GaugeHeader*, std::int32_t service, std::uintptr_t) {
    if (service == gauge::kServiceAfterInstall) ++counts.after_install;
    if (service == gauge::kServiceAfterUpdate) ++counts.after_update;
}

void kill() {
    pacer.stop_and_join();
    gauge::standard_kill();
}

gauge::GaugeHeader header = {
    700, "probe", &background, gauge::standard_query, gauge::standard_install, gauge::standard_initialize,
    gauge::standard_update, gauge::standard_generate, gauge::standard_draw, kill, 64, areas,
    callback, nullptr,
};

}  // namespace

GAUGE_MODULE(header)

extern "C" __attribute__((visibility("default"))) const ProbeCounts* probe_counts() { return &counts; }
