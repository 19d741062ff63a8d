#include "flightplan/formats/fms_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "flightplan/formats/plan_table.h"

namespace planner {

namespace {

struct Line {
    std::size_t number;  // 1-based
    std::vector<std::string> fields;
};

std::vector<Line> lines_of(std::string_view text) {
    std::vector<Line> lines;
    std::size_t number = 0, at = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") at = 3;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        ++number;
        Line l{number, {}};
        std::string f;
        for (std::size_t i = at; i < end; ++i) {
            const char c = text[i];
            if (c == ' ' || c == '\t' || c == '\r') {
                if (!f.empty()) l.fields.push_back(std::move(f)), f.clear();
            } else {
                f += c;
            }
        }
        if (!f.empty()) l.fields.push_back(std::move(f));
        if (!l.fields.empty()) lines.push_back(std::move(l));
        at = end + 1;
    }
    return lines;
}

bool to_double(const std::string& s, double& v) {
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return !s.empty() && *end == '\0' && std::isfinite(v);
}

bool to_count(const std::string& s, long& v) {
    char* end = nullptr;
    v = std::strtol(s.c_str(), &end, 10);
    return !s.empty() && *end == '\0' && v >= 0 && v <= 10000;
}

class Reader {
public:
    explicit Reader(std::string_view file) : file_(file) {}

    plat::Result<FlightPlan> read(std::string_view text) {
        const std::vector<Line> lines = lines_of(text);
        if (lines.size() < 2 || (lines[0].fields[0] != "I" && lines[0].fields[0] != "A"))
            return file_error(file_, lines.empty() ? 0 : lines[0].number,
                              "not an X-Plane FMS file: the first line must be I or A");
        const Line& v = lines[1];
        if (v.fields.size() < 2 || (v.fields[1] != "Version" && v.fields[1] != "version"))
            return file_error(file_, v.number, "not an X-Plane FMS file: the second line must be the version");
        if (v.fields[0] == "3") return read_v3(lines);
        if (v.fields[0] == "1100") return read_v1100(lines);
        return file_error(file_, v.number, "FMS version " + v.fields[0] + " is not read (3 and 1100 are)");
    }

private:
    plat::Result<FlightPlan> read_v3(const std::vector<Line>& lines) {
        if (lines.size() < 4) return file_error(file_, lines.back().number, "the file ends before its waypoint count");
        long count = 0;
        if (lines[3].fields.size() != 1 || !to_count(lines[3].fields[0], count))
            return file_error(file_, lines[3].number, "the waypoint count must be a number");
        const std::size_t held = lines.size() - 4;
        if (held != static_cast<std::size_t>(count) + 1)
            return file_error(
                file_, lines[3].number,
                "the count says " + std::to_string(count + 1) + " waypoints, the file holds " + std::to_string(held));
        for (std::size_t i = 4; i < lines.size(); ++i)
            if (auto e = waypoint(lines[i], false)) return *e;
        return finish(lines.back().number);
    }

    plat::Result<FlightPlan> read_v1100(const std::vector<Line>& lines) {
        std::size_t i = 2;
        long count = -1;
        bool cycle = false;
        std::size_t count_line = 0;
        for (; i < lines.size() && count < 0; ++i) {
            const Line& l = lines[i];
            const std::string& key = l.fields[0];
            const std::string value = l.fields.size() > 1 ? l.fields[1] : "";
            if (key == "NUMENR") {
                if (!to_count(value, count)) return file_error(file_, l.number, "NUMENR must be a number");
                count_line = l.number;
            } else if (key == "CYCLE") {
                cycle = true;
            } else if (key == "DEPRWY" || key == "DESRWY") {
                (key == "DEPRWY" ? plan_.departure_runway : plan_.arrival_runway) =
                    value.rfind("RW", 0) == 0 ? value.substr(2) : value;
                (key == "DEPRWY" ? plan_.departure_runway_line : plan_.arrival_runway_line) = l.number;
            } else if (key == "SID" || key == "STAR" || key == "APP") {
                plan_.warnings.push_back("skipped " + key + " " + value + ": the world data holds no procedures");
            } else if (key != "ADEP" && key != "ADES" && key != "DEP" && key != "DES" && key != "SIDTRANS" &&
                       key != "STARTRANS" && key != "APPTRANS") {
                return file_error(file_, l.number, "unknown header line '" + key + "'");
            }
        }
        if (count < 0) return file_error(file_, lines.back().number, "no NUMENR line");
        if (!cycle) return file_error(file_, count_line, "no CYCLE line before NUMENR");
        const std::size_t held = lines.size() - i;
        if (held != static_cast<std::size_t>(count))
            return file_error(
                file_, count_line,
                "NUMENR says " + std::to_string(count) + " waypoints, the file holds " + std::to_string(held));
        for (; i < lines.size(); ++i)
            if (auto e = waypoint(lines[i], true)) return *e;
        return finish(lines.back().number);
    }

    std::optional<plat::Error> waypoint(const Line& l, bool with_via) {
        const std::size_t n = with_via ? 6 : 5;
        if (l.fields.size() < n)
            return file_error(
                file_, l.number,
                "a waypoint line needs " + std::string(with_via ? "type, ident, via, altitude, latitude, longitude"
                                                                : "type, ident, altitude, latitude, longitude"));
        long type = 0;
        double alt = 0, lat = 0, lon = 0;
        const std::size_t k = with_via ? 3 : 2;
        if (!to_count(l.fields[0], type))
            return file_error(file_, l.number, "waypoint type '" + l.fields[0] + "' is not a number");
        if (!to_double(l.fields[k], alt) || !to_double(l.fields[k + 1], lat) || !to_double(l.fields[k + 2], lon) ||
            std::fabs(lat) > 90 || std::fabs(lon) > 180)
            return file_error(file_, l.number,
                              "altitude, latitude and longitude must be numbers (degrees within range)");
        const std::string& ident = l.fields[1];
        const sim::LatLon at{lat, lon};
        PlanWaypoint w;
        if (type == 1) {
            w = stated_point("APT", ident, at);
        } else if (type == 28) {
            // X-Plane names a point of its own by its position ("+37.500_-122.000"); a user's own
            // name ("RW27", "D0") is kept.
            const bool position_name = ident.find('_') != std::string::npos && (ident[0] == '+' || ident[0] == '-');
            w = stated_point("INT", position_name ? "" : ident, at);
            w.user_point = true;
        } else if (type == 2 || type == 3 || type == 11 || type == 13) {
            w = stated_point(type == 2 ? "NDB" : type == 3 || type == 13 ? "VOR" : "INT", ident, at);
        } else {
            return file_error(file_, l.number, "waypoint type " + l.fields[0] + " is not known (1, 2, 3, 11, 13, 28)");
        }
        w.line = l.number;
        w.altitude_ft = static_cast<int>(std::lround(std::clamp(alt, -2000.0, 99999.0)));
        if (type == 1) w.altitude_ft = 0;
        if (with_via && l.fields[2] != "DRCT" && l.fields[2] != "ADEP" && l.fields[2] != "ADES" &&
            l.fields[2] != "DEP" && l.fields[2] != "DES")
            w.airway = l.fields[2];
        plan_.waypoints.push_back(std::move(w));
        return std::nullopt;
    }

    plat::Result<FlightPlan> finish(std::size_t last_line) {
        auto& w = plan_.waypoints;
        if (w.size() < 2) return file_error(file_, last_line, "a plan needs at least two waypoints");
        int highest = 0;
        for (std::size_t i = 1; i + 1 < w.size(); ++i) highest = std::max(highest, w[i].altitude_ft);
        if (highest > 0) plan_.cruise_altitude_ft = highest;
        return std::move(plan_);
    }

    std::string file_;
    FlightPlan plan_;
};

int fms_type(const PlanWaypoint& w) {
    const RoutePlace& p = w.place;
    if (p.type == "APT") return 1;
    if (p.type == "NDB") return 2;
    if (p.type == "VOR") return 3;
    return is_latlon_point(p) || w.user_point ? 28 : 11;
}

}  // namespace

plat::Result<FlightPlan> read_fms(std::string_view text, std::string_view file) {
    return Reader(file).read(text);
}

bool looks_like_fms(std::string_view text) {
    const auto lines = lines_of(text.substr(0, 200));
    return lines.size() >= 2 && lines[0].fields.size() == 1 &&
           (lines[0].fields[0] == "I" || lines[0].fields[0] == "A") && lines[1].fields.size() >= 2 &&
           (lines[1].fields[1] == "Version" || lines[1].fields[1] == "version");
}

std::string write_fms(const FlightPlan& plan, const Performance& perf) {
    std::string t = "I\n1100 Version\nCYCLE 1310\n";
    const auto& w = plan.waypoints;
    if (w.empty()) return t;
    t += "ADEP " + w.front().place.ident + "\n";
    if (!plan.departure_runway.empty()) t += "DEPRWY RW" + plan.departure_runway + "\n";
    t += "ADES " + w.back().place.ident + "\n";
    if (!plan.arrival_runway.empty()) t += "DESRWY RW" + plan.arrival_runway + "\n";
    t += "NUMENR " + std::to_string(w.size()) + "\n";
    const std::vector<int> planned = planned_altitudes(plan, perf);
    char line[160];
    for (std::size_t i = 0; i < w.size(); ++i) {
        const RoutePlace& p = w[i].place;
        const int type = fms_type(w[i]);
        const bool end = i == 0 || i + 1 == w.size();
        std::string via = i == 0 ? "ADEP" : i + 1 == w.size() ? "ADES" : w[i].airway.empty() ? "DRCT" : w[i].airway;
        // A point's own restriction, else the level the profile flies it at.
        int alt = w[i].altitude_rule != AltitudeRule::planned ? w[i].altitude_ft : 0;
        if (alt == 0) alt = end ? static_cast<int>(p.elevation_ft) : i < planned.size() ? planned[i] : w[i].altitude_ft;
        std::string ident = p.ident.substr(0, 8);
        if (is_latlon_point(p) || ident.empty()) {
            char text[40];
            std::snprintf(text, sizeof text, "%+.3f_%+.3f", p.at.lat, p.at.lon);
            ident = text;
        }
        std::snprintf(line, sizeof line, "%d %s %s %d.000000 %.6f %.6f\n", type, ident.c_str(), via.c_str(), alt,
                      p.at.lat, p.at.lon);
        t += line;
    }
    return t;
}

}  // namespace planner
