#pragma once
// The figures of a landing on a runway of the world data, as the landing report gives them.

#include <string>

#include "sim/runway.h"
#include "sim/state.h"

namespace reports {

struct LandingFigures {
    std::string runway;  // "KLAX 24R"
    double past_threshold_ft = 0, from_centre_line_m = 0;  // at touchdown; right positive
    double sink_fpm = 0, ias_kt = 0, ground_speed_kt = 0;
};

LandingFigures landing_figures(const sim::RunwayEnd& r, const sim::Touchdown& t);
// "touchdown on KLAX 24R: 1620 ft past the threshold, 0.8 m right of the centre line, 190 ft/min, 146 kt"
std::string format_landing(const LandingFigures& f);

}  // namespace reports
