#pragma once
// The approaches both matrices fly, the aircraft's own and the one through the real host: ILS
// runways of the shipped world data on every continent, high fields and displaced thresholds among
// them; each kind of entry (an intercept at 30 degrees, from the side, above the glide slope, on
// it, slow, fast, from a small offset); calm air, 35 kt across from either side, a 10 kt tailwind
// and a quartering headwind.

#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "approach_flight.h"

namespace simtest {

inline const std::vector<Runway>& ils_runways() {
    static const std::vector<Runway> list = {
        {"KSFO", "28R", 111.70}, {"KSEA", "16R", 110.75}, {"KDEN", "16R", 111.90},  // Denver: 5,431 ft
        {"KJFK", "31R", 111.50},                                                     // displaced 314 m
        {"EGLL", "09L", 110.30},                                                     // displaced 306 m
        {"EDDF", "25R", 111.35}, {"MMMX", "05R", 109.10},  // Mexico City: 7,316 ft, displaced 455 m
        {"SKBO", "13R", 110.70},                           // Bogota: 8,361 ft
        {"SBGR", "09L", 110.70}, {"VHHH", "07R", 109.30}, {"RJTT", "34R", 108.90},
        {"YSSY", "16R", 109.50},
    };
    return list;
}

struct NamedEntry {
    const char* name;
    Entry entry;
};

inline Entry level_entry(double out_nm, double right_nm, double toward_deg, double height_ft, double ias_kt, double flaps,
                         bool gear_down) {
    Entry e;
    e.out_nm = out_nm, e.right_nm = right_nm, e.toward_deg = toward_deg, e.height_ft = height_ft;
    e.ias_kt = ias_kt, e.flaps = flaps, e.gear_down = gear_down;
    return e;
}

inline std::vector<NamedEntry> entries() {
    std::vector<NamedEntry> list = {
        {"intercept", level_entry(12, 1.0, 30, 2500, 190, 0.5, true)},
        {"side", level_entry(12, -2.5, 90, 2500, 200, 0.3, false)},
        {"above", level_entry(9, 0.3, 20, 0, 180, 0.5, true)},
        {"on_slope", level_entry(7, 0, 0, 0, 170, 0.75, true)},
        {"slow", level_entry(11, -0.6, 20, 2000, 150, 1.0, true)},
        {"fast", level_entry(14, 1.5, 45, 3000, 250, 0, false)},
        {"small_offset", level_entry(8, 0.2, 0, 2000, 180, 0.5, true)},
    };
    list[2].entry.height_ft.reset(), list[2].entry.dots_above = 1.0;
    list[3].entry.height_ft.reset(), list[3].entry.dots_above = 0;
    list[4].entry.speed_setting_kt = 140;
    return list;
}

struct Wind {
    const char* name;
    double from_deg, kt;  // from the runway's heading
};

inline const std::vector<Wind>& winds() {
    static const std::vector<Wind> list = {{"calm", 0, 0}, {"35kt_right", 90, 35}, {"35kt_left", -90, 35},
                                           {"10kt_tail", 180, 10}, {"20kt_quartering", -30, 20}};
    return list;
}

struct Case {
    Runway runway;
    NamedEntry entry;
    Wind wind;
    Entry flown() const {
        Entry e = entry.entry;
        e.wind_from_deg = wind.from_deg, e.wind_kt = wind.kt;
        return e;
    }
};

// Each runway with every entry, the winds taken in turn (shifted by `shift`) so that every runway
// and every entry meets each of them.
inline std::vector<Case> cases(std::size_t shift = 0) {
    std::vector<Case> list;
    const auto named = entries();
    const auto& rwys = ils_runways();
    for (std::size_t r = 0; r < rwys.size(); ++r)
        for (std::size_t e = 0; e < named.size(); ++e)
            list.push_back({rwys[r], named[e], winds()[(r + e + shift) % winds().size()]});
    return list;
}

inline std::string case_name(const Case& c) {
    return c.runway.airport + "_" + c.runway.designator + "_" + c.entry.name + "_" + c.wind.name;
}

inline void PrintTo(const Case& c, std::ostream* os) { *os << case_name(c); }

}  // namespace simtest
