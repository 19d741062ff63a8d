#pragma once
// The host's own aircraft: what the simulator would compute and show to the panel. It speaks the
// panel's language, token ids and key events, and knows nothing of the modules.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace sim {

// Where the aircraft writes its variables each step.
class TokenSink {
public:
    virtual ~TokenSink() = default;
    virtual void set_double(int token, double value) = 0;
    virtual void set_int(int token, std::int32_t value) = 0;
    virtual void set_text(int token, std::string_view text) = 0;
};

class Aircraft {
public:
    Aircraft();

    // Applies a key event the aircraft knows; false for any other.
    bool apply_key_event(std::uint32_t id, std::uint32_t value);
    // Advances the aircraft by dt seconds.
    void step(double dt);
    // Writes every variable the aircraft computes.
    void publish(TokenSink& sink) const;

    double elapsed() const { return elapsed_; }

private:
    double elapsed_ = 0;
    std::map<int, double> values_;
};

}  // namespace sim
