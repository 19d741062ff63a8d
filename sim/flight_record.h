#pragma once
// The flight as it went: one sample per simulated second, written as flight.csv.

#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"
#include "sim/state.h"

namespace sim {

struct FlightSample {
    double t = 0;  // simulated seconds since the start of the run
    LatLon position;
    double altitude_ft = 0, ias_kt = 0, true_heading_deg = 0, vertical_speed_fpm = 0;
    AutopilotSettings autopilot;
};

class FlightRecorder {
public:
    // Takes a sample when t has reached the next whole second.
    void sample(double t, const AircraftState& s);
    const std::vector<FlightSample>& samples() const { return samples_; }
    std::optional<plat::Error> write_csv(const std::string& path) const;

private:
    std::vector<FlightSample> samples_;
    double next_second_ = 0;
};

// The header line of flight.csv, without its line end.
extern const char* const flight_csv_header;

}  // namespace sim
