#pragma once
// A stand-in for FlightGear's route manager, behind the stand-in property server: the route it
// builds from writes under /autopilot/route-manager/, by the rules FlightGear 2020.3 follows with
// its default route-manager delegate (fake_route_manager_test.cpp holds what the real one answered):
//
// - "input" takes commands, blanks stripped and upper-cased: "@CLEAR", "@ACTIVATE", "@NEXT",
//   "@PREVIOUS", "@JUMPn", "@DELETEn", "@INSERTn:TEXT" (a leg before leg n, or appended when n is
//   past the end) and any other TEXT, appended after the last leg whatever that leg is. TEXT is
//   "LON,LAT" (a leg named like "W122N037") or an ident, the one nearest the route where idents
//   repeat; an ident it does not know adds nothing.
// - departure/airport and destination/airport name the airports: a new departure replaces the
//   departure legs with one inserted first, a new destination replaces the arrival legs with one
//   appended last; a name as it already is changes nothing; an unknown or short name (the empty
//   one too) forgets the airport and takes its legs away. departure/runway and destination/runway
//   replace the airport's leg by the runway's ("KLAS-25R"), when the airport has that runway.
// - "@CLEAR" drops every leg and deactivates the route, and the named airports' legs come
//   straight back; "@ACTIVATE" makes leg 0 current and the route active, unless it already is.
// - current-wp jumps to a leg (within the route); route/num and route/wp[i]/id, latitude-deg and
//   longitude-deg mirror the legs.
//
// The stand-in knows only the airports and points a test gives it, and flies nothing: the GPS,
// which may move the current leg on as the aircraft passes it, is not there.

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct FakeLeg {
    std::string id;
    double lat = 0, lon = 0;
};

class FakeRouteManager {
public:
    // Navigation data: an airport (its runways' legs stand at its own position; an airport known
    // already gains the runways) and a navaid or fix.
    void know_airport(const std::string& ident, double lat, double lon, const std::vector<std::string>& runways = {});
    void know_point(const std::string& ident, double lat, double lon);

    // A write to a path under /autopilot/route-manager/; false for a path it does not keep.
    bool set(const std::string& path, const std::string& value);
    // A kept path's value and FlightGear's name of its type.
    std::optional<std::pair<std::string, std::string>> get(const std::string& path) const;

    std::vector<FakeLeg> legs() const;
    std::vector<std::string> idents() const;
    int current() const { return current_; }
    bool active() const { return active_; }

private:
    enum class Role { route, departure, arrival };
    struct Place {
        std::string ident;
        double lat = 0, lon = 0;
        std::vector<std::string> runways;
    };
    struct Leg {
        FakeLeg wp;
        Role role = Role::route;
    };

    void input(const std::string& command);
    std::optional<FakeLeg> waypoint(const std::string& text, int index) const;
    void insert(Leg leg, int index);
    void remove_role(Role role);
    void clear();
    void jump(long index);
    void remove_at(long index);
    void departure_changed();
    void arrival_changed();
    const Place* airport(const std::string& ident) const;
    void set_airport(std::optional<Place>& airport, std::string& runway, const std::string& ident, bool departure);
    void set_runway(const std::optional<Place>& airport, std::string& runway, const std::string& ident, bool departure);
    FakeLeg airport_leg(const Place& airport, const std::string& runway) const;

    std::vector<Place> airports_, points_;
    std::vector<Leg> legs_;
    std::optional<Place> departure_, destination_;
    std::string departure_runway_, destination_runway_, last_input_;
    int current_ = -1;
    bool active_ = false;
};
