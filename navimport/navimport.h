#pragma once
// The world navigation database import: X-Plane-format world data (a world data folder, an X-Plane
// 11 or 12 folder or a FlightGear data folder, as worlddata/world_files.h finds them) into the five
// fixed-column NavData files the navigation display reads. Layouts (columns 0-based, every record one line of fixed length):
//
//   vor.dat, ndb.dat (94 bytes): 0-4 ident, 6-31 name, 33 kind V (VOR), I (ILS/localizer),
//     D (DME), N (NDB), 35-40 frequency (MHz, kHz for NDBs), 42-44 range NM, 46-51 elevation ft,
//     53-56 variation or DME bias, 58-60 localizer course (whole degrees, true), 62-71 latitude,
//     73-83 longitude, 85-88 airport and 90-92 runway of an ILS.
//   apt.dat (93 bytes), one record per runway: 0-4 ident, 6-31 name, 33-35 first end, 37-39
//     second end, 42-44 true heading from the first end, 46-55 latitude and 57-67 longitude of
//     the runway's middle, 69-74 elevation ft, 76-80 width ft, 82-83 surface code, 87-91 length ft.
//   int.dat (29 bytes): 0-4 ident, 6-15 latitude, 17-27 longitude.
//   idx.dat (33 bytes): 0-11 longitude, 12-21 latitude, 24 file letter V N A I, 27-31 record
//     number; ascending longitude; its header line is exactly one record long.
//
// Every data file starts with one header line naming its content and the source's own version
// and licence line. Beside them, source.txt names the folder they were imported from (its absolute
// path, one line), so that a program given the database can plan routes over the same source.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/result.h"
#include "worlddata/world_files.h"

namespace navimport {

struct Options {
    std::string source;  // the source folder
    std::string out;     // folder the five files are written to
    bool quiet = false;
    worlddata::SourceLayout layout = worlddata::SourceLayout::any;  // what the source folder must be
};

struct Report {
    std::size_t vor = 0, ndb = 0, apt = 0, intx = 0, idx = 0;
    std::vector<std::string> read;     // "<path>, version <N>" for each file read
    std::vector<std::string> skipped;  // "<count> <what>: <why>"
    std::string error;                 // empty on success
};

Report run_import(const Options& options);

// The name of the file beside the five that names their source folder.
inline constexpr const char* kSourceRecord = "source.txt";
// The source folder a database records; an error when it records none.
plat::Result<std::string> recorded_source(const std::string& database);

}  // namespace navimport
