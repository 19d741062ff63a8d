#include "sim/aircraft.h"

namespace sim {


Aircraft::Aircraft() = default;

bool Aircraft::apply_key_event(std::uint32_t, std::uint32_t) { return false; }

void Aircraft::step(double dt) { elapsed_ += dt; }

void Aircraft::publish(TokenSink& sink) const {
    for (const auto& [t, v] : values_) sink.set_double(t, v);
}

}  // namespace sim
