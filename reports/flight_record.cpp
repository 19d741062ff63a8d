#include "reports/flight_record.h"

#include <cmath>
#include <cstdio>

#include "platform/file_error.h"

namespace reports {

const char* const flight_csv_header =
    "t,latitude,longitude,altitude_ft,ias_kt,heading_true_deg,vertical_speed_fpm,ap_master,heading_hold,"
    "heading_bug_deg,altitude_hold,altitude_setting_ft,vertical_speed_setting_fpm,speed_hold,speed_setting_kt,"
    "autothrottle_armed,flaps,gear,on_ground,crashed";

FlightRecorder::~FlightRecorder() {
    if (csv_) std::fclose(csv_);
}

std::optional<plat::Error> FlightRecorder::open_csv(const std::string& path) {
    if (csv_) std::fclose(csv_);
    csv_path_ = path;
    csv_failed_ = false;
    csv_ = std::fopen(path.c_str(), "wb");
    if (!csv_) return plat::cannot_write(path);
    if (std::fprintf(csv_, "%s\n", flight_csv_header) < 0) csv_failed_ = true;
    return std::nullopt;
}

std::optional<plat::Error> FlightRecorder::flush_csv() {
    if (!csv_) return std::nullopt;
    if (std::fflush(csv_) != 0 || std::ferror(csv_)) csv_failed_ = true;
    if (csv_failed_) return plat::Error{csv_path_ + ": write failed"};
    return std::nullopt;
}

void FlightRecorder::write_row(const FlightSample& x) {
    if (!csv_) return;
    const sim::AutopilotSettings& ap = x.autopilot;
    // Whole seconds but for the crash's moment.
    const int decimals = x.t == std::floor(x.t) ? 0 : 1;
    if (std::fprintf(csv_, "%.*f,%.6f,%.6f,%.1f,%.1f,%.1f,%.0f,%d,%d,%.0f,%d,%.0f,%.0f,%d,%.0f,%d,%.2f,%.2f,%d,%d\n", decimals, x.t,
                     x.position.lat, x.position.lon, x.altitude_ft, x.ias_kt, x.true_heading_deg, x.vertical_speed_fpm,
                     ap.master, ap.heading_hold, ap.heading_bug_deg, ap.altitude_hold, ap.altitude_ft,
                     ap.vertical_speed_fpm, ap.speed_hold, ap.speed_kt, ap.autothrottle_armed, x.flap_position,
                     x.gear_position, x.on_ground, x.crashed) < 0)
        csv_failed_ = true;
}

namespace {

FlightSample sample_of(double t, const sim::AircraftState& s) {
    return {t, s.position, s.altitude_ft, s.ias_kt, s.true_heading_deg, s.vertical_speed_fpm, s.autopilot, s.flap_position,
            (s.gear_position[0] + s.gear_position[1] + s.gear_position[2]) / 3.0, s.on_ground};
}

}  // namespace

void FlightRecorder::record_crash(double t, const sim::AircraftState& s) {
    if (ended_) return;
    ended_ = true;
    FlightSample x = sample_of(std::round(t * 10) / 10, s);
    x.crashed = true;
    write_row(x);
    // The track ends where the aircraft came to grief, within the bound on what is kept.
    if (samples_.size() == kTrackSamples) samples_.back() = x;
    else samples_.push_back(x);
}

void FlightRecorder::sample(double t, const sim::AircraftState& s) {
    if (ended_ || t + 1e-9 < next_second_) return;
    next_second_ = std::floor(t + 1e-9) + 1.0;
    const FlightSample x = sample_of(std::floor(t + 1e-9), s);
    write_row(x);
    if (taken_++ % keep_every_ != 0) return;
    if (samples_.size() == kTrackSamples) {
        // Every other one goes, so the kept samples stay evenly spaced at twice the interval.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < samples_.size(); i += 2) samples_[kept++] = samples_[i];
        samples_.resize(kept);
        keep_every_ *= 2;
        if ((taken_ - 1) % keep_every_ != 0) return;
    }
    samples_.push_back(x);
}

}  // namespace reports
