#include "flightplan/planning/pln_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/earth.h"
#include "sim/units.h"

namespace planner {

namespace {

// Put text at a column of a record, cut to its width.
void put(std::string& record, std::size_t column, std::size_t width, const std::string& text) {
    for (std::size_t i = 0; i < width && i < text.size() && column + i < record.size(); ++i) record[column + i] = text[i];
}

// Hemisphere letter, degrees, minutes and seconds to the hundredth, blanks between.
std::string coordinate_text(double deg, bool longitude) {
    const char hemisphere = longitude ? (deg < 0 ? 'W' : 'E') : (deg < 0 ? 'S' : 'N');
    const long long hundredths = std::llround(std::fabs(deg) * 360000.0);
    const long long d = hundredths / 360000, m = hundredths / 6000 % 60;
    const double s = static_cast<double>(hundredths % 6000) / 100.0;
    char text[32];
    if (longitude) std::snprintf(text, sizeof text, "%c%03lld %02lld %05.2f", hemisphere, d, m, s);
    else std::snprintf(text, sizeof text, "%c%02lld %02lld %05.2f", hemisphere, d, m, s);
    return text;
}

std::string frequency_text(const RoutePlace& p) {
    char text[16];
    std::snprintf(text, sizeof text, "%06.2f", p.frequency > 0 && p.frequency < 1000 ? p.frequency : 0.0);
    return text;
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

std::string format_record(const PlanPoint& p) {
    std::string r(pln_record_length, ' ');
    char text[32];
    put(r, 0, 5, p.place.type);
    put(r, 5, 5, p.place.ident);
    put(r, 12, 25, upper(p.place.name));
    put(r, 38, 6, frequency_text(p.place));
    put(r, 46, 13, coordinate_text(p.place.at.lat, false));
    put(r, 60, 13, coordinate_text(p.place.at.lon, true));
    std::snprintf(text, sizeof text, "%5d", std::max(-9999, std::min(99999, p.altitude_ft)));
    put(r, 75, 5, text);
    std::snprintf(text, sizeof text, "%03d", static_cast<int>(std::lround(sim::wrap_360(p.course_deg))) % 360);
    put(r, 82, 3, text);
    std::snprintf(text, sizeof text, "%7.1f", std::min(p.distance_nm, 99999.9));
    put(r, 87, 7, text);
    const long total = std::lround(p.minutes);
    std::snprintf(text, sizeof text, "%02ld:%02ld", std::min(total / 60, 99L), total % 60);
    put(r, 95, 5, text);
    return r;
}

std::string runway_end_text(const worlddata::Airport& a, std::size_t end, double variation_deg) {
    if (end + 1 > (a.ends.size() & ~std::size_t{1})) return {};
    const auto& from = a.ends[end];
    const auto& to = a.ends[end ^ 1u];
    const double heading = sim::course_deg({from.lat, from.lon}, {to.lat, to.lon});
    const double length = sim::distance_nm({from.lat, from.lon}, {to.lat, to.lon}) * sim::feet_per_nm;
    char text[32];
    const int magnetic = static_cast<int>(std::lround(sim::wrap_360(heading - variation_deg))) % 360;
    std::snprintf(text, sizeof text, "%-3.3s/%03d/%05d", from.designator.c_str(), magnetic == 0 ? 360 : magnetic,
                  static_cast<int>(std::min(99999.0, std::round(length))));
    return text;
}

std::string format_plan(const Profile& profile, const Performance& perf, const std::string& departure_runway,
                        const std::string& arrival_runway) {
    const auto& pts = profile.points;
    std::string t;
    char line[320];
    auto add = [&](const char* fmt, auto... args) {
        std::snprintf(line, sizeof line, fmt, args...);
        t += line;
        t += "\r\n";
    };
    add("[DEPARTURE]");
    add("AIRPORT=%s", pts.front().place.ident.c_str());
    add("RUNWAY=%s", departure_runway.c_str());
    add("[ARRIVAL]");
    add("AIRPORT=%s", pts.back().place.ident.c_str());
    add("RUNWAY=%s", arrival_runway.c_str());
    add("AIRCRAFT=%.255s", perf.aircraft.c_str());
    if (perf.cruise_speed <= 5.0) add("CRUISE_SPEED=%.2f", perf.cruise_speed);
    else add("CRUISE_SPEED=%d", static_cast<int>(perf.cruise_speed));
    add("CRUISE_ALTITUDE=%d", profile.cruise_altitude_ft);
    add("CLIMB_RATE=%d", perf.climb_rate_fpm);
    add("DESCENT_RATE=%d", perf.descent_rate_fpm);
    // The FMC holds one speed through a climb or a descent: the one below 10,000 ft, where the
    // limit applies.
    add("CLIMB_SPEED=%d", std::min(perf.climb_speed_kt, speed_limit_low_kt));
    add("DESCENT_SPEED=%d", std::min(perf.descent_speed_kt, speed_limit_low_kt));
    add("[WAYPOINTS]");
    for (const auto& p : pts) t += format_record(p) + "\r\n";
    return t;
}

}  // namespace planner
