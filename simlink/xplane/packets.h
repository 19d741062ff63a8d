#pragma once
// X-Plane's UDP packets as the link speaks them (X-Plane 10, 11 and 12): little-endian numbers,
// a four-letter tag and one more byte first. Every check here is on bytes from the network:
// nothing is trusted.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simlink::xp {

inline constexpr int default_port = 49000;
inline constexpr int beacon_port = 49707;
inline constexpr const char* beacon_group = "239.255.1.1";
inline constexpr std::size_t rref_request_bytes = 413;
inline constexpr std::size_t dref_bytes = 509;
inline constexpr std::size_t max_rref_path_bytes = 399;  // the 400 bytes hold the NUL too
inline constexpr std::size_t max_dref_path_bytes = 499;
inline constexpr std::size_t max_rref_pairs = 183;

// Subscribes index to path at frequency times a second (0 stops it). Empty for a path too long.
std::string rref_request(std::int32_t frequency, std::int32_t index, std::string_view path);
std::string dref_write(float value, std::string_view path);
std::string command(std::string_view path);

struct RrefValue {
    std::int32_t index;
    float value;
};
// An RREF reply's pairs ("RREF," or X-Plane 10's "RREFO"); nothing for any other packet or a
// length that is not a whole number of pairs.
std::optional<std::vector<RrefValue>> parse_rref_reply(std::string_view packet);

// Asks for the aircraft's position at rate times a second (0 stops it).
std::string rpos_request(int rate);
struct Position {
    double longitude = 0, latitude = 0, elevation_m = 0;
};
// The doubles at the start of an RPOS reply; nothing for anything else or a position off the earth.
std::optional<Position> parse_rpos_reply(std::string_view packet);

struct Beacon {
    int major = 0, minor = 0;
    std::int32_t host_id = 0;  // 1: X-Plane
    std::int32_t version = 0;
    std::uint32_t role = 0;    // 1: master
    std::uint16_t port = 0;    // where it listens
    std::string computer;
};
// A BECN packet; nothing for anything else, a port of 0 or a computer name that is not printable.
std::optional<Beacon> parse_beacon(std::string_view packet);
// A beacon's bytes (the stand-in X-Plane of the tests announces itself with it).
std::string beacon_packet(const Beacon& b);

}  // namespace simlink::xp
