#include "reports/landing_figures.h"

#include <cmath>
#include <cstdio>

#include "sim/units.h"

namespace reports {

LandingFigures landing_figures(const sim::RunwayEnd& r, const sim::Touchdown& t) {
    const sim::RunwayPosition at = sim::runway_position(r, t.position);
    LandingFigures f;
    f.runway = r.airport + " " + r.designator;
    f.past_threshold_ft = at.past_landing_threshold_ft;
    f.displaced_threshold_ft = r.displaced_threshold_ft;
    f.from_centre_line_m = at.right_of_centre_ft * sim::metres_per_foot;
    f.sink_fpm = t.sink_fpm;
    f.ias_kt = t.ias_kt;
    f.ground_speed_kt = t.ground_speed_kt;
    return f;
}

std::string threshold_words(double displaced_threshold_ft) {
    if (displaced_threshold_ft <= 0) return "the threshold";
    char text[64];
    std::snprintf(text, sizeof text, "the displaced threshold (%.0f ft down the runway)", displaced_threshold_ft);
    return text;
}

std::string format_landing(const LandingFigures& f) {
    char text[240];
    std::snprintf(text, sizeof text,
                  "touchdown on %s: %.0f ft past %s, %.1f m %s of the centre line, sink %.0f ft/min, "
                  "%.0f kt indicated, %.0f kt over the ground",
                  f.runway.c_str(), f.past_threshold_ft, threshold_words(f.displaced_threshold_ft).c_str(), std::fabs(f.from_centre_line_m),
                  f.from_centre_line_m >= 0 ? "right" : "left", f.sink_fpm, f.ias_kt, f.ground_speed_kt);
    return text;
}

}  // namespace reports
