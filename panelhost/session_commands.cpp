// The session playing its scenario: the commands due by now, those held back by their "when", and
// what each command does to the variables, the panel and the host's aircraft.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "panelhost/session.h"
#include "platform/keyboard.h"
#include "sim/approach.h"
#include "sim/autopilot.h"

namespace panelhost {

// One command run: a call per kind of command; a command that cannot be done is a warning.
struct CommandRunner {
    Session& s;
    const Command& c;

    void warn(const std::string& what) const {
        s.warnings_.push_back(s.scenario_.path + ":" + std::to_string(c.line) + ": " + what);
        std::fprintf(stderr, "panelhost: %s\n", s.warnings_.back().c_str());
    }
    static std::string no_area(const std::string& gauge, int x, int y) {
        return "no mouse area of " + gauge + " at " + std::to_string(x) + "," + std::to_string(y);
    }

    void operator()(const SetCommand& x) const {
        s.owned_tokens_.insert(x.token);
        s.variables_.set_double(x.token, x.value);
    }
    void operator()(const SetIntCommand& x) const {
        s.owned_tokens_.insert(x.token);
        s.variables_.set_int(x.token, x.value);
    }
    void operator()(const SetTextCommand& x) const {
        s.owned_tokens_.insert(x.token);
        s.variables_.set_text(x.token, x.text);
    }
    void operator()(const RampCommand& x) const {
        s.owned_tokens_.insert(x.token);
        std::erase_if(s.ramps_, [&](const Session::Ramp& r) { return r.token == x.token; });
        s.ramps_.push_back({x.token, s.variables_.get_double(x.token), x.to, c.t, x.seconds});
    }
    void operator()(const NamedCommand& x) const { s.variables_.publish_named(x.name, x.value); }
    void operator()(const ClickCommand& x) const {
        if (!s.panel_->click_gauge(x.gauge, x.x, x.y)) warn(no_area(x.gauge, x.x, x.y));
    }
    void operator()(const HoldCommand& x) const {
        if (!s.panel_->press_gauge(x.gauge, x.x, x.y)) warn(no_area(x.gauge, x.x, x.y));
        else s.release_at_ = c.t + x.seconds;
    }
    void operator()(const KeyCommand& x) const {
        if (x.shift) plat::set_key_state(plat::vk::shift, true), s.keys_to_release_.push_back(plat::vk::shift);
        if (x.ctrl) plat::set_key_state(plat::vk::control, true), s.keys_to_release_.push_back(plat::vk::control);
        plat::set_key_state(x.vk, true);
        s.keys_to_release_.push_back(x.vk);
    }
    void operator()(const SnapCommand& x) const {
        if (auto r = s.snapshot(x.name + "-"); !r) warn(r.error());
    }
    void operator()(const DumpCommand& x) const {
        if (auto r = s.dump(x.name); !r) warn(r.error());
    }
    void operator()(const PokeCommand& x) const {
        auto block = plat::SharedBlock::create_or_open(x.block, x.offset + x.text.size() + 1);
        if (!block) return warn(block.error());
        auto view = block->map(plat::Access::read_write);
        if (!view || x.offset + x.text.size() + 1 > view->size()) return warn("poke beyond the end of block " + x.block);
        std::memcpy(view->as<char>() + x.offset, x.text.c_str(), x.text.size() + 1);
        s.poked_.try_emplace(x.block, std::move(block).value());
    }
    void operator()(const ReloadCommand&) const { s.reload(); }
    void operator()(const StatsCommand& x) const {
        if (auto r = s.log_stats(x.label); !r) warn(r.error());
    }
    void operator()(const FailCommand& x) const { s.panel_->set_failure(x.key, x.on); }
    void operator()(const WindowCommand& x) const {
        if (!s.panel_->toggle_window(static_cast<std::uint32_t>(x.ident)))
            warn("no window with ident " + std::to_string(x.ident));
    }
    void operator()(const AircraftCommand& x) const {
        s.aircraft_.place(x.placement);
        s.publish_aircraft();
    }
    void operator()(const RadioCommand& x) const {
        if (!s.options_.own_aircraft)
            return warn("radio commands tune the host's own aircraft; the simulator's radios are its own");
        sim::RadioTuning t = s.aircraft_.state().radios;
        sim::set_knob(t, x.knob, x.value);
        s.aircraft_.tune(t);
        s.publish_aircraft();
    }
    void operator()(const AutopilotCommand& x) const {
        if (!s.options_.own_aircraft)
            return warn("autopilot commands fly the host's own aircraft; the simulator's autopilot is its own");
        if (x.speed_kt) s.aircraft_.state().autopilot.speed_kt = *x.speed_kt;
        if (x.speed) sim::hold_speed(s.aircraft_.state());
        else sim::arm_approach(s.aircraft_.state());
        s.publish_aircraft();
    }
};

void Session::run_command(const Command& c) { std::visit(CommandRunner{*this, c}, c.action); }

void Session::apply_ramps() {
    const double t = time();
    for (auto it = ramps_.begin(); it != ramps_.end();) {
        const double f = it->seconds > 0 ? std::min(1.0, (t - it->start) / it->seconds) : 1.0;
        variables_.set_double(it->token, it->from + (it->to - it->from) * f);
        it = f >= 1.0 ? ramps_.erase(it) : it + 1;
    }
}

bool Session::condition_met(const Condition& when) const {
    const sim::AircraftState& s = aircraft_.state();
    switch (when.kind) {
        case ConditionKind::none: return true;
        case ConditionKind::ias_below: return s.ias_kt < when.value;
        case ConditionKind::ias_above: return s.ias_kt > when.value;
        case ConditionKind::height_below: return s.altitude_ft - field_elevation_ft_ < when.value;
        case ConditionKind::height_above: return s.altitude_ft - field_elevation_ft_ > when.value;
        case ConditionKind::approach: return s.approach >= when.phase;
    }
    return false;
}

void Session::run_due_commands(double t) {
    // Due by now, in file order for equal times; those with a "when" wait for it.
    while (next_command_ < scenario_.commands.size() && scenario_.commands[next_command_].t <= t + 1e-9) {
        const Command& c = scenario_.commands[next_command_++];
        if (c.when.kind == ConditionKind::none) {
            run_command(c);
        } else if (!options_.own_aircraft) {
            warnings_.push_back(scenario_.path + ":" + std::to_string(c.line) + ": 'when " + c.when.text +
                                "' watches the host's own aircraft; the command is not run");
            std::fprintf(stderr, "panelhost: %s\n", warnings_.back().c_str());
        } else {
            waiting_.push_back(&c);
        }
    }
    const bool heights = std::ranges::any_of(waiting_, [](const Command* c) {
        return c->when.kind == ConditionKind::height_below || c->when.kind == ConditionKind::height_above;
    });
    if (heights) field_elevation_ft_ = field_.elevation_ft(aircraft_, plans_.route());
    // Run in turn: a met one may meet the next (the same condition) on this very cycle.
    std::erase_if(waiting_, [&](const Command* c) {
        if (!condition_met(c->when)) return false;
        run_command(*c);
        return true;
    });
}

}  // namespace panelhost
