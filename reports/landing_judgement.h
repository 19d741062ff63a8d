#pragma once
// Whether a landing ends the flight as a crash: the limits an airliner's touchdown and roll are held
// to, from the certification rules and airline practice, and the verdict on each.
//
// - Ground contact anywhere but a runway's pavement is a crash, and so is a touchdown short of the
//   landing threshold (an undershoot: below the approach's obstacle protection, into the approach
//   lights or onto a displaced threshold's pavement, which is not built for it).
// - The touchdown zone is the first 3,000 ft past the landing threshold, or the first third of the
//   landing distance on a runway shorter than 9,000 ft: where its lights and markings end and where
//   a landing that has not touched down goes around. A touchdown past twice its length leaves
//   less runway than a landing is planned with, and is a crash.
// - The landing gear is designed for 600 ft/min (10 ft/s) at the maximum landing weight: a
//   touchdown above that is a hard landing, to be inspected. At 720 ft/min (12 ft/s) only the
//   gear's reserve energy is left, the rate it is shown not to collapse at; beyond it, it fails.
// - A touchdown with the gear not down and locked is a crash.
// - Rolling off the runway's pavement (its end or its side) before the aircraft has stopped is a
//   runway excursion, a crash.

#include <optional>
#include <string>

#include "sim/runway.h"
#include "sim/state.h"
#include "sim/world.h"

namespace reports {

inline constexpr double touchdown_zone_ft = 3000.0;
inline constexpr double touchdown_zone_share = 1.0 / 3.0;  // of the landing distance, when shorter
inline constexpr double far_past_zone_factor = 2.0;
inline constexpr double hard_landing_fpm = 600.0;
inline constexpr double gear_failure_fpm = 720.0;
// How far out a runway is looked for, to say how far short of it a touchdown was.
inline constexpr double short_of_runway_search_nm = 5.0;

double touchdown_zone_length_ft(const sim::RunwayEnd& r);

struct TouchdownVerdict {
    const sim::RunwayEnd* runway = nullptr;  // the runway it touched down on; null off every runway
    std::optional<std::string> crash;        // why the touchdown was a crash
    bool hard = false;                       // a hard landing that the gear took
};

// gear_down: every leg down and locked.
TouchdownVerdict judge_touchdown(const sim::World& world, const sim::Touchdown& t, bool gear_down);
// Why the roll after a touchdown on `runway` is a crash at p, rolling at ground_speed_kt: off the
// pavement's end or side. Nothing while on it.
std::optional<std::string> judge_roll(const sim::RunwayEnd& runway, sim::LatLon p, double ground_speed_kt);

}  // namespace reports
