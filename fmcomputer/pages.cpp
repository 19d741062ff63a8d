#include "fmcomputer/pages.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fmcomputer/guidance.h"
#include "fmcomputer/plan.h"
#include "fmcomputer/screen.h"
#include "fmcomputer/simvars.h"
#include "fmcomputer/state.h"
#include "fmcomputer/waypoint_record.h"

namespace fmc {

namespace {

constexpr const char* kBlanks = "                              ";
constexpr char kDegree[] = "\xB0";

const char* const kMessageRoute = "- EXCEPTION   IN          RTE -";
const char* const kMessageLegs = "- EXCEPTION   IN         LEGS -";
const char* const kMessagePosition = "- EXCEPTION   IN          POS -";
const char* const kMessageProgress = "- EXCEPTION   IN         PROG -";
const char* const kMessageFileOpen = "- EXCEPTION   IN    FILE OPEN -";
const char* const kMessageDetails = "- EXCEPTION   IN   WPTDETAILS -";

struct PageText {
    const char* title;
    const char* line1;
    const char* labels[5];  // lines 3, 5, 7, 9, 11; null leaves a line as it is
};

const PageText kMenuText = {"             MENU             ", kDashes, {"", "", "", "", ""}};
const PageText kLoadText = {"      LOAD A FLIGHT PLAN      ", kDashes, {nullptr, nullptr, nullptr, nullptr, nullptr}};
const PageText kPerformanceText = {"     AIRCRAFT PERFORMANCE     ",
                                   kDashes,
                                   {"CRUISE SPEED             UNITS", "CRUISE ALTITUDE          UNITS",
                                    "CLIMB        RATE      DESCENT", "CLIMB       SPEED      DESCENT", kBlanks}};
const PageText kPositionText = {"         POSITION REF         ",
                                kDashes,
                                {"FMC POS                     KT", "IRS L                       KT",
                                 "IRS C                       KT", "IRS R                       kT", kBlanks}};
const PageText kRouteText = {"            ROUTE             ",
                             kDashes,
                             {"DEPARTURE              ARRIVAL", "RUNWAY                  RUNWAY",
                              "HDG                        HDG", "LENGTH                  LENGTH",
                              "ATIS                      ATIS"}};
const PageText kLegsText = {"         ACT RTE LEGS         ", kBlanks, {kBlanks, kBlanks, kBlanks, kBlanks, kBlanks}};
const PageText kProgressText = {"           PROGRESS           ",
                                kDashes,
                                {"LAST                   ATA    ", "TO           DIST      ETA    ",
                                 "NEXT                          ", "DEST                          ", kBlanks}};
const PageText kDetailsTitle = {"       WAYPOINT DETAILS       ", kDashes, {nullptr, nullptr, nullptr, nullptr, nullptr}};

// Remembered by POSITION REF to follow the aircraft.
double shown_airspeed = 0.0;

void write_fixed(const PageText& text) {
    set_line(0, text.title);
    set_line(1, text.line1);
    for (int i = 0; i < 5; ++i)
        if (text.labels[i]) set_line(3 + 2 * i, text.labels[i]);
}

void begin_page(int number, const PageText& text, bool clear_paths, bool show_exec) {
    current_page = number;
    details_shown = false;
    clear_page_areas();
    if (clear_paths) clear_plan_paths();
    write_fixed(text);
    if (show_exec) show_exec_line();
}

// An entry assembled in a local buffer of the entry's size.
struct Entry {
    char text[kDataEntrySize] = "";
    void at(std::size_t column, const char* s, std::size_t count = static_cast<std::size_t>(-1)) {
        put_at(text, sizeof text, column, s, count);
    }
    void pad(std::size_t length) { pad_to(text, sizeof text, length); }
};

// The number in two characters of a short text (0 where there is none).
int two_digits(const char* text, std::size_t from) {
    char part[3] = "";
    if (strnlen(text, from + 2) >= from + 2) std::memcpy(part, text + from, 2);
    part[2] = '\0';
    return static_cast<int>(std::strtol(part, nullptr, 10));
}

// Minutes of the plan time of a record, and the ETA built from them.
void eta_between(const char* from, const char* to, char* out, std::size_t size) {
    const RecordTime a = record_time(from), b = record_time(to);
    int m = (b.minutes - a.minutes) + 1;
    int h = b.hours - a.hours;
    if (m < 0) {
        m += 60;
        --h;
    }
    const int ata_h = two_digits(last_ata, 0);
    const int ata_m = two_digits(last_ata, 2);
    m += ata_m;
    h += ata_h;
    if (m > 59) {
        m -= 60;
        ++h;
    }
    if (h > 23) h -= 24;
    std::snprintf(out, size, "%02d%02dz", h, m);
}

void fill_position_entries() {
    const double v71 = var(token::latitude), v72 = var(token::longitude);
    const double lat = v71 * 8.998425275576774e-06;
    double lon = v72 * 1.2789770768341246e-12;
    if (lon >= 180.0) lon -= 360.0;
    int a = static_cast<int>(std::trunc(var(token::wind_direction) - var(token::true_heading)));
    if (std::abs(a) >= 90 && std::abs(a) <= 270) a = 90;
    const int ground_speed =
        static_cast<int>(std::trunc(var(token::indicated_airspeed) -
                                    std::cos(a * 3.14159265358979323846 / 180.0) * var(token::wind_speed)));
    auto dms = [](double v, int& d, int& m, int& t) {
        const double x = std::fabs(v);
        d = static_cast<int>(x);
        const double minutes = (x - d) * 60.0;
        m = static_cast<int>(minutes);
        t = static_cast<int>((minutes - m) * 10.0);
    };
    int d, m, t;
    char part[24];
    Entry e;
    dms(lat, d, m, t);
    std::snprintf(part, sizeof part, "%s%02d%s%02d.%1d   ", lat >= 0 ? "N" : "S", d, kDegree, m, t);
    e.at(0, part);
    dms(lon, d, m, t);
    std::snprintf(part, sizeof part, "%s%03d%s%02d.%1d  %03d", lon >= 0 ? "E" : "W", d, kDegree, m, t, ground_speed);
    e.at(10, part);
    for (int i = 1; i <= 4; ++i) set_entry(i, e.text);
    remember_position(v71, v72);
    shown_airspeed = var(token::indicated_airspeed);
}

void route_pair(int index, const char* left, const char* right, std::size_t right_column) {
    Entry e;
    e.at(0, left);
    e.pad(std::strlen(e.text) + 20);
    e.at(right_column, right);
    set_entry(index, e.text);
}

const char* shown_frequency(const char* r, char* out, std::size_t size) {
    record_field(r, 38, 6, out, size);
    if (std::strcmp(out, "000.00") == 0) std::snprintf(out, size, "%s", "---.--");
    return out;
}

void fill_route_entries() {
    if (!plan_loaded()) return;
    const AirportInfo& dep = departure();
    const AirportInfo& arr = arrival();
    route_pair(1, dep.airport, arr.airport, 19);
    route_pair(2, dep.runway.designator, arr.runway.designator, 21);
    route_pair(3, dep.runway.heading, arr.runway.heading, 21);
    route_pair(4, dep.runway.length, arr.runway.length, 19);
    char dep_ident[6], arr_ident[6], ident[6], freq[8];
    std::snprintf(dep_ident, sizeof dep_ident, "%.5s", page_data[1]);
    std::snprintf(arr_ident, sizeof arr_ident, "%.5s", strnlen(page_data[1], 19) == 19 ? page_data[1] + 19 : "");
    Entry atis;
    for (int i = 0; i < record_count(); ++i) {
        const char* r = record(i);
        record_field(r, 5, 5, ident, sizeof ident);
        if (std::strcmp(ident, dep_ident) == 0) atis.at(0, shown_frequency(r, freq, sizeof freq));
        if (std::strcmp(ident, arr_ident) == 0) atis.at(18, shown_frequency(r, freq, sizeof freq));
    }
    set_entry(5, atis.text);
}

void fill_legs_entries() {
    const AircraftValues& a = aircraft();
    bool climbed = false, descending = false;
    for (int i = 1; i <= destination_index(); ++i) {
        const char* r = record(i);
        const char* previous = record(i - 1);
        if (!r || !previous) break;
        char type[4], course[4], ident[8], altitude[6], text[kDataEntrySize];
        record_field(r, 0, 3, type, sizeof type);
        if (std::strcmp(type, "TOC") == 0) climbed = true;
        if (std::strcmp(type, "TOD") == 0) descending = true;
        const int speed = descending ? a.descent_speed : climbed ? a.cruise_speed : a.climb_speed;
        record_field(r, 82, 3, course, sizeof course);
        std::snprintf(text, sizeof text, "%s%s         %3.1f NM", course, kDegree,
                      record_distance(r) - record_distance(previous));
        set_label(i - 1, text);
        legs_ident(r, ident, sizeof ident);
        record_field(r, 75, 5, altitude, sizeof altitude);
        std::snprintf(text, sizeof text, "%-5.5s          %03d/%s", ident, speed, altitude);
        set_entry(i - 1, text);
    }
}

void open_details(int k) {
    const char* r = record(k);
    if (!r) return;
    write_fixed(kDetailsTitle);
    for (int i = 2; i <= 11; ++i) set_line(i, kBlanks);
    char field[32], text[40];
    record_field(r, 0, 10, field, sizeof field);
    set_line(2, field);
    record_field(r, 12, 25, field, sizeof field);
    set_line(3, field);
    record_field(r, 38, 6, field, sizeof field);
    std::snprintf(text, sizeof text, "Freq: %s", field);
    set_line(6, text);
    record_field(r, 46, 14, field, sizeof field);
    set_line(8, field);
    record_field(r, 60, 14, field, sizeof field);
    set_line(10, field);
    set_line(12, "> BACK                        ");
    show_exec_line();
    details_shown = true;
}

void close_details() {
    details_shown = false;
    if (current_page == page_legs) {
        set_line(0, kLegsText.title);
    } else if (current_page == page_progress) {
        write_fixed(kProgressText);
    }
}

}  // namespace

void build_menu() {
    begin_page(page_menu, kMenuText, false, true);
    set_entry(0, "LOAD A FLIGHT PLAN");
    set_entry(1, "AIRCRAFT PERFORMANCE");
    set_entry(2, "POSITION");
}

void build_load() {
    begin_page(page_load, kLoadText, true, false);
    build_plan_list();
    for (int i = 0; i < kMaxPlans; ++i) set_entry(i, plan_names[i]);
}

void build_performance() {
    begin_page(page_performance, kPerformanceText, true, true);
    const AircraftValues& a = aircraft();
    char text[kDataEntrySize + 8];
    // The entry keeps what fits of the aircraft text.
    std::snprintf(text, sizeof text, "SPEC: %.*s", static_cast<int>(kDataEntrySize), a.aircraft);
    set_entry(0, text);
    std::snprintf(text, sizeof text, "%03d/%.2f      KNOTS/MACH", a.cruise_speed, a.cruise_mach);
    set_entry(1, text);
    std::snprintf(text, sizeof text, "%05d                FEET", a.cruise_altitude);
    set_entry(2, text);
    std::snprintf(text, sizeof text, "%04d      FT/MIN     %04d", a.climb_rate, a.descent_rate);
    set_entry(3, text);
    std::snprintf(text, sizeof text, "%03d       KNOTS       %03d", a.climb_speed, a.descent_speed);
    set_entry(4, text);
}

void build_position_ref() { begin_page(page_position, kPositionText, true, true); }

void build_route() {
    guarded(kMessageRoute, [] {
        begin_page(page_route, kRouteText, true, true);
        fill_route_entries();
    });
}

void build_legs() {
    guarded(kMessageLegs, [] {
        begin_page(page_legs, kLegsText, true, true);
        fill_legs_entries();
    });
}

void build_progress() {
    guarded(kMessageProgress, [] {
        begin_page(page_progress, kProgressText, true, true);
        force_recompute();
    });
}

void show_page(int page) {
    switch (page) {
        case page_route: build_route(); break;
        case page_legs: build_legs(); break;
        case page_progress: build_progress(); break;
        default: build_menu(); break;
    }
}

void toggle_details(int k) {
    guarded(kMessageDetails, [k] {
        if (details_shown)
            close_details();
        else
            open_details(k);
    });
}

void load_plan_entry(int k) {
    guarded(kMessageFileOpen, [k] {
        const LoadResult result = load_plan(k);
        const char* error = result == LoadResult::open_error  ? ">>> OPEN ERROR #1"
                            : result == LoadResult::map_error ? ">>> OPEN ERROR #2"
                                                              : nullptr;
        if (error) {
            if (k >= 0 && k < kMaxPlans) std::snprintf(plan_names[k], kPlanNameSize, "%s", error);
            if (current_page == page_load) set_entry(k, error);
        } else if (result == LoadResult::loaded) {
            build_route();
        }
    });
}

void compute_position_ref() { guarded(kMessagePosition, fill_position_entries); }

void follow_position_ref() {
    auto moved = [](double now, double before, double scale) {
        return std::trunc(now * scale) != std::trunc(before * scale);
    };
    if (moved(var(token::latitude), remembered_latitude_raw(), 0.1)) bump_redraw();
    if (moved(var(token::longitude), remembered_longitude_raw(), 4.92219002016129e-07)) bump_redraw();
    if (moved(var(token::indicated_airspeed), shown_airspeed, 1.0)) bump_redraw();
}

void eta_text(int k, char* out, unsigned size) {
    const char* from = record(to_index - 1);
    const char* to = record(k);
    if (!from || !to) {
        if (size) out[0] = '\0';
        return;
    }
    eta_between(from, to, out, size);
}

namespace {

// Whole nautical miles as the PROGRESS page shows them. A damaged record can put a waypoint
// billions of miles off, or nowhere at all: such a distance shows pinned to six digits (nowhere as
// 0), never converted with undefined results.
constexpr double kShownMilesLimit = 999999.0;

int shown_miles(double nm) {
    if (std::isnan(nm)) return 0;
    return static_cast<int>(std::fmax(-kShownMilesLimit, std::fmin(kShownMilesLimit, nm)));
}

}  // namespace

void compute_progress(double d) {
    const int dest = destination_index();
    if (!takeoff_time[0]) {
        std::snprintf(last_ata, sizeof last_ata, "%02d%02dz", static_cast<int>(var(token::clock_hours)),
                      static_cast<int>(var(token::clock_minutes)));
    }
    char ident[8], number[24], eta[12];
    const int whole = shown_miles(d);
    const int tenths = std::fabs(d) < kShownMilesLimit ? static_cast<int>((d - whole) * 10.0) : 0;
    {
        Entry e;
        progress_ident(record(to_index - 1), ident, sizeof ident);
        e.at(0, ident);
        e.pad(5 + 19);
        e.at(17, last_ata, 5);
        set_entry(1, e.text);
    }
    {
        Entry e;
        progress_ident(record(to_index), ident, sizeof ident);
        std::snprintf(number, sizeof number, "%-5s     %d.%1d", ident, whole, tenths);
        e.at(0, number);
        e.pad(25);
        e.at(24, "^");
        eta_text(to_index, eta, sizeof eta);
        e.at(17, eta);
        set_entry(2, e.text);
    }
    if (to_index >= dest) {
        set_entry(3, "");
        return;
    }
    {
        Entry e;
        progress_ident(record(to_index + 1), ident, sizeof ident);
        const double next = d + record_distance(record(to_index + 1)) - record_distance(record(to_index));
        std::snprintf(number, sizeof number, "%-5s     %d", ident, shown_miles(next));
        e.at(0, number);
        e.pad(25);
        e.at(24, "v");
        eta_text(to_index + 1, eta, sizeof eta);
        e.at(17, eta);
        set_entry(3, e.text);
    }
    {
        Entry e;
        record_field(record(dest), 5, 5, ident, sizeof ident);
        const double remaining = d + record_distance(record(dest)) - record_distance(record(to_index));
        std::snprintf(number, sizeof number, "%-5s     %d", ident, shown_miles(remaining));
        e.at(0, number);
        e.pad(25);
        eta_text(dest, eta, sizeof eta);
        e.at(17, eta);
        set_entry(4, e.text);
    }
}

}  // namespace fmc
