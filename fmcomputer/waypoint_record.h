#pragma once
// One waypoint record of a flight plan: 103 fixed columns, a zero over its CR once published.
// Every field is read within its own columns, so a number never runs into the next field.

#include <cstddef>

namespace fmc {

inline constexpr std::size_t kRecordLength = 103;
inline constexpr std::size_t kRecordStep = 105;  // with its CR LF

// Copies columns [column, column + width) of a record into out (NUL-terminated, at most
// out_size - 1 characters), stopping early at the record's terminating zero.
void record_field(const char* record, std::size_t column, std::size_t width, char* out, std::size_t out_size);

struct RecordTime {
    int hours = 0;
    int minutes = 0;
};

// Signed degrees of the latitude (columns 46-59) and longitude (60-73) texts.
double record_latitude(const char* record);
double record_longitude(const char* record);
int record_altitude(const char* record);  // columns 75-79, feet
int record_course(const char* record);    // columns 82-84, degrees
double record_distance(const char* record);  // columns 87-94, NM from the departure
RecordTime record_time(const char* record);  // hours 95-96, minutes 98-99

// Degrees of a coordinate text: hemisphere letter, then degrees, minutes and seconds at the
// given offsets, each a number within its own columns; negative for S and W.
double coordinate_degrees(const char* text14, std::size_t degree_width, std::size_t minute_offset,
                          std::size_t second_offset);

// The shown ident: the ident field, or for "*****" on the legs page "*" + type[0..3) + "*" and
// on the progress page the type field. out holds at least 6 bytes.
void legs_ident(const char* record, char* out, std::size_t out_size);
void progress_ident(const char* record, char* out, std::size_t out_size);

}  // namespace fmc
