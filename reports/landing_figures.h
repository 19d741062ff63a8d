#pragma once
// The figures of a landing on a runway of the world data, as the landing report gives them.

#include <string>

#include "sim/runway.h"
#include "sim/state.h"

namespace reports {

struct LandingFigures {
    std::string runway;  // "KLAX 24R"
    // At touchdown: along the runway from its landing threshold, wherever that is displaced to, and
    // across it, right positive.
    double past_threshold_ft = 0, from_centre_line_m = 0;
    double displaced_threshold_ft = 0;
    double sink_fpm = 0, ias_kt = 0, ground_speed_kt = 0;
};

// "the threshold", or "the displaced threshold (850 ft down the runway)".
std::string threshold_words(double displaced_threshold_ft);
LandingFigures landing_figures(const sim::RunwayEnd& r, const sim::Touchdown& t);
// "touchdown on KLAX 24R: 1620 ft past the threshold, 0.8 m right of the centre line, sink 190 ft/min, ..."
// A displaced landing threshold is named as such, with how far down the runway it lies.
std::string format_landing(const LandingFigures& f);

}  // namespace reports
