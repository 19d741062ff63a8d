#include "flightplan/formats/route_text.h"

#include <algorithm>
#include <cctype>

namespace planner {

namespace {

constexpr std::size_t record_length = 103;
constexpr std::size_t record_step = 105;
constexpr std::size_t max_records = 256;

// A number starting at offset i of s, read no further than the field's end.
bool number_at(std::string_view s, std::size_t i, double& out) {
    while (i < s.size() && s[i] == ' ') ++i;
    double value = 0, scale = 0;
    bool digits = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            if (scale == 0) value = value * 10 + (c - '0');
            else value += (c - '0') * scale, scale /= 10;
        } else if (c == '.' && scale == 0) {
            scale = 0.1;
        } else {
            break;
        }
    }
    out = value;
    return digits;
}

std::string trimmed(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return std::string(s);
}

// The designator of the "RUNWAY=" line between from and to ("" without one): up to its "/", blanks
// trimmed.
std::string runway_between(std::string_view text, std::size_t from, std::size_t to) {
    if (from == std::string_view::npos) return {};
    const std::size_t at = text.find("RUNWAY=", from);
    if (at == std::string_view::npos || at >= to) return {};
    const std::size_t value = at + 7;
    const std::size_t end = text.find_first_of(std::string_view("/\r\n\0", 4), value);
    return trimmed(text.substr(value, (end == std::string_view::npos ? text.size() : end) - value));
}

}  // namespace

PlanRunways parse_plan_runways(std::string_view text) {
    const std::size_t departure = text.find("[DEPARTURE]"), arrival = text.find("[ARRIVAL]"),
                      waypoints = text.find("[WAYPOINTS]");
    PlanRunways r;
    r.departure = runway_between(text, departure, std::min(arrival, waypoints));
    r.arrival = runway_between(text, arrival, waypoints);
    return r;
}

bool parse_coordinate_field(std::string_view field, bool longitude, double& degrees) {
    if (field.empty()) return false;
    const char hemisphere = field[0];
    const bool negative = longitude ? hemisphere == 'W' : hemisphere == 'S';
    if (longitude ? (hemisphere != 'E' && hemisphere != 'W') : (hemisphere != 'N' && hemisphere != 'S')) return false;
    double d = 0, m = 0, s = 0;
    const std::size_t minutes_at = longitude ? 5 : 4, seconds_at = longitude ? 8 : 7;
    if (!number_at(field, 1, d) || !number_at(field, minutes_at, m)) return false;
    number_at(field, seconds_at, s);
    degrees = d + (m + s / 60.0) / 60.0;
    if (negative) degrees = -degrees;
    return true;
}

std::vector<RoutePoint> parse_route_text(std::string_view text) {
    std::vector<RoutePoint> points;
    const std::size_t header = text.find("[WAYPOINTS]");
    if (header == std::string_view::npos) return points;
    for (std::size_t at = header + 11 + 2; at + record_length <= text.size() && points.size() < max_records; at += record_step) {
        const std::string_view record = text.substr(at, record_length);
        if (!std::isalpha(static_cast<unsigned char>(record[0]))) break;
        RoutePoint p;
        p.type = trimmed(record.substr(0, 5));
        p.ident = trimmed(record.substr(5, 5));
        if (!parse_coordinate_field(record.substr(46, 14), false, p.at.lat) ||
            !parse_coordinate_field(record.substr(60, 14), true, p.at.lon))
            break;
        const std::string_view time = record.substr(95, 5);
        if (time[2] == ':' && std::isdigit(static_cast<unsigned char>(time[0])) &&
            std::isdigit(static_cast<unsigned char>(time[1])) && std::isdigit(static_cast<unsigned char>(time[3])) &&
            std::isdigit(static_cast<unsigned char>(time[4])))
            p.minutes = ((time[0] - '0') * 10 + (time[1] - '0')) * 60 + (time[3] - '0') * 10 + (time[4] - '0');
        points.push_back(std::move(p));
    }
    return points;
}

}  // namespace planner
