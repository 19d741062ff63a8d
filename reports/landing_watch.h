#pragma once
// Watches the host's aircraft for the end of a flight: each touchdown on a runway of the world
// data, with its figures, the roll that follows it and the stop; or the crash that ends the flight
// instead (landing_judgement.h). What it saw is kept as lines of text for the terminal and the
// run's landing.txt.

#include <optional>
#include <string>
#include <vector>

#include "reports/landing_figures.h"
#include "sim/aircraft.h"
#include "sim/runway.h"

namespace reports {

class LandingWatch {
public:
    // New lines since the last call (empty when nothing happened). After a crash nothing more is
    // watched.
    std::vector<std::string> poll(const sim::Aircraft& a);
    const std::vector<std::string>& lines() const { return lines_; }
    const std::optional<LandingFigures>& last_landing() const { return landing_; }
    bool touched_down() const { return seen_touchdown_t_ >= 0; }
    // Whether the last touchdown was followed by a stop, and that stop on a runway: the flight
    // ended as planned.
    bool stopped() const { return stopped_; }
    bool stopped_on_runway() const { return stopped_ && stopped_on_runway_; }
    // The line that told of the crash ("t=.. s crash: ..."); empty while there was none.
    const std::optional<std::string>& crash() const { return crash_; }

private:
    void touchdown(const sim::Aircraft& a, std::vector<std::string>& news);
    void stop(const sim::Aircraft& a, std::vector<std::string>& news);
    void crashed(double t, const std::string& why, std::vector<std::string>& news);

    double seen_touchdown_t_ = -1;
    bool rolling_ = false;
    bool stopped_ = false;
    bool stopped_on_runway_ = false;
    const sim::RunwayEnd* runway_ = nullptr;
    std::optional<LandingFigures> landing_;
    std::optional<std::string> crash_;
    std::vector<std::string> lines_;
};

}  // namespace reports
