// Writing the five NavData files: fixed-length records, and the index sorted by longitude. Each
// file is written beside its final name and renamed into place once complete.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "navimport/import_state.h"

namespace navimport {
namespace {

constexpr std::size_t kStationRecord = 94, kAirportRecord = 93, kFixRecord = 29, kIndexRecord = 33;

template <typename T>
T clamp(T v, T lo, T hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

struct IndexEntry {
    double lon, lat;
    char letter;
    std::size_t number;
};

class Out {
public:
    Out(std::string path, std::size_t record) : path_(std::move(path)), record_(record) {
        f_ = std::fopen((path_ + ".new").c_str(), "wb");
        if (!f_) error_ = errno;
    }
    ~Out() {
        if (f_) std::fclose(f_);
    }
    bool ok() const { return f_ != nullptr && !failed_; }
    // The header line is cut or padded to `width` characters.
    void header(const std::string& text, std::size_t width = 0) {
        std::string h = text;
        std::replace(h.begin(), h.end(), '\n', ' ');
        std::replace(h.begin(), h.end(), '\r', ' ');
        if (width) h.resize(width, ' ');
        h += '\n';
        put(h.data(), h.size());
    }
    // A record that does not come out at its exact length is a fault of this program.
    bool record(const char* line, int n) {
        if (n != static_cast<int>(record_)) {
            failed_ = true;
            mismatch_ = true;
            return false;
        }
        put(line, record_);
        return true;
    }
    bool finish(std::string& error) {
        if (f_ && std::fclose(f_) != 0 && error_ == 0) error_ = errno;
        if (!f_ || failed_ || error_ != 0) {
            f_ = nullptr;
            if (mismatch_) error = path_ + ": a record of the wrong length";
            else error = path_ + ".new: cannot write: " + std::strerror(error_ != 0 ? error_ : EIO);
            return false;
        }
        f_ = nullptr;
        std::error_code ec;
        std::filesystem::rename(path_ + ".new", path_, ec);
        if (ec) error = path_ + ": " + ec.message();
        return !ec;
    }

private:
    void put(const char* p, std::size_t n) {
        if (f_ && std::fwrite(p, 1, n, f_) != n && !failed_) {
            failed_ = true;
            error_ = errno;
        }
    }
    std::string path_;
    std::size_t record_;
    std::FILE* f_ = nullptr;
    bool failed_ = false;
    bool mismatch_ = false;
    int error_ = 0;
};

bool write_stations(Out& out, const std::vector<Navaid>& list, char file_letter, std::vector<IndexEntry>& index) {
    char line[256];
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Navaid& n = list[i];
        const double freq = clamp(n.frequency, 0.0, n.kind == 'N' ? 9999.0 : 999.99);
        const int n_len = std::snprintf(
            line, sizeof line, "%-5.5s %-26.26s %c %6.*f %3d %6d %4.0f %03d %10.6f %11.6f %-4.4s %-3.3s\n",
            n.ident.c_str(), n.name.c_str(), n.kind, n.kind == 'N' ? 1 : 2, freq, clamp(n.range, 0, 999),
            clamp(n.elevation, -99999, 999999), clamp(n.extra, -999.0, 9999.0), clamp(n.course, 0, 359), n.lat, n.lon,
            n.airport.c_str(), n.runway.c_str());
        if (!out.record(line, n_len)) return false;
        index.push_back({n.lon, n.lat, file_letter, i});
    }
    return true;
}

bool write_runways(Out& out, const std::vector<Runway>& list, std::vector<IndexEntry>& index) {
    char line[256];
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Runway& r = list[i];
        const int n = std::snprintf(line, sizeof line, "%-5.5s %-26.26s %-3.3s/%-3.3s  %03d %10.6f %11.6f %6d %5d %2d   %5d\n",
                                    r.ident.c_str(), r.name.c_str(), r.end1.c_str(), r.end2.c_str(),
                                    clamp(r.heading, 0, 359), r.lat, r.lon, clamp(r.elevation, -99999, 999999), r.width,
                                    r.surface, r.length);
        if (!out.record(line, n)) return false;
        index.push_back({r.lon, r.lat, 'A', i});
    }
    return true;
}

bool write_fixes(Out& out, const std::vector<Fix>& list, std::vector<IndexEntry>& index) {
    char line[64];
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Fix& x = list[i];
        const int n = std::snprintf(line, sizeof line, "%-5.5s %10.6f %11.6f\n", x.ident.c_str(), x.lat, x.lon);
        if (!out.record(line, n)) return false;
        index.push_back({x.lon, x.lat, 'I', i});
    }
    return true;
}

bool write_index(Out& out, std::vector<IndexEntry>& index) {
    std::stable_sort(index.begin(), index.end(), [](const IndexEntry& a, const IndexEntry& b) { return a.lon < b.lon; });
    char head[64];
    std::snprintf(head, sizeof head, "NAVDATA INDEX %zu RECORDS", index.size());
    out.header(head, kIndexRecord - 1);
    char line[64];
    for (const IndexEntry& e : index) {
        const int n = std::snprintf(line, sizeof line, "%12.6f%10.6f  %c  %05zu\n", e.lon, e.lat, e.letter, e.number);
        if (!out.record(line, n)) return false;
    }
    return true;
}

}  // namespace

bool write_navdata(Import& im, const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        im.error = folder + ": " + ec.message();
        return false;
    }
    std::vector<IndexEntry> index;
    index.reserve(im.vor.size() + im.ndb.size() + im.apt.size() + im.intx.size());
    Out vor(folder + "/vor.dat", kStationRecord), ndb(folder + "/ndb.dat", kStationRecord),
        apt(folder + "/apt.dat", kAirportRecord), intx(folder + "/int.dat", kFixRecord), idx(folder + "/idx.dat", kIndexRecord);
    for (Out* o : {&vor, &ndb, &apt, &intx, &idx})
        if (!o->ok()) {
            im.error = folder + ": cannot create the files";
            return false;
        }
    vor.header("VOR, ILS/LOC AND DME STATIONS, " + std::to_string(im.vor.size()) + " RECORDS OF 94 BYTES. FROM: " + im.nav_version);
    ndb.header("NDB STATIONS, " + std::to_string(im.ndb.size()) + " RECORDS OF 94 BYTES. FROM: " + im.nav_version);
    apt.header("LAND AIRPORT RUNWAYS, " + std::to_string(im.apt.size()) + " RECORDS OF 93 BYTES. FROM: " + im.apt_version);
    intx.header("INTERSECTIONS, " + std::to_string(im.intx.size()) + " RECORDS OF 29 BYTES. FROM: " + im.fix_version);
    const bool written = write_stations(vor, im.vor, 'V', index) && write_stations(ndb, im.ndb, 'N', index) &&
                         write_runways(apt, im.apt, index) && write_fixes(intx, im.intx, index) && write_index(idx, index);
    if (!written) {
        im.error = "a record came out at the wrong length";
        return false;
    }
    for (Out* o : {&vor, &ndb, &apt, &intx, &idx})
        if (!o->finish(im.error)) return false;
    return true;
}

}  // namespace navimport
