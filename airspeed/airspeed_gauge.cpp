// The 737 airspeed indicator: airspeed and maximum-speed needles on a non-linear dial, the
// autopilot speed marker, five speed bugs, rolling-drum airspeed and Mach readouts, the Mach
// window's cover below Mach 0.4, and the bugs file kept across sessions.

#include <algorithm>

#include "airspeed/bugs_file.h"
#include "airspeed/drums.h"
#include "airspeed/speed_bugs.h"
#include "host/binding.h"
#include "host/declare.h"
#include "host/key_events.h"
#include "host/tokens.h"

namespace {

namespace token = gauge::token;

constexpr double kNeedleMax = 600;
constexpr double kReadoutMax = 999;
constexpr double kMachTokenPerTenth = 2048;
constexpr gauge::Point kDialSize = {181, 181};
constexpr gauge::Point kPivot = {92, 88};

// --- Module state ------------------------------------------------------------------------------

airspeed::SpeedBugs bugs = airspeed::kDefaultBugs;
double autopilot_speed = airspeed::kDefaultAutopilotSpeed;
double smoothed_airspeed = 0;
double smoothed_mach = 0;  // Mach x 10
airspeed::AirspeedDrums airspeed_drums = {10, 10, 10};
airspeed::MachDrums mach_drums = {10, 10};

gauge::VariableRecord airspeed_var = gauge::variable(token::indicated_airspeed);
gauge::VariableRecord mach_var = gauge::variable(token::mach);
gauge::VariableRecord autopilot_var = gauge::variable(token::ap_speed);

struct NamedTimer {
    const char* name;
    gauge::VariableRecord record;
};
NamedTimer timers[] = {
    {"737_ET", gauge::variable(token::none)}, {"737_ER", gauge::variable(token::none)},
    {"737_CT", gauge::variable(token::none)}, {"737_CR", gauge::variable(token::none)},
    {"737_DH", gauge::variable(token::none)},
};

// --- Element values ----------------------------------------------------------------------------

double limit_needle(double knots) { return std::clamp(knots, 0.0, kNeedleMax); }

double max_speed_value(gauge::VariableRecord* source) { return limit_needle(source->value.d / 128.0); }
double airspeed_value(gauge::VariableRecord* source) { return limit_needle(source->value.d); }

double autopilot_marker_value(gauge::VariableRecord* source) {
    autopilot_speed = source->value.d;
    return autopilot_speed;
}

template <int Index>
double bug_value(gauge::VariableRecord*) {
    return bugs.speed[Index];
}

double units_drum(gauge::VariableRecord*) { return airspeed_drums.units; }
double tens_drum(gauge::VariableRecord*) { return airspeed_drums.tens; }
double hundreds_drum(gauge::VariableRecord*) { return airspeed_drums.hundreds; }
double mach_tenths_drum(gauge::VariableRecord*) { return mach_drums.tenths; }
double mach_hundredths_drum(gauge::VariableRecord*) { return mach_drums.hundredths; }

// --- Tables ------------------------------------------------------------------------------------

// The dial's scale: where each speed sits on the face; the host turns the needles between them.
const gauge::ScaleEntry speed_scale[] = {
    {{81, 19}, 0},    {{91, 10}, 60},   {{130, 156}, 160}, {{85, 166}, 200},
    {{33, 140}, 250}, {{17, 109}, 300}, {{59, 21}, 450},   {{74, 14}, 600},
};
constexpr std::int32_t kScaleCount = sizeof speed_scale / sizeof speed_scale[0];

// Drum strips hold the digits 0, 9 .. 1, 0 in 14-pixel cells from the top, so a position of 0 .. 10
// moves the strip up 140 pixels; the units drum's taller window also shows half of each neighbour.
constexpr int kDrumWidth = 11;
constexpr int kDigitWindow = 14;
constexpr int kUnitsWindow = 28;
constexpr gauge::Point kDrumTravel = {0, 140};
constexpr std::uint32_t kDrawn = 7;  // transparent, erase, lit
constexpr std::uint32_t kDialFlags = 5;
constexpr std::uint32_t kBugFlags = 3;

gauge::MovingImage drum(std::int32_t strip, gauge::Point at, int window_height, gauge::VarCallback value) {
    return gauge::moving_image(strip, -1, at, kDrumWidth, window_height, 0.0, 10.0, kDrumTravel, kDrawn, value);
}

gauge::Needle dial_needle(std::int32_t bitmap, gauge::Point pivot, std::uint32_t flags, gauge::VarCallback value,
                          std::int32_t token = -1) {
    return gauge::needle(bitmap, kPivot, pivot, flags, value, speed_scale, kScaleCount, nullptr, nullptr, token);
}

gauge::MovingImage mach_hundredths = drum(3010, {96, 51}, kUnitsWindow, mach_hundredths_drum);
gauge::MovingImage mach_tenths = drum(3000, {78, 58}, kDigitWindow, mach_tenths_drum);
gauge::MovingImage units = drum(3010, {101, 104}, kUnitsWindow, units_drum);
gauge::MovingImage tens = drum(3000, {86, 111}, kDigitWindow, tens_drum);
gauge::MovingImage hundreds = drum(3000, {70, 111}, kDigitWindow, hundreds_drum);
gauge::StaticImage mach_cover = gauge::static_image(1010, {73, 50}, kDrawn);
gauge::Needle max_speed_needle = dial_needle(2010, {5, 5}, kDrawn, max_speed_value, token::max_operating_speed);
gauge::Needle airspeed_needle = dial_needle(2000, {5, 5}, kDrawn, airspeed_value, token::indicated_airspeed);
gauge::Needle autopilot_marker = dial_needle(2020, {-74, 5}, kDrawn, autopilot_marker_value, token::ap_speed);
gauge::Needle bug1 = dial_needle(2030, {-78, 5}, kBugFlags, bug_value<0>);
gauge::Needle bug2 = dial_needle(2030, {-78, 5}, kBugFlags, bug_value<1>);
gauge::Needle bug3 = dial_needle(2030, {-78, 5}, kBugFlags, bug_value<2>);
gauge::Needle bug4 = dial_needle(2030, {-78, 5}, kBugFlags, bug_value<3>);
gauge::Needle bug5 = dial_needle(2030, {-78, 5}, kBugFlags, bug_value<4>);

gauge::Element* const dial_children[] = {
    &mach_hundredths, &mach_tenths,      &units, &tens, &hundreds, &mach_cover, &max_speed_needle,
    &airspeed_needle, &autopilot_marker, &bug1,  &bug2, &bug3,     &bug4,       &bug5,
    nullptr,
};
gauge::StaticImage dial = gauge::static_image(1000, {0, 0}, kDialFlags, dial_children);

// --- Clicks ------------------------------------------------------------------------------------

template <int Index>
int click_bug_up(gauge::Point*, std::uint32_t) {
    airspeed::bug_up(bugs, Index);
    return 0;
}

template <int Index>
int click_bug_down(gauge::Point*, std::uint32_t) {
    airspeed::bug_down(bugs, Index);
    return 0;
}

void send_autopilot_speed() {
    gauge::send_key_event(gauge::event::speed_set, static_cast<std::uint32_t>(autopilot_speed));
}

int click_autopilot_up(gauge::Point*, std::uint32_t) {
    if (autopilot_speed < airspeed::kAutopilotSpeedMax) autopilot_speed += 1.0;
    send_autopilot_speed();
    return 0;
}

int click_autopilot_down(gauge::Point*, std::uint32_t) {
    if (autopilot_speed > airspeed::kAutopilotSpeedMin) autopilot_speed -= 1.0;
    send_autopilot_speed();
    return 0;
}

constexpr std::uint32_t kHeld = gauge::mouse_left_single | gauge::mouse_repeat;

gauge::MouseArea mouse_areas[] = {
    gauge::group(),
    gauge::area(160, 0, 15, 20, gauge::cursor_down, kHeld, click_bug_down<0>),
    gauge::area(175, 0, 15, 20, gauge::cursor_up, kHeld, click_bug_up<0>),
    gauge::area(160, 35, 15, 20, gauge::cursor_down, kHeld, click_bug_down<1>),
    gauge::area(175, 35, 15, 20, gauge::cursor_up, kHeld, click_bug_up<1>),
    gauge::area(160, 80, 15, 20, gauge::cursor_down, kHeld, click_bug_down<2>),
    gauge::area(175, 80, 15, 20, gauge::cursor_up, kHeld, click_bug_up<2>),
    gauge::area(160, 125, 15, 20, gauge::cursor_down, kHeld, click_bug_down<3>),
    gauge::area(175, 125, 15, 20, gauge::cursor_up, kHeld, click_bug_up<3>),
    gauge::area(160, 160, 15, 20, gauge::cursor_down, kHeld, click_bug_down<4>),
    gauge::area(175, 160, 15, 20, gauge::cursor_up, kHeld, click_bug_up<4>),
    gauge::area(0, 145, 15, 20, gauge::cursor_down, kHeld, click_autopilot_down),
    gauge::area(15, 145, 15, 20, gauge::cursor_up, kHeld, click_autopilot_up),
    gauge::group_end(),
    gauge::list_end(),
};

// --- Update steps ------------------------------------------------------------------------------

void roll_airspeed_drums() {
    const double reading = std::min(airspeed_var.value.d, kReadoutMax);
    smoothed_airspeed = airspeed::smooth(smoothed_airspeed, reading);
    airspeed_drums = airspeed::airspeed_drums(smoothed_airspeed);
}

// Below Mach 0.4 the cover hides the Mach drums, which keep what they last showed.
void roll_mach_drums() {
    smoothed_mach = airspeed::smooth(smoothed_mach, mach_var.value.d / kMachTokenPerTenth);
    const bool open = smoothed_mach >= airspeed::kMachWindowOpens;
    gauge::set_hidden(mach_cover, open);
    if (open) mach_drums = airspeed::mach_drums(smoothed_mach);
}

// A publisher that came onto the panel after this gauge's initialize is bound now.
airspeed::SavedTimers read_timers() {
    constexpr std::size_t kCount = sizeof timers / sizeof timers[0];
    double values[kCount] = {};
    for (std::size_t i = 0; i < kCount; ++i) {
        gauge::VariableRecord& r = timers[i].record;
        if (!r.pointer) gauge::bind_named(r, timers[i].name);
        gauge::lookup(r);
        if (r.pointer) r.value.d = *static_cast<const double*>(r.pointer);
        values[i] = r.value.d;
    }
    return {values[0], values[2], values[1], values[3], values[4]};  // ET CT ER CR DH, as the file has them
}

// --- Routines ----------------------------------------------------------------------------------

void install(plat::ModuleHandle resources) {
    bugs = airspeed::kDefaultBugs;
    autopilot_speed = airspeed::kDefaultAutopilotSpeed;
    airspeed::read_bugs_file(airspeed::kBugsFile, bugs);
    gauge::PanelServices* s = gauge::services();
    if (!s) return;
    s->install(&dial, resources);
    s->mouse_install(mouse_areas, gauge::this_gauge(), kDialSize);
    s->mouse_attach(mouse_areas, gauge::this_gauge());
    gauge::initialize_variable(airspeed_var);
    gauge::initialize_variable(autopilot_var);
    gauge::initialize_variable(mach_var);
}

void initialize() {
    for (NamedTimer& t : timers) gauge::bind_named(t.record, t.name);
    gauge::standard_initialize();
}

void update() {
    gauge::lookup(airspeed_var);
    gauge::lookup(mach_var);
    roll_airspeed_drums();
    roll_mach_drums();
    gauge::standard_update();
}

void kill() {
    airspeed::write_bugs_file(airspeed::kBugsFile, bugs, read_timers());
    if (gauge::PanelServices* s = gauge::services()) {
        s->mouse_detach(mouse_areas, gauge::this_gauge());
        s->kill(&dial);
    }
}

gauge::GaugeHeader header = {
    610, "airspeed", &dial, gauge::standard_query, install, initialize, update,
    gauge::standard_generate, gauge::standard_draw, kill, 83, nullptr, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
