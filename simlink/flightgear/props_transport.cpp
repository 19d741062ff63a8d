#include "simlink/flightgear/props_transport.h"

#include <algorithm>

#include "simlink/flightgear/route_manager.h"

namespace simlink::fg {

namespace {

constexpr std::size_t kReceiveBytes = 16384;
constexpr int kWaitSliceMs = 50;  // the longest the worker is deaf to a stop request

}  // namespace

std::string PropsTransport::where() const { return options_.host + ":" + std::to_string(options_.port); }

std::string PropsTransport::start_hint() const {
    return "Start FlightGear with --props=socket,bi,60,," + std::to_string(options_.port) + ",tcp";
}

bool PropsTransport::open(const PropertyIndex& index, std::string& why) {
    if (index_ != &index) {
        index_ = &index;
        gets_.clear();
        for (const std::string& p : index.paths) gets_ += get_request(p);
    }
    lines_.clear();
    return socket_.connect(options_.host, options_.port, options_.connect_timeout_ms, why);
}

void PropsTransport::close() {
    socket_.close();
    lines_.clear();
}

Exchange PropsTransport::exchange(const std::vector<Write>& writes, Readings& readings,
                                  std::chrono::steady_clock::time_point, const std::atomic<bool>& stop,
                                  std::string& why) {
    std::string requests;
    for (const Write& w : writes)
        if (!w.command && valid_path(w.path) && valid_value(w.value)) requests += set_request(w.path, w.value);
    requests += gets_;
    if (!socket_.send_all(requests, options_.answer_timeout_ms, why)) return Exchange::lost;
    return read_answers(readings, stop, why) ? Exchange::answered : Exchange::lost;
}

bool PropsTransport::read_answers(Readings& readings, const std::atomic<bool>& stop, std::string& why) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(options_.answer_timeout_ms);
    const std::string& closing = index_->paths.back();
    char buffer[kReceiveBytes];
    std::string line;
    for (;;) {
        if (stop) {
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
            const int i = index_->find(answer->path);
            if (i < 0) continue;
            const auto k = static_cast<std::size_t>(i);
            if (index_->is_text[k]) {
                if (auto t = text_value(*answer)) readings.take_text(k, std::move(*t));
            } else if (auto v = number_value(*answer)) {
                readings.take_number(k, *v);
            }
            if (answer->path == closing) closed = true;
        }
        if (closed) return true;
    }
}

std::vector<Write> PropsTransport::route_writes(const std::vector<planner::RoutePoint>& route,
                                               const planner::PlanRunways& runways) const {
    std::vector<Write> out;
    for (const PropertyWrite& w : route_manager_writes(route, runways))
        if (valid_path(w.path) && valid_value(w.value)) out.push_back({false, w.path, w.value});
    return out;
}

std::string PropsTransport::route_prefix() const { return route_manager_prefix; }

}  // namespace simlink::fg
