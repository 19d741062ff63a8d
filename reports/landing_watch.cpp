#include "reports/landing_watch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "reports/landing_judgement.h"
#include "sim/approach.h"
#include "sim/units.h"

namespace reports {

namespace {

std::string at_time(double t) {
    char when[32];
    std::snprintf(when, sizeof when, "t=%.1f s ", t);
    return when;
}

bool gear_down(const sim::AircraftState& s) {
    return std::ranges::all_of(s.gear_position, [](double leg) { return leg >= 1.0; });
}

std::string sink_and_speed(const sim::Touchdown& t) {
    char text[80];
    std::snprintf(text, sizeof text, "sink %.0f ft/min, %.0f kt", t.sink_fpm, t.ias_kt);
    return text;
}

}  // namespace

std::vector<std::string> LandingWatch::poll(const sim::Aircraft& a) {
    std::vector<std::string> news;
    if (crash_) return news;
    const sim::AircraftState& s = a.state();
    if (s.touchdown && s.touchdown->t != seen_touchdown_t_) touchdown(a, news);
    if (rolling_ && !crash_ && s.on_ground && runway_)
        if (auto why = judge_roll(*runway_, s.position, s.ground_speed_kt)) crashed(a.elapsed(), *why, news);
    if (rolling_ && !crash_ && s.on_ground && s.ground_speed_kt < sim::stopped_kt) stop(a, news);
    if (!s.on_ground) rolling_ = false;
    lines_.insert(lines_.end(), news.begin(), news.end());
    return news;
}

void LandingWatch::touchdown(const sim::Aircraft& a, std::vector<std::string>& news) {
    const sim::Touchdown& t = *a.state().touchdown;
    seen_touchdown_t_ = t.t;
    rolling_ = true;
    stopped_ = false;
    runway_ = nullptr;
    if (!a.world()) {
        news.push_back(at_time(t.t) + "touchdown with no runways known to judge it by, " + sink_and_speed(t));
        return;
    }
    const TouchdownVerdict v = judge_touchdown(*a.world(), t, gear_down(a.state()));
    runway_ = v.runway;
    if (runway_) landing_ = landing_figures(*runway_, t);
    if (v.crash) {
        crashed(t.t, *v.crash + "; " + (runway_ ? format_landing(*landing_) : sink_and_speed(t)), news);
        return;
    }
    std::string line = at_time(t.t) + format_landing(*landing_);
    if (v.hard) line += "; a hard landing, the gear to be inspected";
    news.push_back(line);
}

void LandingWatch::stop(const sim::Aircraft& a, std::vector<std::string>& news) {
    const sim::AircraftState& s = a.state();
    rolling_ = false;
    stopped_ = true;
    // Where it stopped, which need not be the runway it touched down on.
    const sim::RunwayEnd* r = a.world() ? a.world()->runway_under(s.position, s.true_heading_deg) : nullptr;
    if (!r && runway_ && sim::on_pavement(*runway_, s.position)) r = runway_;
    stopped_on_runway_ = r != nullptr;
    if (!r) {
        news.push_back(at_time(a.elapsed()) + "stopped off the runway");
        return;
    }
    const sim::RunwayPosition at = runway_position(*r, s.position);
    char text[300];
    std::snprintf(text, sizeof text,
                  "stopped on %s %s: %.0f ft past %s, %.0f ft of its %.0f left, %.1f m %s of the centre line",
                  r->airport.c_str(), r->designator.c_str(), at.past_landing_threshold_ft,
                  threshold_words(r->displaced_threshold_ft).c_str(),
                  r->length_ft() - at.past_threshold_ft, r->length_ft(), std::fabs(at.right_of_centre_ft * sim::metres_per_foot),
                  at.right_of_centre_ft >= 0 ? "right" : "left");
    news.push_back(at_time(a.elapsed()) + text);
}

void LandingWatch::crashed(double t, const std::string& why, std::vector<std::string>& news) {
    crash_ = at_time(t) + "crash: " + why;
    rolling_ = false;
    news.push_back(*crash_);
}

}  // namespace reports
