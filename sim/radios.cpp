#include "sim/radios.h"

#include <algorithm>
#include <cmath>

#include "sim/state.h"
#include "sim/units.h"

namespace sim {

namespace {

constexpr double horizon_nm_per_root_foot = 1.23;  // VHF radio horizon: 1.23 sqrt(h ft) NM
constexpr double needle_full = 127.0;
constexpr double vor_full_scale_deg = 10.0;
constexpr double localizer_full_scale_deg = 2.5;
constexpr double glide_full_scale_deg = 0.7;
constexpr double localizer_sector_deg = 35.0;
constexpr double glide_sector_deg = 8.0;
constexpr double cone_of_silence_tan = 1.0;  // overhead within 45 degrees of the vertical
constexpr double marker_cone_tan = 0.84;     // a marker is heard within 40 degrees of the vertical above it
constexpr double marker_ceiling_ft = 5000.0;
constexpr double marker_search_deg = 0.05;   // markers farther than this in latitude are never heard
constexpr double dme_speed_lag_s = 1.0;
constexpr double parked_needle_deg = 90.0;   // where a needle rests without a station

double needle(double deg, double full_scale_deg) {
    return std::clamp(deg * needle_full / full_scale_deg, -needle_full, needle_full);
}

double horizon_nm(double aircraft_ft, double station_ft) {
    return horizon_nm_per_root_foot * (std::sqrt(std::max(0.0, aircraft_ft)) + std::sqrt(std::max(0.0, station_ft)));
}

// A station whose latitude alone puts it beyond its range, so the great circle need not be worked out.
bool surely_beyond(const RadioStation& st, LatLon aircraft) {
    return std::fabs(st.at.lat - aircraft.lat) * 60.0 > st.range_nm;
}

// Whether a VHF station reaches the aircraft at ground distance d.
bool vhf_reaches(const RadioStation& st, double d, double altitude_ft) {
    return d <= st.range_nm && d <= horizon_nm(altitude_ft, st.elevation_ft);
}

// The angle between the approach course of a localizer or glide slope and the aircraft seen from
// the antenna: 0 on the extended centre line, positive when the aircraft is left of it inbound.
double off_approach_deg(const RadioStation& st, LatLon aircraft) {
    return wrap_180(course_deg(st.at, aircraft) - (st.course_deg + 180.0));
}

double slant_nm(double ground_nm, double height_ft) {
    const double h = height_ft / feet_per_nm;
    return std::sqrt(ground_nm * ground_nm + h * h);
}

struct Heard {
    const RadioStation* station = nullptr;
    double distance_nm = 0;
};

void keep_nearest(Heard& best, const RadioStation& st, double d) {
    if (!best.station || d < best.distance_nm) best = {&st, d};
}

// The station a NAV receiver locks on: the nearest VOR or localizer heard, and the DME that goes
// with it (same identifier); a lone DME when nothing else is heard.
struct NavLock {
    Heard nav, dme, glide;
};

// The two ends of a runway often share one ILS frequency; only the end in use transmits, so a
// receiver locked on a localizer keeps it while it is heard, even over the other end's antenna.
NavLock lock_on(std::span<const RadioStation> channel, const AircraftState& s, const std::string& held_localizer) {
    NavLock lock;
    Heard any_dme;
    bool holding = false;
    for (const RadioStation& st : channel) {
        if (surely_beyond(st, s.position)) continue;
        const double d = distance_nm(s.position, st.at);
        if (!vhf_reaches(st, d, s.altitude_ft)) continue;
        switch (st.kind) {
            case RadioStation::vor:
                if (!holding) keep_nearest(lock.nav, st, d);
                break;
            case RadioStation::localizer:
                if (std::fabs(off_approach_deg(st, s.position)) > localizer_sector_deg) break;
                if (!held_localizer.empty() && st.ident == held_localizer) {
                    lock.nav = {&st, d};
                    holding = true;
                } else if (!holding) {
                    keep_nearest(lock.nav, st, d);
                }
                break;
            case RadioStation::dme: keep_nearest(any_dme, st, d); break;
            default: break;
        }
    }
    if (!lock.nav.station) {
        lock.dme = any_dme;
        return lock;
    }
    const std::string& ident = lock.nav.station->ident;
    for (const RadioStation& st : channel) {
        if (st.ident != ident || surely_beyond(st, s.position)) continue;
        const double d = distance_nm(s.position, st.at);
        if (!vhf_reaches(st, d, s.altitude_ft)) continue;
        if (st.kind == RadioStation::dme) keep_nearest(lock.dme, st, d);
        if (st.kind == RadioStation::glide_slope && lock.nav.station->kind == RadioStation::localizer &&
            std::fabs(off_approach_deg(st, s.position)) <= glide_sector_deg)
            keep_nearest(lock.glide, st, d);
    }
    return lock;
}

void answer_vor(NavReception& r, const RadioStation& st, double d, const AircraftState& s, double course) {
    const double radial = wrap_360(course_deg(st.at, s.position) - st.variation_deg);
    const double off = wrap_180(radial - course);
    r.overhead = d * feet_per_nm < (s.altitude_ft - st.elevation_ft) * cone_of_silence_tan;
    if (r.overhead) {
        r.to_from = ToFrom::neither;
        r.deviation = 0;
    } else if (std::fabs(off) < 90.0) {
        // Outbound: a radial clockwise of the course puts the course on the left.
        r.to_from = ToFrom::from;
        r.deviation = needle(-off, vor_full_scale_deg);
    } else {
        r.to_from = ToFrom::to;
        r.deviation = needle(wrap_180(radial - course - 180.0), vor_full_scale_deg);
    }
}

void answer_localizer(NavReception& r, const RadioStation& st, const AircraftState& s) {
    r.localizer = true;
    r.localizer_course_deg = st.course_deg;
    r.localizer_glide_slope = st.with_glide_slope;
    r.localizer_on_runway_axis = st.on_runway_axis;
    r.to_from = ToFrom::to;
    r.deviation = needle(off_approach_deg(st, s.position), localizer_full_scale_deg);
}

void answer_glide_slope(NavReception& r, const Heard& gs, const AircraftState& s) {
    const RadioStation& st = *gs.station;
    const double above_deg =
        std::atan2(s.altitude_ft - st.elevation_ft, gs.distance_nm * feet_per_nm) * radians_to_degrees;
    r.glide_slope = true;
    r.glide_angle_deg = st.glide_deg;
    r.glide_nm = gs.distance_nm;
    r.glide_deviation = needle(above_deg - st.glide_deg, glide_full_scale_deg);
}

void answer_dme(NavReception& r, const Heard& dme, const AircraftState& s, double dt) {
    const RadioStation& st = *dme.station;
    const double slant = slant_nm(dme.distance_nm, s.altitude_ft - st.elevation_ft);
    if (!r.dme || r.dme_ident != st.ident) {
        r.dme_kt = 0;
    } else if (dt > 0) {
        const double rate = std::fabs(r.dme_nm - slant) / dt * seconds_per_hour;
        r.dme_kt += (rate - r.dme_kt) * std::min(1.0, dt / dme_speed_lag_s);
    }
    r.dme = true;
    r.dme_ident = st.ident;
    r.dme_nm = slant;
}

void answer_nav(NavReception& r, std::span<const RadioStation> channel, const AircraftState& s, double course,
                double dt) {
    const NavLock lock = lock_on(channel, s, r.received && r.localizer ? r.ident : std::string());
    r.received = lock.nav.station != nullptr;
    r.localizer = r.localizer_glide_slope = r.localizer_on_runway_axis = false;
    r.overhead = false;
    r.glide_slope = false;
    r.glide_deviation = 0;
    r.deviation = 0;
    r.to_from = ToFrom::neither;
    r.ident.clear();
    r.bearing_deg = parked_needle_deg;
    if (const RadioStation* st = lock.nav.station) {
        r.ident = st->ident;
        r.bearing_deg = course_deg(s.position, st->at);
        r.station_nm = lock.nav.distance_nm;
        if (st->kind == RadioStation::vor) answer_vor(r, *st, lock.nav.distance_nm, s, course);
        else answer_localizer(r, *st, s);
        if (lock.glide.station) answer_glide_slope(r, lock.glide, s);
    }
    if (lock.dme.station) {
        answer_dme(r, lock.dme, s, dt);
    } else {
        r.dme = false;
        r.dme_nm = r.dme_kt = 0;
        r.dme_ident.clear();
    }
}

void answer_adf(AdfReception& r, std::span<const RadioStation> channel, const AircraftState& s) {
    Heard best;
    for (const RadioStation& st : channel) {
        if (surely_beyond(st, s.position)) continue;
        const double d = distance_nm(s.position, st.at);
        if (d <= st.range_nm) keep_nearest(best, st, d);
    }
    r.received = best.station != nullptr;
    r.ident = r.received ? best.station->ident : std::string();
    r.bearing_deg = r.received ? course_deg(s.position, best.station->at) : parked_needle_deg;
}

int marker_heard(const RadioStations& stations, const AircraftState& s) {
    int heard = 0;
    double nearest_ft = 0;
    for (const MarkerBeacon& m : stations.markers_near(s.position.lat, marker_search_deg)) {
        const double height = s.altitude_ft - m.elevation_ft;
        if (height <= 0 || height > marker_ceiling_ft) continue;
        const double ground_ft = distance_nm(s.position, m.at) * feet_per_nm;
        if (ground_ft > height * marker_cone_tan) continue;
        if (!heard || ground_ft < nearest_ft) heard = m.kind, nearest_ft = ground_ft;
    }
    return heard;
}

// value brought into low .. low + span - 1.
int wrapped(int value, int low, int span) { return low + ((value - low) % span + span) % span; }

}  // namespace

void run_radios(AircraftState& s, const RadioStations& stations, double dt) {
    for (std::size_t i = 0; i < s.radios.nav_channel.size(); ++i)
        answer_nav(s.reception.nav[i], stations.vhf_on(s.radios.nav_channel[i]), s, s.radios.course_deg[i], dt);
    answer_adf(s.reception.adf, stations.ndbs_on(s.radios.adf_khz), s);
    s.reception.marker = marker_heard(stations, s);
}

std::int32_t nav_frequency_bcd(double mhz) {
    // 108.00 .. 117.95 MHz: the digits after the leading 1, "0800" .. "1795".
    const long hundredths = std::lround(std::clamp(mhz, 100.0, 199.99) * 100.0) - 10000;
    std::int32_t bcd = 0;
    long rest = std::clamp(hundredths, 0L, 9999L);
    for (int shift = 0; shift < 16; shift += 4, rest /= 10) bcd |= static_cast<std::int32_t>(rest % 10) << shift;
    return bcd;
}

void turn_knob(RadioTuning& t, RadioKnob knob, int steps, bool coarse) {
    switch (knob) {
        case RadioKnob::nav1:
        case RadioKnob::nav2: {
            int& channel = t.nav_channel[knob == RadioKnob::nav1 ? 0 : 1];
            channel = wrapped(channel + steps * (coarse ? 100 : 5), nav_channel_min, nav_channel_max + 5 - nav_channel_min);
            break;
        }
        case RadioKnob::course1:
        case RadioKnob::course2: {
            double& course = t.course_deg[knob == RadioKnob::course1 ? 0 : 1];
            course = wrap_360(std::round(course) + steps * (coarse ? 10 : 1));
            break;
        }
        case RadioKnob::adf: t.adf_khz = wrapped(t.adf_khz + steps * (coarse ? 100 : 1), adf_khz_min, adf_khz_max + 1 - adf_khz_min); break;
    }
}

bool set_knob(RadioTuning& t, RadioKnob knob, double value) {
    switch (knob) {
        case RadioKnob::nav1:
        case RadioKnob::nav2: {
            const int channel = vhf_channel(value);
            if (!(value > 0) || channel < nav_channel_min || channel > nav_channel_max) return false;
            t.nav_channel[knob == RadioKnob::nav1 ? 0 : 1] = channel;
            return true;
        }
        case RadioKnob::course1:
        case RadioKnob::course2:
            if (!(value >= 0 && value <= 360)) return false;
            t.course_deg[knob == RadioKnob::course1 ? 0 : 1] = wrap_360(value);
            return true;
        case RadioKnob::adf:
            if (!(value >= adf_khz_min && value <= adf_khz_max)) return false;
            t.adf_khz = static_cast<int>(std::lround(value));
            return true;
    }
    return false;
}

bool knob_named(std::string_view name, RadioKnob& knob) {
    static constexpr struct {
        std::string_view name;
        RadioKnob knob;
    } knobs[] = {{"nav1", RadioKnob::nav1}, {"nav2", RadioKnob::nav2}, {"course1", RadioKnob::course1},
                 {"course2", RadioKnob::course2}, {"adf", RadioKnob::adf}};
    for (const auto& k : knobs)
        if (k.name == name) {
            knob = k.knob;
            return true;
        }
    return false;
}

}  // namespace sim
