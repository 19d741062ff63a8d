#include "reports/landing_watch.h"

#include <cmath>
#include <cstdio>

#include "sim/units.h"

namespace reports {

std::vector<std::string> LandingWatch::poll(const sim::Aircraft& a) {
    std::vector<std::string> news;
    const sim::AircraftState& s = a.state();
    if (s.touchdown && s.touchdown->t != seen_touchdown_t_) {
        seen_touchdown_t_ = s.touchdown->t;
        runway_ = a.world() ? a.world()->runway_under(s.touchdown->position, s.touchdown->true_heading_deg) : nullptr;
        char when[32];
        std::snprintf(when, sizeof when, "t=%.1f s ", s.touchdown->t);
        if (runway_) {
            landing_ = landing_figures(*runway_, *s.touchdown);
            news.push_back(when + format_landing(*landing_));
        } else {
            char text[120];
            std::snprintf(text, sizeof text, "touchdown off any runway, sink %.0f ft/min, %.0f kt", s.touchdown->sink_fpm,
                          s.touchdown->ias_kt);
            news.push_back(when + std::string(text));
        }
        rolling_ = true;
        stopped_ = false;
    }
    if (rolling_ && s.on_ground && s.ground_speed_kt < 0.5) {
        rolling_ = false;
        stopped_ = true;
        char text[200];
        stopped_on_runway_ = runway_ && on_runway(*runway_, s.position);
        if (stopped_on_runway_) {
            const sim::RunwayPosition at = runway_position(*runway_, s.position);
            std::snprintf(text, sizeof text, "t=%.1f s stopped on %s %s: %.0f ft past the threshold, %.0f ft left of %.0f, %.1f m %s of the centre line",
                          a.elapsed(), runway_->airport.c_str(), runway_->designator.c_str(), at.past_threshold_ft,
                          runway_->length_ft() - at.past_threshold_ft, runway_->length_ft(),
                          std::fabs(at.right_of_centre_ft * sim::metres_per_foot), at.right_of_centre_ft >= 0 ? "right" : "left");
        } else {
            std::snprintf(text, sizeof text, "t=%.1f s stopped off the runway", a.elapsed());
        }
        news.push_back(text);
    }
    if (!s.on_ground) rolling_ = false;
    lines_.insert(lines_.end(), news.begin(), news.end());
    return news;
}

}  // namespace reports
