#pragma once
// Helpers of the aircraft tests: an airborne aircraft ready to fly, stepping in panel cycles, and a
// sink that keeps what the aircraft publishes.

#include <map>
#include <string>

#include "sim/aircraft.h"

namespace simtest {

inline constexpr double cycle_s = 1.0 / 18.0;

class MapSink : public sim::TokenSink {
public:
    void set_double(int token, double value) override { values[token] = value; }
    void set_int(int token, std::int32_t value) override { values[token] = value; }
    void set_text(int token, std::string_view text) override { texts[token] = std::string(text); }
    std::map<int, double> values;
    std::map<int, std::string> texts;
};

inline sim::Aircraft airborne(double alt_ft, double ias_kt, double heading = 90.0) {
    sim::Aircraft a;
    a.log = nullptr;
    sim::Placement p;
    p.lat = 37.0, p.lon = -122.0, p.altitude_ft = alt_ft, p.ias_kt = ias_kt, p.heading_deg = heading, p.on_ground = false;
    a.place(p);
    return a;
}

inline void fly(sim::Aircraft& a, double seconds) {
    const int n = static_cast<int>(seconds / cycle_s + 0.5);
    for (int i = 0; i < n; ++i) a.step(cycle_s);
}

inline void send(sim::Aircraft& a, std::uint32_t id, int times = 1, std::uint32_t value = 0) {
    for (int i = 0; i < times; ++i) a.apply_key_event(id, value);
}

inline std::string data_dir() {
    const char* d = std::getenv("PANEL_TEST_DATA");
    return std::string(d ? d : "tests/data") + "/navdata";
}

}  // namespace simtest
