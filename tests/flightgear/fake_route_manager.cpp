#include "fake_route_manager.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "sim/earth.h"

namespace {

constexpr const char* kPrefix = "/autopilot/route-manager/";

std::string stripped_upper(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    std::string r = s.substr(a, b - a);
    for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

bool starts_with(const std::string& s, const char* head) { return s.rfind(head, 0) == 0; }

// "LON,LAT", as FlightGear reads a position (without a range check: "1,95" is a leg); nothing for
// any other text.
std::optional<FakeLeg> position_leg(const std::string& text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    char* end = nullptr;
    const double lon = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + comma) return std::nullopt;
    const double lat = std::strtod(text.c_str() + comma + 1, &end);
    if (*end != '\0') return std::nullopt;
    const int lon_deg = static_cast<int>(lon), lat_deg = static_cast<int>(lat);
    char name[32];
    std::snprintf(name, sizeof name, "%c%03d%c%03d", lon_deg < 0 ? 'W' : 'E', std::abs(lon_deg), lat_deg < 0 ? 'S' : 'N',
                  std::abs(lat_deg));
    return FakeLeg{name, lat, lon};
}

std::string number(double v) {
    char t[32];
    std::snprintf(t, sizeof t, "%.6f", v);
    return t;
}

}  // namespace

void FakeRouteManager::know_airport(const std::string& ident, double lat, double lon,
                                    const std::vector<std::string>& runways) {
    for (Place& a : airports_)
        if (a.ident == ident) {
            a.runways.insert(a.runways.end(), runways.begin(), runways.end());
            return;
        }
    airports_.push_back({ident, lat, lon, runways});
}

void FakeRouteManager::know_point(const std::string& ident, double lat, double lon) {
    points_.push_back({ident, lat, lon, {}});
}

std::vector<FakeLeg> FakeRouteManager::legs() const {
    std::vector<FakeLeg> r;
    for (const Leg& l : legs_) r.push_back(l.wp);
    return r;
}

std::vector<std::string> FakeRouteManager::idents() const {
    std::vector<std::string> r;
    for (const Leg& l : legs_) r.push_back(l.wp.id);
    return r;
}

bool FakeRouteManager::set(const std::string& path, const std::string& value) {
    if (!starts_with(path, kPrefix)) return false;
    const std::string name = path.substr(std::string(kPrefix).size());
    if (name == "input") {
        last_input_ = value;
        input(stripped_upper(value));
    } else if (name == "departure/airport") {
        set_airport(departure_, departure_runway_, value, true);
    } else if (name == "destination/airport") {
        set_airport(destination_, destination_runway_, value, false);
    } else if (name == "departure/runway") {
        set_runway(departure_, departure_runway_, value, true);
    } else if (name == "destination/runway") {
        set_runway(destination_, destination_runway_, value, false);
    } else if (name == "current-wp") {
        jump(std::strtol(value.c_str(), nullptr, 10));
    } else {
        return false;
    }
    return true;
}

std::optional<std::pair<std::string, std::string>> FakeRouteManager::get(const std::string& path) const {
    if (!starts_with(path, kPrefix)) return std::nullopt;
    const std::string name = path.substr(std::string(kPrefix).size());
    using Value = std::pair<std::string, std::string>;
    if (name == "input") return Value{last_input_, "string"};
    if (name == "departure/airport") return Value{departure_ ? departure_->ident : "", "string"};
    if (name == "destination/airport") return Value{destination_ ? destination_->ident : "", "string"};
    if (name == "departure/runway") return Value{departure_runway_, "string"};
    if (name == "destination/runway") return Value{destination_runway_, "string"};
    if (name == "current-wp") return Value{std::to_string(current_), "int"};
    if (name == "active") return Value{active_ ? "true" : "false", "bool"};
    if (name == "route/num") return Value{std::to_string(legs_.size()), "int"};
    // route/wp[i]/field, or route/wp/field for leg 0.
    if (!starts_with(name, "route/wp")) return std::nullopt;
    std::size_t at = 8, index = 0;
    if (at < name.size() && name[at] == '[') {
        const std::size_t close = name.find(']', at);
        if (close == std::string::npos) return std::nullopt;
        index = std::strtoul(name.c_str() + at + 1, nullptr, 10);
        at = close + 1;
    }
    if (index >= legs_.size() || at >= name.size() || name[at] != '/') return std::nullopt;
    const std::string field = name.substr(at + 1);
    const FakeLeg& wp = legs_[index].wp;
    if (field == "id") return Value{wp.id, "string"};
    if (field == "latitude-deg") return Value{number(wp.lat), "double"};
    if (field == "longitude-deg") return Value{number(wp.lon), "double"};
    return std::nullopt;
}

void FakeRouteManager::input(const std::string& command) {
    if (command.empty()) return;
    if (command == "@CLEAR") {
        clear();
    } else if (command == "@ACTIVATE") {
        if (active_) return;
        current_ = 0;
        active_ = true;
    } else if (command == "@NEXT") {
        jump(current_ + 1L);
    } else if (command == "@PREVIOUS") {
        jump(current_ - 1L);
    } else if (starts_with(command, "@JUMP")) {
        jump(std::strtol(command.c_str() + 5, nullptr, 10));
    } else if (starts_with(command, "@DELETE")) {
        remove_at(std::strtol(command.c_str() + 7, nullptr, 10));
    } else if (starts_with(command, "@INSERT")) {
        char* end = nullptr;
        const long index = std::strtol(command.c_str() + 7, &end, 10);
        if (*end != ':') return;
        const int at = static_cast<int>(std::clamp(index, -1L, 100000L));
        if (auto wp = waypoint(stripped_upper(end + 1), at)) insert({*wp, Role::route}, at);
    } else if (command[0] != '@') {
        if (auto wp = waypoint(command, -1)) insert({*wp, Role::route}, -1);
    }
}

// An ident is looked for near the route where the leg goes: the last leg when appending, the middle
// of the leg it goes into when inserting, the departure on an empty route.
std::optional<FakeLeg> FakeRouteManager::waypoint(const std::string& text, int index) const {
    if (auto p = position_leg(text)) return p;
    sim::LatLon near{};
    const int n = static_cast<int>(legs_.size());
    if (n == 0) {
        if (departure_) near = {departure_->lat, departure_->lon};
    } else if (index < 0 || index >= n) {
        near = {legs_.back().wp.lat, legs_.back().wp.lon};
    } else if (index == 0) {
        near = {legs_[0].wp.lat, legs_[0].wp.lon};
    } else {
        near = {(legs_[index - 1].wp.lat + legs_[index].wp.lat) / 2, (legs_[index - 1].wp.lon + legs_[index].wp.lon) / 2};
    }
    const Place* best = nullptr;
    double best_nm = 0;
    for (const auto* places : {&airports_, &points_})
        for (const Place& p : *places) {
            if (p.ident != text) continue;
            const double nm = sim::distance_nm(near, {p.lat, p.lon});
            if (!best || nm < best_nm) best = &p, best_nm = nm;
        }
    if (!best) return std::nullopt;
    return FakeLeg{best->ident, best->lat, best->lon};
}

void FakeRouteManager::insert(Leg leg, int index) {
    const int n = static_cast<int>(legs_.size());
    if (index < 0 || index > n) index = n;
    if (current_ >= index) ++current_;
    legs_.insert(legs_.begin() + index, std::move(leg));
}

// The legs of one role go; the current leg keeps its place, or is none when it went itself.
void FakeRouteManager::remove_role(Role role) {
    int before = 0;
    for (int i = 0; i < current_ && i < static_cast<int>(legs_.size()); ++i)
        if (legs_[static_cast<std::size_t>(i)].role == role) ++before;
    const bool current_goes = current_ >= 0 && current_ < static_cast<int>(legs_.size()) &&
                              legs_[static_cast<std::size_t>(current_)].role == role;
    const auto removed = std::erase_if(legs_, [role](const Leg& l) { return l.role == role; });
    if (removed == 0) return;
    current_ -= before;
    if (current_goes) current_ = -1;
    if (legs_.empty()) active_ = false;
}

void FakeRouteManager::clear() {
    if (legs_.empty() && current_ < 0) return;
    legs_.clear();
    current_ = -1;
    active_ = false;
    departure_changed();
    arrival_changed();
}

void FakeRouteManager::jump(long index) {
    if (index < -1 || index >= static_cast<long>(legs_.size())) return;
    current_ = static_cast<int>(index);
}

void FakeRouteManager::remove_at(long index) {
    if (index < 0) index += static_cast<long>(legs_.size());
    if (index < 0 || index >= static_cast<long>(legs_.size())) return;
    legs_.erase(legs_.begin() + index);
    if (current_ > index) --current_;
}

void FakeRouteManager::departure_changed() {
    remove_role(Role::departure);
    if (departure_) insert({airport_leg(*departure_, departure_runway_), Role::departure}, 0);
}

void FakeRouteManager::arrival_changed() {
    remove_role(Role::arrival);
    if (destination_) insert({airport_leg(*destination_, destination_runway_), Role::arrival}, -1);
}

const FakeRouteManager::Place* FakeRouteManager::airport(const std::string& ident) const {
    for (const Place& p : airports_)
        if (p.ident == ident) return &p;
    return nullptr;
}

void FakeRouteManager::set_airport(std::optional<Place>& airport_slot, std::string& runway, const std::string& ident,
                                   bool departure) {
    const Place* found = ident.size() < 3 ? nullptr : airport(ident);
    const std::string was = airport_slot ? airport_slot->ident : "";
    if ((found ? found->ident : "") == was) return;
    airport_slot = found ? std::optional<Place>(*found) : std::nullopt;
    runway.clear();
    if (departure) departure_changed();
    else arrival_changed();
}

void FakeRouteManager::set_runway(const std::optional<Place>& airport_slot, std::string& runway, const std::string& ident,
                                  bool departure) {
    if (!airport_slot || ident.empty() || ident == runway) return;
    const auto& known = airport_slot->runways;
    if (std::find(known.begin(), known.end(), ident) == known.end()) return;
    runway = ident;
    if (departure) departure_changed();
    else arrival_changed();
}

FakeLeg FakeRouteManager::airport_leg(const Place& a, const std::string& runway) const {
    return FakeLeg{runway.empty() ? a.ident : a.ident + "-" + runway, a.lat, a.lon};
}
