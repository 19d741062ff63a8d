#include "flightplan/formats/fs9_pln_format.h"

#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "flightplan/formats/msfs_pln_format.h"

namespace planner {

namespace {

constexpr std::size_t most_waypoints = 10000;

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::vector<std::string_view> split_commas(std::string_view s) {
    std::vector<std::string_view> out;
    while (true) {
        const std::size_t comma = s.find(',');
        out.push_back(trim(s.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        s.remove_prefix(comma + 1);
    }
    return out;
}

bool type_letter(std::string_view s) { return s.size() == 1 && std::string_view("AVNIU").find(s[0]) != std::string_view::npos; }

struct Entry {
    std::string_view value;
    std::size_t line;
};

class Reader {
public:
    explicit Reader(std::string_view file) : file_(file) {}

    plat::Result<FlightPlan> read(std::string_view text) {
        if (!looks_like_fs9_pln(text)) return file_error(file_, 1, "not an FS2004 flight plan: no [flightplan] section");
        std::map<std::string, Entry> keys;
        std::map<std::size_t, Entry> points;
        std::size_t number = 0;
        bool in_plan = false;
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find('\n', at);
            if (end == std::string_view::npos) end = text.size();
            const std::string_view line = trim(text.substr(at, end - at));
            at = end + 1;
            ++number;
            if (line.empty() || line[0] == ';') continue;
            if (line[0] == '[') {
                in_plan = lower(line) == "[flightplan]";
                continue;
            }
            if (!in_plan) continue;
            const std::size_t eq = line.find('=');
            if (eq == std::string_view::npos) return file_error(file_, number, "a line without '=' in [flightplan]");
            const std::string key = lower(trim(line.substr(0, eq)));
            const Entry entry{trim(line.substr(eq + 1)), number};
            if (key.rfind("waypoint.", 0) == 0) {
                const auto n = number_in(key.substr(9), 0, most_waypoints);
                if (!n || *n != std::floor(*n)) return file_error(file_, number, "'" + key + "' is not a waypoint number");
                if (!points.emplace(static_cast<std::size_t>(*n), entry).second)
                    return file_error(file_, number, "'" + key + "' is given twice");
            } else {
                keys.emplace(key, entry);
            }
        }
        if (auto it = keys.find("cruising_altitude"); it != keys.end())
            if (const auto a = number_in(it->second.value, 1, 99999)) plan_.cruise_altitude_ft = static_cast<int>(*a);
        for (auto [key, runway, line] : {std::tuple{"departure_position", &plan_.departure_runway, &plan_.departure_runway_line},
                                         std::tuple{"destination_position", &plan_.arrival_runway, &plan_.arrival_runway_line}})
            if (auto it = keys.find(key); it != keys.end() && !runway_designator(it->second.value).empty())
                *runway = runway_designator(it->second.value), *line = it->second.line;
        for (const auto& [n, entry] : points)
            if (auto e = point(entry)) return *e;
        if (plan_.waypoints.size() < 2)
            return file_error(file_, number, "a flight plan needs at least its two airports as waypoint lines");
        return std::move(plan_);
    }

private:
    std::optional<plat::Error> point(const Entry& entry) {
        const std::vector<std::string_view> f = split_commas(entry.value);
        // FS2004's own form: region, ident, blank, ident, type, ...; the short form: ident, type, ...
        std::size_t first = 0;
        if (f.size() >= 8 && type_letter(f[4])) first = 3;
        else if (f.size() >= 5 && type_letter(f[1])) first = 0;
        else
            return file_error(file_, entry.line,
                              "a waypoint needs ident, type (A, V, N, I, U), latitude, longitude and altitude");
        const std::string ident(f[first]);
        const char type = f[first + 1][0];
        const auto lat = parse_dms(f[first + 2]);
        const auto lon = parse_dms(f[first + 3]);
        if (!lat || !lon || std::fabs(*lat) > 90 || std::fabs(*lon) > 180)
            return file_error(file_, entry.line, "waypoint '" + ident + "': no position ('N37* 37.13'', 'W122* 22.52'')");
        if (ident.empty() && type != 'U') return file_error(file_, entry.line, "a waypoint without an ident");
        const char* kind = type == 'A' ? "APT" : type == 'V' ? "VOR" : type == 'N' ? "NDB" : "INT";
        PlanWaypoint w = stated_point(kind, ident, {*lat, *lon});
        w.user_point = type == 'U';
        if (type != 'A')
            if (const auto a = number_in(f[first + 4], -2000, 99999)) w.altitude_ft = static_cast<int>(std::lround(*a));
        if (f.size() > first + 5) w.airway = std::string(f[first + 5]);
        w.line = entry.line;
        plan_.waypoints.push_back(std::move(w));
        return std::nullopt;
    }

    std::string file_;
    FlightPlan plan_;
};

}  // namespace

bool looks_like_fs9_pln(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && lower(text.substr(first, 12)) == "[flightplan]";
}

plat::Result<FlightPlan> read_fs9_pln(std::string_view text, std::string_view file) { return Reader(file).read(text); }

}  // namespace planner
