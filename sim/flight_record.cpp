#include "sim/flight_record.h"

#include <cmath>
#include <cstdio>

namespace sim {

const char* const flight_csv_header =
    "t,latitude,longitude,altitude_ft,ias_kt,heading_true_deg,vertical_speed_fpm,ap_master,heading_hold,"
    "heading_bug_deg,altitude_hold,altitude_setting_ft,vertical_speed_setting_fpm,speed_hold,speed_setting_kt,"
    "autothrottle_armed";

void FlightRecorder::sample(double t, const AircraftState& s) {
    if (t + 1e-9 < next_second_) return;
    next_second_ = std::floor(t + 1e-9) + 1.0;
    samples_.push_back({std::floor(t + 1e-9), s.position, s.altitude_ft, s.ias_kt, s.true_heading_deg,
                        s.vertical_speed_fpm, s.autopilot});
}

std::optional<plat::Error> FlightRecorder::write_csv(const std::string& path) const {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return plat::Error{path + ": cannot write"};
    std::fprintf(f, "%s\n", flight_csv_header);
    for (const FlightSample& x : samples_) {
        const AutopilotSettings& ap = x.autopilot;
        std::fprintf(f, "%.0f,%.6f,%.6f,%.1f,%.1f,%.1f,%.0f,%d,%d,%.0f,%d,%.0f,%.0f,%d,%.0f,%d\n", x.t, x.position.lat,
                     x.position.lon, x.altitude_ft, x.ias_kt, x.true_heading_deg, x.vertical_speed_fpm, ap.master,
                     ap.heading_hold, ap.heading_bug_deg, ap.altitude_hold, ap.altitude_ft, ap.vertical_speed_fpm,
                     ap.speed_hold, ap.speed_kt, ap.autothrottle_armed);
    }
    const bool ok = std::fflush(f) == 0 && !std::ferror(f);
    std::fclose(f);
    if (!ok) return plat::Error{path + ": write failed"};
    return std::nullopt;
}

}  // namespace sim
