#pragma once
// Watches the host's aircraft for the end of a flight: each touchdown on a runway of the world
// data, with its figures, and the stop that follows it. What it saw is kept as lines of text for the
// terminal and the run's landing.txt.

#include <optional>
#include <string>
#include <vector>

#include "reports/landing_figures.h"
#include "sim/aircraft.h"
#include "sim/runway.h"

namespace reports {

class LandingWatch {
public:
    // New lines since the last call (empty when nothing happened).
    std::vector<std::string> poll(const sim::Aircraft& a);
    const std::vector<std::string>& lines() const { return lines_; }
    const std::optional<LandingFigures>& last_landing() const { return landing_; }
    bool touched_down() const { return seen_touchdown_t_ >= 0; }
    // Whether the last touchdown was followed by a stop, and that stop on a runway: the flight
    // ended as planned.
    bool stopped() const { return stopped_; }
    bool stopped_on_runway() const { return stopped_ && stopped_on_runway_; }

private:
    double seen_touchdown_t_ = -1;
    bool rolling_ = false;
    bool stopped_ = false;
    bool stopped_on_runway_ = false;
    const sim::RunwayEnd* runway_ = nullptr;
    std::optional<LandingFigures> landing_;
    std::vector<std::string> lines_;
};

}  // namespace reports
