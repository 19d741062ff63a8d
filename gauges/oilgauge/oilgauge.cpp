// The oil and secondary engine readouts: a column of three-character digital windows, one on
// top and two per row after it (engine 1 left, engine 2 right). Each window formats the value of
// its own source variable, which the host refreshes before calling it; the gauge keeps no state.

#include <algorithm>

#include "gauges/oilgauge/readout_text.h"
#include "host/binding.h"
#include "host/declare.h"
#include "host/tokens.h"

namespace {

// --- Conversions -------------------------------------------------------------------------------

constexpr double kSquareInchesPerSquareFoot = 144.0;
constexpr double kRankineAtFahrenheitZero = 459.67;
constexpr double kInchesPerMetre = 39.37;
constexpr double kVibrationLimit = 2.9;

double times_256(double v) { return v * 256.0; }
double times_230(double v) { return v * 230.0; }
double per_metre(double v) { return v / kInchesPerMetre; }
double psf_to_psi(double v) { return v / kSquareInchesPerSquareFoot; }
double rankine_to_celsius(double v) { return (v - kRankineAtFahrenheitZero - 32.0) * 5.0 / 9.0; }
double tenth_capped(double v) { return std::min(v / 10.0, kVibrationLimit); }

// --- The windows -------------------------------------------------------------------------------

namespace token = gauge::token;

enum class Form { whole, tenths, fixed };

struct Window {
    gauge::Point at;
    int token;
    Form form;
    double (*convert)(double);  // null for fixed texts
    const char* fixed;
};

constexpr int kWindowCount = 15;
const Window kWindows[kWindowCount] = {
    {{47, 10}, token::oil_top_window, Form::whole, times_256, nullptr},
    {{21, 27}, token::oil_top_window, Form::whole, times_230, nullptr},
    {{73, 27}, token::oil_top_window, Form::whole, times_230, nullptr},
    {{21, 49}, token::engine1_n1, Form::tenths, per_metre, nullptr},
    {{73, 49}, token::engine2_n1, Form::tenths, per_metre, nullptr},
    {{21, 71}, token::engine1_oil_pressure, Form::whole, psf_to_psi, nullptr},
    {{73, 71}, token::engine2_oil_pressure, Form::whole, psf_to_psi, nullptr},
    {{21, 93}, token::engine1_oil_temperature, Form::whole, rankine_to_celsius, nullptr},
    {{73, 93}, token::engine2_oil_temperature, Form::whole, rankine_to_celsius, nullptr},
    {{21, 115}, token::oil_fixed_100_engine1, Form::fixed, nullptr, "100"},
    {{73, 115}, token::oil_fixed_100_engine2, Form::fixed, nullptr, "100"},
    {{21, 137}, token::engine1_n1, Form::tenths, tenth_capped, nullptr},
    {{73, 137}, token::engine2_n1, Form::tenths, tenth_capped, nullptr},
    {{21, 159}, token::oil_fixed_99_engine1, Form::fixed, nullptr, " 99"},
    {{73, 159}, token::oil_fixed_99_engine2, Form::fixed, nullptr, " 99"},
};

gauge::StringElement& window_element(int n);

// Fills window N from its source variable; returns what the window shows, unrounded.
template <int N>
double fill_window(gauge::VariableRecord* source) {
    const Window& w = kWindows[N];
    gauge::StringElement& e = window_element(N);
    const std::size_t size = e.buffer_size > 0 ? static_cast<std::size_t>(e.buffer_size) : 0;
    if (w.form == Form::fixed) {
        oil::write_fixed(e.text, size, w.fixed);
        return 0.0;
    }
    const double value = w.convert(source ? source->value.d : 0.0);
    if (w.form == Form::whole)
        oil::write_whole(e.text, size, value);
    else
        oil::write_tenths(e.text, size, value);
    return value;
}

// --- Tables ------------------------------------------------------------------------------------

constexpr std::uint32_t kWindowFlags = gauge::draw_transparent | gauge::draw_erase | gauge::draw_lit;

// Bold and 8 pixels high: the seven-segment face standing in for Quartz is rasterised without
// anti-aliasing; at its regular weight its thin segments drop out at this size, and below 8
// pixels its decimal point does. Three full cells overhang the box by their blank side bearings.
const gauge::StringStyle kWindowStyle = {
    19, 10, "Quartz", -8, 700, 0xDAA5, 0x2000, 0x5C5C5C, 1, 3,
};

gauge::StringElement make_window(int n, gauge::VarCallback fill) {
    return gauge::string_element(kWindows[n].at, kWindowStyle, kWindowFlags, fill, nullptr, nullptr,
                                 kWindows[n].token);
}

template <int... N>
struct WindowSet {
    gauge::StringElement elements[kWindowCount] = {make_window(N, fill_window<N>)...};
};

WindowSet<0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14> windows;

gauge::StringElement& window_element(int n) { return windows.elements[n]; }

gauge::Element* const face_children[] = {
    &windows.elements[0],  &windows.elements[1],  &windows.elements[2],  &windows.elements[3],
    &windows.elements[4],  &windows.elements[5],  &windows.elements[6],  &windows.elements[7],
    &windows.elements[8],  &windows.elements[9],  &windows.elements[10], &windows.elements[11],
    &windows.elements[12], &windows.elements[13], &windows.elements[14], nullptr,
};
gauge::StaticImage face = gauge::static_image(4096, {0, 0}, 0x4001, face_children);

gauge::GaugeHeader header = {
    610, "oilgauge", &face, gauge::standard_query, gauge::standard_install, gauge::standard_initialize,
    gauge::standard_update, gauge::standard_generate, gauge::standard_draw, gauge::standard_kill, 100,
    nullptr, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
