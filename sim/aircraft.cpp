#include "sim/aircraft.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/aero.h"
#include "sim/approach.h"
#include "sim/autopilot.h"
#include "sim/engines.h"
#include "sim/key_map.h"
#include "sim/kinematics.h"
#include "sim/radios.h"
#include "sim/systems.h"
#include "sim/units.h"

namespace sim {

namespace {

// The nearest VOR and airport change slowly, but near an airport the ground is looked up often
// enough to be the runway's as the aircraft comes over it.
constexpr double world_lookup_step_nm = 0.25;
constexpr double max_step_s = 0.1;            // longer steps are cut so turns and captures stay smooth

// San Francisco, runway 28R, ready for take-off.
AircraftState parked_state() {
    AircraftState s;
    s.position = {37.61351918, -122.35716907};
    s.true_heading_deg = 298.0;
    s.altitude_ft = s.ground_elevation_ft = 13.0;
    s.on_ground = true;
    s.autopilot.heading_bug_deg = 298.0;
    for (Engine& e : s.engines) e.n1 = idle_n1;
    return s;
}

ApproachInputs approach_inputs(const AircraftState& s) {
    return {.phase = s.approach,
            .memory = s.approach_memory,
            .autopilot_master = s.autopilot.master,
            .altitude_hold = s.autopilot.altitude_hold,
            .altitude_setting_ft = s.autopilot.altitude_ft,
            .speed_setting_kt = s.autopilot.speed_kt,
            .nav = s.reception.nav[0],
            .nav_channel = s.radios.nav_channel[0],
            .on_ground = s.on_ground,
            .height_ft = height_above_field_ft(s),
            .altitude_ft = s.altitude_ft,
            .ias_kt = s.ias_kt,
            .ground_speed_kt = s.ground_speed_kt,
            .vertical_speed_fpm = s.vertical_speed_fpm,
            .true_heading_deg = s.true_heading_deg,
            .slip_deg = s.slip_deg,
            .ground_track_deg = s.ground_track_deg,
            .wind_from_deg = s.wind_from_deg,
            .wind_kt = s.wind_kt,
            .weight_lb = weight_lb(s),
            .flap_position = s.flap_position};
}

}  // namespace

Aircraft::Aircraft() : state_(parked_state()) {
    log = [](const std::string& line) { std::fprintf(stderr, "sim: %s\n", line.c_str()); };
    run_engines(state_, 0);
}

void Aircraft::use_world(std::shared_ptr<const World> world) {
    world_ = std::move(world);
    look_up_world(true);
    if (state_.on_ground) {
        state_.altitude_ft = state_.ground_elevation_ft;
        state_.autopilot.heading_bug_deg = wrap_360(std::round(state_.true_heading_deg - state_.variation_deg));
    }
    answer_radios(0);
}

void Aircraft::tune(const RadioTuning& t) {
    state_.radios = t;
    answer_radios(0);
}

void Aircraft::answer_radios(double dt) {
    static const RadioStations none;
    run_radios(state_, world_ ? world_->radios() : none, dt);
}

bool Aircraft::apply_key_event(std::uint32_t id, std::uint32_t value) {
    if (const KeyBinding* b = find_key_binding(id)) {
        StateKeys keys(state_);
        b->apply(keys, value);
        return true;
    }
    if (reported_.insert(id).second && log)
        log("key event " + std::to_string(id) + " (value " + std::to_string(value) + ") means nothing to the aircraft; ignored");
    return false;
}

void Aircraft::look_up_world(bool always) {
    if (!world_) return;
    if (!always && looked_up_ && distance_nm(looked_up_at_, state_.position) < world_lookup_step_nm) return;
    looked_up_at_ = state_.position;
    looked_up_ = true;
    state_.variation_deg = world_->variation_at(state_.position);
    state_.ground_elevation_ft = world_->elevation_ft_at(state_.position);
}

void Aircraft::step(double dt) {
    if (!(dt > 0)) return;
    elapsed_ += dt;
    state_.clock_s = std::fmod(state_.clock_s + dt, 24 * 3600.0);
    const int parts = static_cast<int>(std::ceil(dt / max_step_s));
    const double h = dt / parts;
    for (int i = 0; i < parts; ++i) {
        // The models in order, each on what those before it left. The approach and the autopilot
        // decide on the state as the panel saw it: the approach first, since what it commands (its
        // captures, its targets, the rollout's brakes) is the autopilot's input; the approach keeps
        // its own phase. The engines then answer the throttles the autopilot set, the systems their
        // levers, and last the aircraft moves with the thrust that results.
        const ApproachCommands approach = run_approach(approach_inputs(state_));
        state_.approach = approach.phase;
        state_.approach_memory = approach.memory;
        if (approach.note && log) log(*approach.note);
        const FlightCommands commands = run_autopilot(state_, approach, h);
        run_engines(state_, h);
        run_systems(state_, h);
        run_kinematics(state_, commands, h, elapsed_ - dt + (i + 1) * h);
    }
    look_up_world(false);
    answer_radios(dt);
}

void Aircraft::trim_for_level_flight() {
    AircraftState& s = state_;
    const double thrust = drag_lbf(s) / engine_count;
    const double n1 = n1_for_thrust(thrust, s.altitude_ft, mach(s));
    const double throttle = (n1 - idle_n1) / (full_n1 - idle_n1);
    for (double& t : s.controls.throttle) t = throttle;
    for (Engine& e : s.engines) e.n1 = n1;
}

void Aircraft::place(const Placement& p) {
    AircraftState& s = state_;
    const bool moved = p.lat || p.lon || p.altitude_ft || p.ias_kt || p.heading_deg || p.on_ground;
    if (p.lat) s.position.lat = std::clamp(*p.lat, -90.0, 90.0);
    if (p.lon) s.position.lon = wrap_180(*p.lon);
    if (p.heading_deg) s.true_heading_deg = wrap_360(*p.heading_deg);
    if (p.ias_kt) s.ias_kt = std::max(0.0, *p.ias_kt);
    if (p.flaps) s.controls.flaps = s.flap_position = std::clamp(*p.flaps, 0.0, 1.0);
    if (p.on_ground) s.on_ground = *p.on_ground;
    if (p.wind_from_deg) s.wind_from_deg = wrap_360(*p.wind_from_deg);
    if (p.wind_kt) s.wind_kt = std::max(0.0, *p.wind_kt);
    if (p.fuel_lb) {
        const AircraftState full;
        const double capacity = full.fuel_lb[0] + full.fuel_lb[1] + full.fuel_lb[2];
        const double share = std::clamp(*p.fuel_lb, 0.0, capacity) / capacity;
        for (std::size_t t = 0; t < s.fuel_lb.size(); ++t) s.fuel_lb[t] = full.fuel_lb[t] * share;
    }
    if (moved) {
        look_up_world(true);
        if (p.altitude_ft) s.altitude_ft = *p.altitude_ft;
        if (s.on_ground) {
            if (p.altitude_ft) s.ground_elevation_ft = *p.altitude_ft;
            s.altitude_ft = s.ground_elevation_ft;
        }
        s.vertical_speed_fpm = s.hand_vertical_speed_fpm = 0;
        s.bank_deg = s.hand_bank_deg = s.slip_deg = 0;
        s.approach = ApproachPhase::off;
        s.approach_memory = {};
        s.held_speed_brake = 0;
        s.controls.gear_down = s.on_ground;
        for (double& leg : s.gear_position) leg = s.on_ground ? 1.0 : 0.0;
        s.autopilot.heading_bug_deg = wrap_360(std::round(s.true_heading_deg - s.variation_deg));
        s.autopilot.altitude_ft = s.on_ground ? 0.0 : std::round(s.altitude_ft / 100.0) * 100.0;
        s.autopilot.speed_kt = std::round(s.ias_kt);
        s.autopilot.vertical_speed_fpm = 0;
        s.ground_track_deg = s.true_heading_deg;
        s.ground_speed_kt = s.ias_kt;
        // On the ground it rolls at what the airspeed leaves over the wind; standing, it stands.
        if (s.on_ground) {
            const double headwind = s.wind_kt * std::cos((s.wind_from_deg - s.true_heading_deg) * degrees_to_radians);
            s.ground_speed_kt = s.ias_kt > 0 ? std::max(0.0, tas_from_ias(s.ias_kt, s.altitude_ft) - headwind) : 0.0;
        }
    }
    if (p.gear_down) {
        s.controls.gear_down = *p.gear_down;
        // Put there with it: already down (or up), not on its way.
        if (moved) for (double& leg : s.gear_position) leg = *p.gear_down ? 1.0 : 0.0;
    }
    if (p.throttle) {
        for (double& t : s.controls.throttle) t = std::clamp(*p.throttle, 0.0, 1.0);
    } else if (moved && !s.on_ground) {
        trim_for_level_flight();
    }
    run_engines(s, 0);
    answer_radios(0);
}

}  // namespace sim
