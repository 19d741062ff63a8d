#include "simlink/xplane/packets.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace simlink::xp {

namespace {

void put_u32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t get_u32(std::string_view in, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint32_t float_bits(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

float bits_float(std::uint32_t u) {
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

std::string padded(std::string_view path, std::size_t bytes) {
    std::string out(path);
    out.resize(bytes, '\0');
    return out;
}

}  // namespace

std::string rref_request(std::int32_t frequency, std::int32_t index, std::string_view path) {
    if (path.empty() || path.size() > max_rref_path_bytes) return {};
    std::string out("RREF", 5);
    put_u32(out, static_cast<std::uint32_t>(frequency));
    put_u32(out, static_cast<std::uint32_t>(index));
    out += padded(path, 400);
    return out;
}

std::string dref_write(float value, std::string_view path) {
    if (path.empty() || path.size() > max_dref_path_bytes) return {};
    std::string out("DREF", 5);
    put_u32(out, float_bits(value));
    out += padded(path, 500);
    return out;
}

std::string command(std::string_view path) {
    std::string out("CMND", 5);
    out += path;
    out += '\0';
    return out;
}

std::optional<std::vector<RrefValue>> parse_rref_reply(std::string_view packet) {
    if (packet.size() < 5 || packet.substr(0, 4) != "RREF" || (packet[4] != ',' && packet[4] != 'O')) return std::nullopt;
    const std::string_view body = packet.substr(5);
    if (body.size() % 8 != 0 || body.size() / 8 > max_rref_pairs) return std::nullopt;
    std::vector<RrefValue> out;
    out.reserve(body.size() / 8);
    for (std::size_t at = 0; at < body.size(); at += 8)
        out.push_back({static_cast<std::int32_t>(get_u32(body, at)), bits_float(get_u32(body, at + 4))});
    return out;
}

std::string rpos_request(int rate) {
    std::string out("RPOS", 5);
    out += std::to_string(rate);
    out += '\0';
    return out;
}

std::optional<Position> parse_rpos_reply(std::string_view packet) {
    constexpr std::size_t doubles_at = 5, doubles_bytes = 3 * 8;
    if (packet.size() < doubles_at + doubles_bytes || packet.substr(0, 4) != "RPOS") return std::nullopt;
    double d[3];
    for (int k = 0; k < 3; ++k) {
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | static_cast<unsigned char>(packet[doubles_at + 8 * static_cast<std::size_t>(k) + static_cast<std::size_t>(i)]);
        std::memcpy(&d[k], &bits, sizeof bits);
    }
    const Position p{d[0], d[1], d[2]};
    if (!(std::abs(p.latitude) <= 90) || !(std::abs(p.longitude) <= 180) || !std::isfinite(p.elevation_m)) return std::nullopt;
    return p;
}

std::optional<Beacon> parse_beacon(std::string_view packet) {
    constexpr std::size_t name_at = 21;
    if (packet.size() < name_at + 1 || packet.substr(0, 5) != std::string_view("BECN\0", 5)) return std::nullopt;
    Beacon b;
    b.major = static_cast<unsigned char>(packet[5]);
    b.minor = static_cast<unsigned char>(packet[6]);
    b.host_id = static_cast<std::int32_t>(get_u32(packet, 7));
    b.version = static_cast<std::int32_t>(get_u32(packet, 11));
    b.role = get_u32(packet, 15);
    b.port = static_cast<std::uint16_t>(static_cast<unsigned char>(packet[19]) | (static_cast<unsigned char>(packet[20]) << 8));
    const std::string_view rest = packet.substr(name_at);
    const std::size_t nul = rest.find('\0');
    if (nul == std::string_view::npos || nul > 255) return std::nullopt;
    b.computer = std::string(rest.substr(0, nul));
    if (b.port == 0 || !std::ranges::all_of(b.computer, [](char c) { return c >= ' ' && c < 0x7F; })) return std::nullopt;
    return b;
}

std::string beacon_packet(const Beacon& b) {
    std::string out("BECN", 5);
    out += static_cast<char>(b.major);
    out += static_cast<char>(b.minor);
    put_u32(out, static_cast<std::uint32_t>(b.host_id));
    put_u32(out, static_cast<std::uint32_t>(b.version));
    put_u32(out, b.role);
    out += static_cast<char>(b.port & 0xFF);
    out += static_cast<char>(b.port >> 8);
    out += b.computer;
    out += '\0';
    return out;
}

}  // namespace simlink::xp
