#pragma once
// How fast a value may follow what it is asked to be: an actuator's travel, a servo moving a lever,
// the aircraft's own response to a command. Optionally kept within the travel's ends.

#include <algorithm>
#include <limits>

namespace sim {

class RateLimiter {
public:
    constexpr explicit RateLimiter(double units_per_s, double lowest = -std::numeric_limits<double>::infinity(),
                                   double highest = std::numeric_limits<double>::infinity())
        : rate_(units_per_s), lowest_(lowest), highest_(highest) {}

    // A change asked for, cut to what the rate allows in dt seconds.
    constexpr double limit(double change, double dt) const { return std::clamp(change, -rate_ * dt, rate_ * dt); }
    // The value moved toward the target as far as the rate allows in dt seconds, within the ends.
    constexpr double step(double value, double target, double dt) const {
        return std::clamp(value + limit(target - value, dt), lowest_, highest_);
    }

private:
    double rate_;
    double lowest_, highest_;
};

}  // namespace sim
