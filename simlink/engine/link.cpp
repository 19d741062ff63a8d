#include "simlink/engine/link.h"

#include <algorithm>
#include <cstdio>

#include "host/tokens.h"
#include "platform/message_box.h"
#include "simlink/engine/key_controls.h"
#include "simlink/engine/linked_aircraft.h"
#include "simlink/engine/names.h"

namespace simlink {

namespace {

constexpr const char* kOwner = "panelhost";
constexpr std::size_t kMaxQueuedWrites = 256;
constexpr char kNewsWarning = 'W', kNewsInformation = 'I';
// A toggled switch whose state has not followed its command by then is commanded again.
constexpr auto kToggleWait = std::chrono::milliseconds(1500);

double value_number(const std::string& v) {
    if (v == "true") return 1;
    if (v == "false") return 0;
    return std::strtod(v.c_str(), nullptr);
}

bool& switch_bit(LinkIntent& in, SwitchName s) {
    switch (s) {
        case SwitchName::master: return in.master;
        case SwitchName::heading_hold: return in.heading_hold;
        case SwitchName::altitude_hold: return in.altitude_hold;
        case SwitchName::speed_hold: return in.speed_hold;
        case SwitchName::autothrottle_armed: break;
    }
    return in.autothrottle_armed;
}

}  // namespace

// The key events' view of the link, used with the mutex held.
class Link::KeyControls : public Controls {
public:
    explicit KeyControls(Link& link) : link_(link) {}
    double current(std::string_view path) const override { return link_.current_locked(path); }
    void write(std::string_view path, std::string value) override {
        link_.queue({false, std::string(path), std::move(value)}, true);
    }
    void command(std::string_view path) override { link_.queue({true, std::string(path), {}}, false); }
    void set_switch(SwitchName s, bool on) override {
        switch_bit(link_.intent_, s) = on;
        link_.touched_[static_cast<std::size_t>(s)] = true;
    }

private:
    Link& link_;
};

Link::Link(Bindings bindings, std::unique_ptr<Transport> transport, LinkOptions options)
    : bindings_(std::move(bindings)),
      index_(build_index(bindings_)),
      options_(options),
      caption_(transport->name() + " link"),
      snapshot_(index_),
      written_locks_(bindings_.locks.size()),
      toggled_(bindings_.switches.size()),
      shown_(index_),
      transport_(std::move(transport)),
      reading_(index_) {
    log = [](const std::string& s) { std::fprintf(stderr, "panelhost: %s\n", s.c_str()); };
    worker_ = std::thread([this] { run(); });
}

Link::~Link() {
    {
        // Set under the worker's wait mutex, so the worker cannot check the flag, miss the
        // notification and sleep out its whole retry period.
        std::lock_guard<std::mutex> lock(wake_mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void Link::publish(sim::TokenSink& sink) {
    std::vector<std::string> news;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (snapshot_cycle_ != shown_cycle_) {
            shown_ = snapshot_;
            shown_cycle_ = snapshot_cycle_;
        }
        shown_intent_ = intent_;
        update_switches_locked();
        news.swap(news_);
    }
    for (const std::string& n : news)
        plat::show_message_box(kOwner, n.substr(1), caption_.c_str(),
                               n[0] == kNewsWarning ? plat::MessageIcon::warning : plat::MessageIcon::information);
    publish_tokens(bindings_, index_, shown_, shown_intent_, sink);
}

sim::AircraftState Link::aircraft() const {
    return aircraft_from_tokens([this](int token) {
        const TokenBinding* t = bindings_.find_token(token);
        if (!t || t->form == Form::text) return 0.0;
        const auto row = static_cast<std::size_t>(t - bindings_.tokens.data());
        return token_value(bindings_, index_, row, shown_, shown_intent_);
    });
}

bool Link::apply_key_event(std::uint32_t id, std::uint32_t value) {
    std::lock_guard<std::mutex> lock(mutex_);
    KeyControls controls(*this);
    const KeyResult r = simlink::apply_key_event(bindings_, controls, id, value);
    if (r != KeyResult::done && reported_.insert(id).second && log) {
        const std::string_view name = event_name(id);
        const std::string what = name.empty() ? std::to_string(id) : std::string(name);
        log(caption_ + ": key event " + what +
            (r == KeyResult::unknown ? " has no meaning here; ignored"
                                     : " moves something " + bindings_.file + " does not bind; ignored"));
    }
    update_switches_locked();
    return r == KeyResult::done;
}

double Link::current_locked(std::string_view path) const {
    for (auto it = writes_.rbegin(); it != writes_.rend(); ++it)
        if (!it->write.command && it->write.path == path) return value_number(it->write.value);
    const int i = index_.find(path);
    return i >= 0 ? snapshot_.numbers[static_cast<std::size_t>(i)] : 0.0;
}

void Link::queue(Write w, bool merge) {
    if (merge)
        for (Pending& p : writes_)
            if (!p.write.command && p.write.path == w.path && p.sent_in == 0) {
                p.write.value = std::move(w.value);
                return;
            }
    if (writes_.size() >= kMaxQueuedWrites) writes_.erase(writes_.begin());
    writes_.push_back({std::move(w), 0, {}});
}

void Link::put_route(const std::vector<planner::RoutePoint>& route, const planner::PlanRunways& runways) {
    const std::vector<Write> writes = transport_->route_writes(route, runways);
    if (writes.empty()) return;
    const std::string prefix = transport_->route_prefix();
    std::lock_guard<std::mutex> lock(mutex_);
    // A route not yet sent (the simulator away) is replaced whole by the new one.
    if (!prefix.empty())
        std::erase_if(writes_, [&](const Pending& p) { return p.sent_in == 0 && p.write.path.rfind(prefix, 0) == 0; });
    for (const Write& w : writes) queue(w, false);
}

double Link::token_locked(int token) const {
    for (std::size_t row = 0; row < bindings_.tokens.size(); ++row)
        if (bindings_.tokens[row].token == token) return token_value(bindings_, index_, row, snapshot_, intent_);
    return 0;
}

// The locks and switches follow the panel's switches: a lock's text is written when it changes, a
// set switch's value when the switch moves, and a toggled switch is commanded until its state
// reads as the panel wants it.
void Link::update_switches_locked() {
    if (!bindings_.locks.empty()) {
        LockInputs in;
        in.intent = &intent_;
        in.altitude_ft = token_locked(gauge::token::altitude_ft);
        in.altitude_setting_ft = current_locked(bindings_.settings[1]);
        in.vertical_speed_setting_fpm = current_locked(bindings_.settings[2]);
        for (std::size_t i = 0; i < bindings_.locks.size(); ++i) {
            const std::string wanted(bindings_.locks[i].rule(in));
            if (wanted == written_locks_[i]) continue;
            queue({false, bindings_.locks[i].path, wanted}, true);
            written_locks_[i] = wanted;
        }
    }
    const auto now = Clock::now();
    for (std::size_t i = 0; i < bindings_.switches.size(); ++i) {
        const SwitchBinding& s = bindings_.switches[i];
        const auto k = static_cast<std::size_t>(s.name);
        if (!touched_[k]) continue;  // the simulator's own state stands until the panel moves it
        const bool wanted = switch_bit(intent_, s.name);
        if (!s.toggle) {
            const std::string& value = wanted ? s.on : s.off;
            if (value != "-") queue({false, s.path, value}, true);
            touched_[k] = false;
            continue;
        }
        const int at = index_.find(s.state);
        const double state = at >= 0 ? snapshot_.numbers[static_cast<std::size_t>(at)] : 0.0;
        const bool on = std::ranges::find(s.on_values, state) != s.on_values.end();
        if (on == wanted || state_ != LinkState::up || now - toggled_[i] < kToggleWait) continue;
        queue({true, s.path, {}}, false);
        toggled_[i] = now;
    }
}

void Link::run() {
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(1.0 / std::clamp(options_.rate_hz, 1.0, 200.0)));
    std::uint64_t cycle = 0;
    while (!stop_) {
        std::string why;
        if (!open_) {
            if (!transport_->open(index_, why)) {
                set_state(ever_up_ ? LinkState::lost : LinkState::waiting, why);
                wait_until(Clock::now() + std::chrono::milliseconds(options_.retry_ms));
                continue;
            }
            open_ = true;
            last_answer_ = Clock::now();
        }
        const auto end = Clock::now() + period;
        cycle_once(++cycle, end);
        if (open_) wait_until(end);
    }
    transport_->close();
}

void Link::cycle_once(std::uint64_t cycle, Clock::time_point end) {
    std::string why;
    const Exchange e = transport_->exchange(take_writes(cycle), reading_, end, stop_, why);
    const auto now = Clock::now();
    if (e == Exchange::answered) {
        last_answer_ = now;
        publish_snapshot(cycle);
        return;
    }
    if (e == Exchange::quiet && now - last_answer_ < std::chrono::milliseconds(options_.answer_timeout_ms)) return;
    if (stop_) return;
    if (e == Exchange::quiet) why = "no answer for " + std::to_string(options_.answer_timeout_ms) + " ms";
    transport_->close();
    open_ = false;
    set_state(ever_up_ ? LinkState::lost : LinkState::waiting, why);
    wait_until(Clock::now() + std::chrono::milliseconds(options_.retry_ms));
}

std::vector<Write> Link::take_writes(std::uint64_t cycle) {
    std::vector<Write> out;
    std::lock_guard<std::mutex> lock(mutex_);
    const auto now = Clock::now();
    for (Pending& p : writes_) {
        if (p.sent_in != 0) continue;
        p.sent_in = cycle;
        p.sent_at = now;
        out.push_back(p.write);
    }
    // Commands have no reading to wait for.
    std::erase_if(writes_, [](const Pending& p) { return p.sent_in != 0 && p.write.command; });
    return out;
}

void Link::publish_snapshot(std::uint64_t cycle) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        snapshot_ = reading_;
        snapshot_cycle_ = cycle;
        const auto settled = Clock::now() - transport_->write_settles();
        std::erase_if(writes_, [&](const Pending& p) { return p.sent_in != 0 && p.sent_in <= cycle && p.sent_at <= settled; });
    }
    ++answers_;
    set_state(LinkState::up, "");
}

void Link::set_state(LinkState s, const std::string& why) {
    const LinkState was = state_.exchange(s);
    const std::string name = transport_->name(), where = name + " at " + transport_->where();
    std::string news;
    if (s == LinkState::up && was != LinkState::up) {
        news = std::string(1, kNewsInformation) +
               (ever_up_ ? where + " answers again; the panel follows it." : "Connected to " + where + "; the panel follows it.");
        ever_up_ = true;
        reported_down_ = false;
    } else if (s == LinkState::lost && was == LinkState::up) {
        news = std::string(1, kNewsWarning) + "Lost " + where + " (" + why + "). The panel keeps the last values and reconnects when " +
               name + " is back.";
        reported_down_ = true;
    } else if (s == LinkState::waiting && !reported_down_) {
        news = std::string(1, kNewsWarning) + "No " + where + " (" + why + "). " + transport_->start_hint() +
               "; the panel runs on and connects when it answers.";
        reported_down_ = true;
    }
    if (news.empty()) return;
    std::lock_guard<std::mutex> lock(mutex_);
    news_.push_back(std::move(news));
}

void Link::wait_until(Clock::time_point t) {
    std::unique_lock<std::mutex> lock(wake_mutex_);
    wake_.wait_until(lock, t, [this] { return stop_.load(); });
}

}  // namespace simlink
