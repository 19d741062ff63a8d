#pragma once
// World data as users keep it, written by the tests from the formats' documentation (X-Plane's
// published notes on its nav, fix, airway and apt.dat files): a small invented region around 45 N 100 W
// with its navaids, fixes, airways and two airports, in each version and in the folders of an
// X-Plane 12, an X-Plane 11 and a FlightGear installation. Real files' habits are kept: CR LF line
// ends, right-aligned row codes, tabs between some fields, names that hold spaces.
//
// The region: NDB QNB 3 NM north of 45 N 100 W, VOR/DME QVR 3 NM south of it, VORTAC QVT and the
// airports KQAA (runway 18/36, ILS IQAA) and KQBB (09/27) to the north-west; airway Q101 runs QVR,
// QALFA, QBRAV, QVT, and Q102 shares its last segment.

#include <filesystem>
#include <string>

#include "program_run.h"

namespace worldfolders {

// The files of each version.
extern const char* const kNav1200;
extern const char* const kFix1200;
extern const char* const kAwy1101;  // airway files of layout 1101 say "1100 Version"
extern const char* const kApt1200;
extern const char* const kNav1150;
extern const char* const kNav1100;
extern const char* const kFix1101;
extern const char* const kFix1100;
extern const char* const kApt1100;
extern const char* const kNav810;
extern const char* const kFix600;
extern const char* const kAwy640;
extern const char* const kApt1000;

// A fresh, empty folder for a test: <tmp>/world_folders/<suite>.<test>/<name>.
std::filesystem::path fresh_folder(const std::string& name);
void write_text(const std::filesystem::path& path, const std::string& text);
void write_gzip(const std::filesystem::path& path, const std::string& text);

// An X-Plane 12 folder: Resources/default data (nav 1200, fix 1200, awy 1101) and the Global
// Airports' apt.dat 1200.
void write_xplane12(const std::filesystem::path& dir);
// An X-Plane 11 folder: Resources/default data (nav 1100, fix 1101, awy 1101) and the default apt
// dat's apt.dat 1100.
void write_xplane11(const std::filesystem::path& dir);
// A provider's cycle in Custom Data: nav 1150 (QVR on 114.70 instead of 113.70), fix 1101, awy 1101.
void write_custom_data(const std::filesystem::path& xplane_dir);
// A FlightGear data folder: Navaids/nav.dat.gz 810, fix.dat.gz 600, awy.dat.gz 640 and
// Airports/apt.dat.gz 1000.
void write_flightgear(const std::filesystem::path& dir);

// The programs are run with testrun's helpers, named here too for the tests of these folders.
using testrun::read_text;
using testrun::run_command;

}  // namespace worldfolders
