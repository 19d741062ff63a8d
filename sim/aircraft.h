#pragma once
// The host's own aircraft: what the simulator would compute and show to the panel. It speaks the
// panel's language, token ids and key events, and knows nothing of the modules.
//
// Each step runs its models in a fixed order (see step()); the same key events and steps always
// give the same state, so a headless run is repeatable.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "sim/state.h"
#include "sim/world.h"

namespace sim {

// Where the aircraft writes its variables each step.
class TokenSink {
public:
    virtual ~TokenSink() = default;
    virtual void set_double(int token, double value) = 0;
    virtual void set_int(int token, std::int32_t value) = 0;
    virtual void set_text(int token, std::string_view text) = 0;
};

// A scenario's "aircraft" command: what it gives is set, the rest stays. A position, altitude,
// speed, heading or on-ground puts the aircraft somewhere afresh (level, the autopilot's settings
// taken from it, the gear down on the ground and up in the air, the approach mode off); the
// throttle, flaps, fuel, gear and wind alone change only themselves, as the crew would in flight.
struct Placement {
    std::optional<double> lat, lon;     // degrees
    std::optional<double> altitude_ft;  // on the ground: the elevation of the spot
    std::optional<double> ias_kt;
    std::optional<double> heading_deg;  // true
    std::optional<bool> on_ground;
    std::optional<double> throttle;     // 0 .. 1, every lever; airborne without it: the thrust of level flight
    std::optional<double> flaps;        // 0 .. 1 of the lever's travel
    // Pounds in all tanks, spread as a full load is (the wings' share, the rest in the centre), as
    // a refuelling does: a flight longer than the tanks last is put back in the air with fuel.
    std::optional<double> fuel_lb;
    std::optional<bool> gear_down;
    std::optional<double> wind_from_deg, wind_kt;  // true direction the wind blows from
};

class Aircraft {
public:
    Aircraft();

    // The world data for the nearest VOR's variation and the nearest airport's elevation; without
    // it the variation is 0 and the ground at sea level.
    void use_world(std::shared_ptr<const World> world);
    // Applies a key event the aircraft knows; false for any other (logged once per event number).
    bool apply_key_event(std::uint32_t id, std::uint32_t value);
    // Advances the aircraft by dt seconds.
    void step(double dt);
    // Writes every variable the aircraft computes.
    void publish(TokenSink& sink) const;
    void place(const Placement& p);
    // Sets the radio panel; the receivers answer at once.
    void tune(const RadioTuning& t);

    double elapsed() const { return elapsed_; }
    const World* world() const { return world_.get(); }
    const AircraftState& state() const { return state_; }
    AircraftState& state() { return state_; }
    // Where notes about ignored events go (standard error unless replaced).
    std::function<void(const std::string&)> log;

private:
    void look_up_world(bool always);
    void answer_radios(double dt);
    void trim_for_level_flight();

    double elapsed_ = 0;
    AircraftState state_;
    std::shared_ptr<const World> world_;
    LatLon looked_up_at_{};
    bool looked_up_ = false;
    std::set<std::uint32_t> reported_;
};

}  // namespace sim
