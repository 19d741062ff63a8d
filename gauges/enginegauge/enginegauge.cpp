// The centre engine stack of a two-engine airliner: per engine EPR, N1, EGT and N2 dials with
// digital windows, a fuel-flow window that shows fuel used for a while after a press, and a
// settable EPR limit marker with its readout. Engine 1 is the left column, engine 2 the right.

#include "gauges/enginegauge/engine_readouts.h"
#include "gauges/enginegauge/fuel_used.h"
#include "host/binding.h"
#include "host/declare.h"
#include "host/tokens.h"

namespace {

using namespace enginegauge;

namespace token = gauge::token;

constexpr std::int32_t kUsedFlow[2] = {token::engine1_fuel_flow_used, token::engine2_fuel_flow_used};

struct EngineTokens {
    std::int32_t epr, n1, egt, n2, shown_flow;
};
constexpr EngineTokens kTokens[2] = {
    {token::engine1_epr, token::engine1_n1, token::engine1_egt, token::engine1_n2, token::engine1_fuel_flow},
    {token::engine2_epr, token::engine2_n1, token::engine2_egt, token::engine2_n2, token::engine2_fuel_flow},
};

constexpr double kMarkerStart = 2.05;
constexpr double kMarkerStep = 0.01;
constexpr int kFuelUsedCycles = 90;

constexpr std::uint32_t kNormalInk = 0x00DAA5;   // RGB(165, 218, 0)
constexpr std::uint32_t kWarningInk = 0x005CE4;  // RGB(228, 92, 0)
constexpr std::uint32_t kWindowBack = 0x101010;

// --- Module state ------------------------------------------------------------------------------

double marker[2] = {kMarkerStart, kMarkerStart};
int fuel_used_display = 0;
FuelUsed fuel;
gauge::VariableRecord power[3] = {gauge::variable(token::power_bus1), gauge::variable(token::power_bus2),
                                  gauge::variable(token::power_bus3)};

void look_up_power() {
    for (gauge::VariableRecord& r : power) gauge::lookup(r);
}

bool powered() { return power[0].value.d != 0 || power[1].value.d != 0 || power[2].value.d != 0; }

// --- Needles -----------------------------------------------------------------------------------

template <int E>
double epr_pointer(gauge::Element*) {
    const double epr = gauge::lookup_double(kTokens[E].epr);
    return E == 0 ? epr_angle(epr) : epr_angle_clamped(epr);
}

template <int E>
double epr_marker(gauge::Element*) {
    return E == 0 ? epr_angle(marker[E]) : epr_angle_clamped(marker[E]);
}

template <int E>
double n1_pointer(gauge::Element*) { return n1_angle(gauge::lookup_double(kTokens[E].n1)); }
template <int E>
double egt_pointer(gauge::Element*) { return egt_angle(gauge::lookup_double(kTokens[E].egt)); }
template <int E>
double n2_pointer(gauge::Element*) { return n2_angle(gauge::lookup_double(kTokens[E].n2)); }

double overlay_picture(gauge::Element*) { return powered() ? 0.0 : -1.0; }

// --- Windows -----------------------------------------------------------------------------------

// A window's text, or empty when the stack has no power; false when there is nothing to write.
gauge::StringElement* live_window(gauge::Element* e) {
    auto* s = static_cast<gauge::StringElement*>(e);
    if (!s->text || s->buffer_size <= 0) return nullptr;
    if (powered()) return s;
    s->text[0] = '\0';
    return nullptr;
}

std::size_t size_of(const gauge::StringElement& s) { return static_cast<std::size_t>(s.buffer_size); }

template <int E>
double marker_window(gauge::Element* e) {
    if (auto* s = live_window(e)) format_ratio(s->text, size_of(*s), marker[E]);
    return 0;
}

template <int E>
double epr_window(gauge::Element* e) {
    if (auto* s = live_window(e)) {
        const double epr = e->source.value.d;
        s->text_colour = epr >= marker[E] ? kWarningInk : kNormalInk;
        format_ratio(s->text, size_of(*s), epr);
    }
    return 0;
}

double percent_window(gauge::Element* e) {
    if (auto* s = live_window(e)) format_percent(s->text, size_of(*s), e->source.value.d);
    return 0;
}

double egt_window(gauge::Element* e) {
    if (auto* s = live_window(e)) format_celsius(s->text, size_of(*s), rankine_to_celsius(e->source.value.d));
    return 0;
}

template <int E>
double fuel_window(gauge::Element* e) {
    if (auto* s = live_window(e)) {
        if (fuel_used_display != 0)
            format_fuel_used(s->text, size_of(*s), fuel.used[E]);
        else
            format_fuel_flow(s->text, size_of(*s), e->source.value.d);
    }
    return 0;
}

// --- Tables ------------------------------------------------------------------------------------

const gauge::FailureRecord failures[] = {{21, 3, 0}, {20, 3, 0}, {0, 0, 0}};

constexpr int kColumnX[2] = {43, 137};
constexpr int kEprY = 74, kN1Y = 144, kEgtY = 214, kN2Y = 284;
constexpr gauge::Point kPointerPivot = {34, 2};
constexpr gauge::Point kMarkerPivot = {27, 2};
constexpr std::uint32_t kNeedleFlags = gauge::draw_transparent;

// Version-700 elements call back with the element itself.
template <typename E>
E calling(E element, gauge::ElementCallback callback) {
    element.on_var = nullptr;
    element.on_element = callback;
    return element;
}

gauge::Needle pointer(int column, int y, gauge::ElementCallback value) {
    return calling(gauge::needle(3000, {kColumnX[column], y}, kPointerPivot, kNeedleFlags, nullptr, nullptr, 0,
                                 nullptr, failures),
                   value);
}

gauge::Needle limit_marker(int column, gauge::ElementCallback value) {
    return calling(gauge::needle(4000, {kColumnX[column], kEprY}, kMarkerPivot, kNeedleFlags, nullptr, nullptr, 0,
                                 nullptr, failures),
                   value);
}

gauge::StringElement window(gauge::Point at, int chars, std::int32_t token, gauge::ElementCallback fill) {
    const gauge::StringStyle style = {36, 22, "Quartz", -11, 400, kNormalInk, kWindowBack, kNormalInk, 1, chars};
    return calling(gauge::string_element(at, style, gauge::draw_erase | gauge::draw_lit, nullptr, nullptr,
                                         failures, token),
                   fill);
}

const std::int32_t overlay_pictures[] = {2000};
gauge::Icon lit_overlay = calling(gauge::icon({0, 0}, overlay_pictures, 1, 7, nullptr, nullptr, failures),
                                  overlay_picture);

gauge::Needle epr1 = pointer(0, kEprY, epr_pointer<0>);
gauge::Needle epr1_marker = limit_marker(0, epr_marker<0>);
gauge::Needle epr2 = pointer(1, kEprY, epr_pointer<1>);
gauge::Needle epr2_marker = limit_marker(1, epr_marker<1>);
gauge::Needle n1_1 = pointer(0, kN1Y, n1_pointer<0>);
gauge::Needle n1_2 = pointer(1, kN1Y, n1_pointer<1>);
gauge::Needle egt1 = pointer(0, kEgtY, egt_pointer<0>);
gauge::Needle egt2 = pointer(1, kEgtY, egt_pointer<1>);
gauge::Needle n2_1 = pointer(0, kN2Y, n2_pointer<0>);
gauge::Needle n2_2 = pointer(1, kN2Y, n2_pointer<1>);

gauge::StringElement marker1_text = window({25, 13}, 4, -1, marker_window<0>);
gauge::StringElement marker2_text = window({119, 13}, 4, -1, marker_window<1>);
gauge::StringElement epr1_text = window({25, 62}, 4, kTokens[0].epr, epr_window<0>);
gauge::StringElement epr2_text = window({119, 62}, 4, kTokens[1].epr, epr_window<1>);
gauge::StringElement n1_1_text = window({26, 133}, 5, kTokens[0].n1, percent_window);
gauge::StringElement n1_2_text = window({120, 133}, 5, kTokens[1].n1, percent_window);
gauge::StringElement egt1_text = window({25, 202}, 4, kTokens[0].egt, egt_window);
gauge::StringElement egt2_text = window({119, 202}, 4, kTokens[1].egt, egt_window);
gauge::StringElement n2_1_text = window({26, 272}, 5, kTokens[0].n2, percent_window);
gauge::StringElement n2_2_text = window({120, 272}, 5, kTokens[1].n2, percent_window);
gauge::StringElement fuel1_text = window({26, 321}, 4, kTokens[0].shown_flow, fuel_window<0>);
gauge::StringElement fuel2_text = window({120, 321}, 4, kTokens[1].shown_flow, fuel_window<1>);

gauge::Element* const stack_children[] = {
    &lit_overlay, &epr1,        &epr1_marker, &epr2,      &epr2_marker, &n1_1,      &n1_2,
    &egt1,        &egt2,        &n2_1,        &n2_2,      &marker1_text, &marker2_text, &epr1_text,
    &epr2_text,   &n1_1_text,   &n1_2_text,   &egt1_text, &egt2_text,  &n2_1_text, &n2_2_text,
    &fuel1_text,  &fuel2_text,  nullptr,
};
gauge::StaticImage background = gauge::static_image(1000, {0, 0}, gauge::draw_transparent, stack_children);

// --- Clicks ------------------------------------------------------------------------------------

template <int E>
int marker_up(gauge::Point*, std::uint32_t) {
    if (marker[E] < kEprHigh) marker[E] += kMarkerStep;
    return 0;
}

template <int E>
int marker_down(gauge::Point*, std::uint32_t) {
    if (marker[E] > kEprLow) marker[E] -= kMarkerStep;
    return 0;
}

int show_fuel_used(gauge::Point*, std::uint32_t) {
    if (fuel_used_display < kFuelUsedCycles) fuel_used_display = kFuelUsedCycles;
    return 0;
}

int reset_fuel_used(gauge::Point*, std::uint32_t) {
    reset_totals(fuel);
    return 0;
}

constexpr std::uint32_t kClick = gauge::mouse_left_single;
constexpr std::uint32_t kHeld = gauge::mouse_left_single | gauge::mouse_repeat;

gauge::MouseArea mouse_areas[] = {
    gauge::group(),
    gauge::area(13, 354, 15, 15, gauge::cursor_up, kHeld, marker_up<0>),
    gauge::area(-3, 354, 15, 15, gauge::cursor_down, kHeld, marker_down<0>),
    gauge::area(168, 353, 15, 15, gauge::cursor_up, kHeld, marker_up<1>),
    gauge::area(152, 354, 15, 15, gauge::cursor_down, kHeld, marker_down<1>),
    gauge::area(83, 366, 15, 15, gauge::cursor_hand, kClick, show_fuel_used),
    gauge::area(115, 368, 11, 12, gauge::cursor_hand, kClick, reset_fuel_used),
    gauge::group_end(),
    gauge::list_end(),
};

// --- Routines ----------------------------------------------------------------------------------

void after_install() {
    start_period(fuel, gauge::lookup_double(token::clock_seconds), gauge::lookup_double(kUsedFlow[0]),
                 gauge::lookup_double(kUsedFlow[1]));
}

void after_update() {
    look_up_power();
    add_sample(fuel, gauge::lookup_double(token::clock_seconds), gauge::lookup_double(kUsedFlow[0]),
               gauge::lookup_double(kUsedFlow[1]));
    if (fuel_used_display > 0) --fuel_used_display;
}

void gauge_callback(gauge::GaugeHeader*, std::int32_t service, std::uintptr_t) {
    if (service == gauge::kServiceAfterInstall) after_install();
    if (service == gauge::kServiceAfterUpdate) after_update();
}

void install(plat::ModuleHandle resources) {
    marker[0] = marker[1] = kMarkerStart;
    fuel_used_display = 0;
    fuel = FuelUsed{};
    gauge::standard_install(resources);
}

// The windows read the power of this cycle, not the one before.
void update() {
    look_up_power();
    gauge::standard_update();
}

gauge::GaugeHeader header = {
    700, "enginegauge", &background, gauge::standard_query, install, gauge::standard_initialize, update,
    gauge::standard_generate, gauge::standard_draw, gauge::standard_kill, 60, mouse_areas, gauge_callback, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
