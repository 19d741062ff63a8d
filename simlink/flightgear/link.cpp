#include "simlink/flightgear/link.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/message_box.h"

namespace simlink::fg {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kCaption = "FlightGear link";
constexpr const char* kOwner = "panelhost";
constexpr std::size_t kReceiveBytes = 16384;
constexpr int kWaitSliceMs = 50;  // the longest the worker is deaf to a stop request
constexpr std::size_t kMaxQueuedWrites = 256;
constexpr char kNewsWarning = 'W', kNewsInformation = 'I';

// Every property of the table asked for in one batch; the last answer closes the poll.
const std::string& get_requests() {
    static const std::string all = [] {
        std::string r;
        for (const std::string& p : property_index().paths) r += get_request(p);
        return r;
    }();
    return all;
}

const std::string& closing_path() { return property_index().paths.back(); }

int index_of(std::string_view path) { return property_index().find(path); }

double value_number(const std::string& v) {
    if (v == "true") return 1;
    if (v == "false") return 0;
    Answer a{"/", v, "string"};
    return number_value(a).value_or(0);
}

std::optional<int> parse_port(std::string_view text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int port = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

bool host_name_ok(std::string_view host) {
    if (host.empty() || host.size() > 253) return false;
    for (char c : host)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
              c == ':' || c == '_'))
            return false;
    return true;
}

}  // namespace

std::optional<LinkAddress> parse_sim_option(std::string_view text, std::string& why) {
    constexpr std::string_view name = "flightgear";
    LinkAddress a;
    if (text == name) return a;
    if (text.substr(0, name.size() + 1) != "flightgear=") {
        why = "--sim takes flightgear[=HOST[:PORT]]";
        return std::nullopt;
    }
    std::string_view where = text.substr(name.size() + 1);
    std::string_view host = where, port;
    if (!where.empty() && where.front() == '[') {  // an IPv6 address, [::1]:5401
        const std::size_t close = where.find(']');
        if (close == std::string_view::npos) {
            why = "--sim flightgear=[ADDRESS]:PORT: the ']' is missing";
            return std::nullopt;
        }
        host = where.substr(1, close - 1);
        const std::string_view rest = where.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') {
            why = "--sim flightgear=[ADDRESS]:PORT: ':' expected after ']'";
            return std::nullopt;
        }
        if (!rest.empty()) port = rest.substr(1);
        if (!rest.empty() && port.empty()) port = "x";
    } else if (const std::size_t colon = where.rfind(':'); colon != std::string_view::npos) {
        host = where.substr(0, colon);
        port = where.substr(colon + 1);
        if (port.empty()) port = "x";
    }
    if (!host_name_ok(host)) {
        why = "--sim flightgear=HOST[:PORT]: '" + std::string(host) + "' is not a host name";
        return std::nullopt;
    }
    a.host = std::string(host);
    if (!port.empty()) {
        const auto p = parse_port(port);
        if (!p) {
            why = "--sim flightgear=HOST:PORT: the port must be a number from 1 to 65535";
            return std::nullopt;
        }
        a.port = *p;
    }
    return a;
}

// The key events' view of the link, used with the mutex held.
class Link::KeyControls : public Controls {
public:
    explicit KeyControls(Link& link) : link_(link) {}
    double current(std::string_view path) const override { return link_.current_locked(path); }
    void write(std::string_view path, std::string value) override { link_.queue_write(path, std::move(value)); }
    LinkIntent& intent() override { return link_.intent_; }

private:
    Link& link_;
};

Link::Link(LinkOptions options)
    : options_(std::move(options)), where_(options_.address.host + ":" + std::to_string(options_.address.port)) {
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
        if (snapshot_poll_ != shown_poll_) {
            shown_ = snapshot_;
            shown_poll_ = snapshot_poll_;
        }
        shown_intent_ = intent_;
        update_locks_locked();
        news.swap(news_);
    }
    for (const std::string& n : news)
        plat::show_message_box(kOwner, n.substr(1), kCaption,
                               n[0] == kNewsWarning ? plat::MessageIcon::warning : plat::MessageIcon::information);
    publish_tokens(shown_, shown_intent_, sink);
}

bool Link::apply_key_event(std::uint32_t id, std::uint32_t value) {
    const KeyWrite* w = find_key_write(id);
    std::lock_guard<std::mutex> lock(mutex_);
    if (!w) {
        if (reported_.insert(id).second && log) log("FlightGear link: key event " + std::to_string(id) + " has no FlightGear meaning; ignored");
        return false;
    }
    KeyControls controls(*this);
    w->apply(controls, value);
    update_locks_locked();
    return true;
}

double Link::current_locked(std::string_view path) const {
    for (auto it = writes_.rbegin(); it != writes_.rend(); ++it)
        if (it->path == path) return value_number(it->value);
    const int i = index_of(path);
    return i >= 0 ? snapshot_.numbers[static_cast<std::size_t>(i)] : 0.0;
}

void Link::queue_write(std::string_view path, std::string value) {
    for (Write& w : writes_)
        if (w.path == path && w.answered_by == 0) {
            w.value = std::move(value);
            return;
        }
    if (writes_.size() >= kMaxQueuedWrites) writes_.erase(writes_.begin());
    writes_.push_back({std::string(path), std::move(value), 0});
}

// Commands to one property follow each other, so unlike the controls' writes they are never merged.
void Link::queue_command(std::string path, std::string value) {
    writes_.push_back({std::move(path), std::move(value), 0});
}

void Link::put_route(const std::vector<planner::RoutePoint>& route, const planner::PlanRunways& runways) {
    const auto writes = route_manager_writes(route, runways);
    if (writes.empty()) return;
    std::lock_guard<std::mutex> lock(mutex_);
    // A route not yet sent (FlightGear away) is replaced whole by the new one.
    std::erase_if(writes_, [](const Write& w) { return w.answered_by == 0 && w.path.rfind(route_manager_prefix, 0) == 0; });
    for (const auto& w : writes)
        if (valid_path(w.path) && valid_value(w.value)) queue_command(w.path, w.value);
}

void Link::update_locks_locked() {
    const int altitude = index_of(altitude_path);
    const Locks wanted = wanted_locks(intent_, altitude >= 0 ? snapshot_.numbers[static_cast<std::size_t>(altitude)] : 0.0,
                                      current_locked(altitude_setting_path), current_locked(vertical_speed_setting_path));
    if (wanted.heading != written_locks_.heading) queue_write(heading_lock_path, std::string(wanted.heading));
    if (wanted.altitude != written_locks_.altitude) queue_write(altitude_lock_path, std::string(wanted.altitude));
    if (wanted.speed != written_locks_.speed) queue_write(speed_lock_path, std::string(wanted.speed));
    written_locks_ = wanted;
}

void Link::run() {
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(1.0 / std::clamp(options_.rate_hz, 1.0, 200.0)));
    while (!stop_) {
        std::string why;
        if (!socket_.is_open() && !connect_once(why)) {
            set_state(ever_up_ ? LinkState::lost : LinkState::waiting, why);
            wait_ms(options_.retry_ms);
            continue;
        }
        const auto started = Clock::now();
        if (!poll_once(why)) {
            socket_.close();
            lines_.clear();
            if (stop_) break;
            set_state(ever_up_ ? LinkState::lost : LinkState::waiting, why);
            wait_ms(options_.retry_ms);
            continue;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(started + period - Clock::now());
        if (left.count() > 0) wait_ms(static_cast<int>(left.count()));
    }
    socket_.close();
}

bool Link::connect_once(std::string& why) {
    lines_.clear();
    return socket_.connect(options_.address.host, options_.address.port, options_.connect_timeout_ms, why);
}

bool Link::poll_once(std::string& why) {
    const std::uint64_t poll = polls_.load() + 1;
    const std::string requests = take_requests(poll);
    if (!socket_.send_all(requests, options_.answer_timeout_ms, why)) return false;
    if (!read_answers(poll, why)) return false;
    publish_snapshot(poll);
    return true;
}

std::string Link::take_requests(std::uint64_t poll) {
    std::string r;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (Write& w : writes_) {
            if (w.answered_by != 0) continue;
            w.answered_by = poll;
            r += set_request(w.path, w.value);
        }
    }
    r += get_requests();
    return r;
}

bool Link::read_answers(std::uint64_t, std::string& why) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(options_.answer_timeout_ms);
    char buffer[kReceiveBytes];
    std::string line;
    for (;;) {
        if (stop_) {
            why = "stopping";
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            why = "no answer for " + std::to_string(options_.answer_timeout_ms) + " ms";
            return false;
        }
        const long n = socket_.receive(buffer, sizeof buffer, static_cast<int>(std::min<long long>(left, kWaitSliceMs)), why);
        if (n < 0) return false;
        lines_.feed(buffer, static_cast<std::size_t>(n));
        bool closed = false;
        while (lines_.next(line)) {
            const auto answer = parse_answer(line);
            if (!answer) continue;
            const int i = index_of(answer->path);
            if (i < 0) continue;
            reading_.take(static_cast<std::size_t>(i), *answer);
            if (answer->path == closing_path()) closed = true;
        }
        if (closed) return true;
    }
}

void Link::publish_snapshot(std::uint64_t poll) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        snapshot_ = reading_;
        snapshot_poll_ = poll;
        std::erase_if(writes_, [poll](const Write& w) { return w.answered_by != 0 && w.answered_by <= poll; });
    }
    polls_ = poll;
    set_state(LinkState::up, "");
}

void Link::set_state(LinkState s, const std::string& why) {
    const LinkState was = state_.exchange(s);
    std::string news;
    if (s == LinkState::up && was != LinkState::up) {
        news = std::string(1, kNewsInformation) +
               (ever_up_ ? "FlightGear at " + where_ + " answers again; the panel follows it."
                         : "Connected to FlightGear at " + where_ + "; the panel follows it.");
        ever_up_ = true;
        reported_down_ = false;
    } else if (s == LinkState::lost && was == LinkState::up) {
        news = std::string(1, kNewsWarning) + "Lost FlightGear at " + where_ + " (" + why +
               "). The panel keeps the last values and reconnects when FlightGear is back.";
        reported_down_ = true;
    } else if (s == LinkState::waiting && !reported_down_) {
        news = std::string(1, kNewsWarning) + "No FlightGear at " + where_ + " (" + why +
               "). Start FlightGear with --props=socket,bi,60,," + std::to_string(options_.address.port) +
               ",tcp; the panel runs on and connects when it answers.";
        reported_down_ = true;
    }
    if (news.empty()) return;
    std::lock_guard<std::mutex> lock(mutex_);
    news_.push_back(std::move(news));
}

void Link::wait_ms(int ms) {
    std::unique_lock<std::mutex> lock(wake_mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_.load(); });
}

}  // namespace simlink::fg
