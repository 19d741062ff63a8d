#pragma once
// The one table between FlightGear's properties and the panel's tokens: for every token the
// modules read, the properties it comes from and the conversion into the form and units the
// modules expect. A token with no FlightGear counterpart is in the table too, with the value it
// keeps. The link polls exactly the properties this table names.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sim/aircraft.h"
#include "simlink/flightgear/props_protocol.h"

namespace simlink::fg {

// What the link itself holds of the autopilot, for the switches FlightGear has no property for.
struct LinkIntent {
    bool master = false;              // autopilot master; without it no lock is set
    bool heading_hold = false;        // asked for; flown as dg-heading-hold while the master is on
    bool altitude_hold = false;       // asked for; flown as altitude-hold or vertical-speed-hold
    bool speed_hold = false;          // asked for; flown as speed-with-throttle
    bool autothrottle_armed = false;  // shown only
};

enum class Form { number, integer, text };

inline constexpr int max_sources = 3;

// A property a row reads, as a number or as a text, and the number it stands for until FlightGear
// has answered for it (a text stands empty until then).
struct Source {
    const char* path = nullptr;
    bool text = false;
    double until_answered = 0;
};

// The values of a row's sources, in the row's order, and the link's own state.
struct Inputs {
    std::array<double, max_sources> v{};
    std::array<std::string_view, max_sources> t{};
    const LinkIntent* intent = nullptr;
    double operator[](int i) const { return v[static_cast<std::size_t>(i)]; }
};

struct TokenRow {
    int token;
    Form form;
    std::array<Source, max_sources> sources;  // none: no FlightGear counterpart
    double (*convert)(const Inputs&);          // number and integer rows; text rows show their first source
    const char* note;                          // the form the modules expect, or why the value is fixed
};

std::span<const TokenRow> token_rows();
const TokenRow* find_token_row(int token);

// The properties of the table, each once, and where each row's sources are among them.
struct PropertyIndex {
    std::vector<std::string> paths;
    std::vector<bool> is_text;                               // some row reads it as a text
    std::vector<double> until_answered;
    std::vector<std::array<int, max_sources>> row_sources;  // by row; -1: unused
    std::unordered_map<std::string_view, int> by_path;      // views of paths' own strings
    int find(std::string_view path) const;                   // -1 when the table does not name it
};
const PropertyIndex& property_index();

// What the link last read of every property of the index. A property keeps its last good value
// when an answer for it is bad; one never answered stands at its row's value until answered.
struct Readings {
    std::vector<double> numbers;
    std::vector<std::string> texts;
    std::vector<bool> answered;
    Readings();
    // Takes an answer for property i; false (and the old value kept) when it is not of its kind.
    bool take(std::size_t i, const Answer& a);
};

// Writes every row's token from the readings.
void publish_tokens(const Readings& r, const LinkIntent& intent, sim::TokenSink& sink);

// Conversions shared with the tests.
double latitude_units(double deg);
double longitude_units(double deg);

}  // namespace simlink::fg
