#pragma once
// The flight as it went: one sample per simulated second, written as flight.csv.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"
#include "sim/state.h"

namespace reports {

struct FlightSample {
    double t = 0;  // simulated seconds since the start of the run
    sim::LatLon position;
    double altitude_ft = 0, ias_kt = 0, true_heading_deg = 0, vertical_speed_fpm = 0;
    sim::AutopilotSettings autopilot;
    double flap_position = 0, gear_position = 0;  // 0 .. 1; the gear's mean of its legs
    bool on_ground = false;
    bool crashed = false;  // the flight's last row, at the moment of its crash
};

// Memory stays bounded however long the flight: the rows go to flight.csv as they are taken, and
// the samples kept for the track picture are thinned evenly once there are kTrackSamples.
class FlightRecorder {
public:
    static constexpr std::size_t kTrackSamples = 2048;

    FlightRecorder() = default;
    FlightRecorder(const FlightRecorder&) = delete;
    FlightRecorder& operator=(const FlightRecorder&) = delete;
    ~FlightRecorder();

    // Starts flight.csv with its header; every sample from then on is a row.
    std::optional<plat::Error> open_csv(const std::string& path);
    // Flushes the rows written so far; an error if any could not be written.
    std::optional<plat::Error> flush_csv();

    // Takes a sample when t has reached the next whole second.
    void sample(double t, const sim::AircraftState& s);
    // The last row, at the moment of the crash that ended the flight; no sample is taken after it.
    void record_crash(double t, const sim::AircraftState& s);
    // Samples taken since the start, whether kept or not.
    std::uint64_t taken() const { return taken_; }
    // The flight for the picture: every second at first, every 2nd, 4th.. second once thinned.
    const std::vector<FlightSample>& samples() const { return samples_; }

private:
    void write_row(const FlightSample& x);

    std::vector<FlightSample> samples_;
    double next_second_ = 0;
    std::uint64_t taken_ = 0;
    std::uint64_t keep_every_ = 1;
    bool ended_ = false;
    std::FILE* csv_ = nullptr;
    std::string csv_path_;
    bool csv_failed_ = false;
};

// The header line of flight.csv, without its line end.
extern const char* const flight_csv_header;

}  // namespace reports
