#pragma once
// The navigation database as the display reads it: five read-only text files under NavData, each a
// header line and then fixed-length record lines. Opening maps them whole and checks that they fit
// together, giving the status code the display shows when it is not 0:
//   0 usable; 100 + bits a file did not open; 200 + bits a file could not be mapped (an empty file
//   cannot be); 400 + bits a data area is not a whole number of records; 500 the index does not
//   list exactly the records of the four data files, or lists none.
// Bits: idx 1, ndb 2, vor 4, apt 8, int 16.
//
// Every read goes through the bounded accessors below: a record number outside its file, a column
// beyond the record's length, or a record that does not end in its newline reads as nothing.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/mapped_file.h"

namespace navdb {

enum FileBit : int { bit_idx = 1, bit_ndb = 2, bit_vor = 4, bit_apt = 8, bit_int = 16 };

// Index record columns.
inline constexpr int kIdxLonColumn = 0, kIdxLonWidth = 12;
inline constexpr int kIdxLatColumn = 12, kIdxLatWidth = 10;
inline constexpr int kIdxKindColumn = 24;
inline constexpr int kIdxRecordColumn = 27, kIdxRecordWidth = 5;
// Data record columns.
inline constexpr int kIdentColumn = 0, kIdentWidth = 5;
inline constexpr int kVorKindColumn = 33;
inline constexpr int kLocCourseColumn = 58, kLocCourseWidth = 3;
inline constexpr int kRunwayEnd1Column = 33, kRunwayEnd2Column = 37, kRunwayEndWidth = 3;
inline constexpr int kRunwayHeadingColumn = 42, kRunwayHeadingWidth = 3;
inline constexpr int kRunwayLengthColumn = 87, kRunwayLengthWidth = 5;

// One mapped file: its view, where its records begin and how long each is.
struct DataFile {
    plat::FileView view;
    std::size_t data_offset = 0;    // the byte after the header line
    std::size_t record_length = 0;  // including the newline; 0 when there is no record line
    std::size_t record_count() const;
    // Record n, or null when n is outside the file or the record does not end in its newline.
    const char* record(std::size_t n) const;
};

struct Database {
    DataFile idx, ndb, vor, apt, intx;
    int status = 100 + 31;
};

// Opens and checks "<folder>/idx.dat", "ndb.dat", "vor.dat", "apt.dat", "int.dat"; sets status.
void open_database(Database& db, const std::string& folder);
void close_database(Database& db);

// Column text of a record of `length` bytes: up to `width` characters from `column`, copied into
// out (always terminated); false when the record is too short for the column.
bool field(const char* record, std::size_t length, int column, int width, char* out, std::size_t out_size);
// A decimal number read from the columns, as far as it goes; `fallback` when none is there.
double field_number(const char* record, std::size_t length, int column, int width, double fallback = 0.0);
// One character of a record, or ' ' beyond it.
char field_char(const char* record, std::size_t length, int column);

// The data file an index kind letter names ("V", "N", "A", "I"), or null.
const DataFile* file_of_kind(const Database& db, char kind);

}  // namespace navdb
