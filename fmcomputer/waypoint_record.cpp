#include "fmcomputer/waypoint_record.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fmc {

namespace {

double number_in(const char* record, std::size_t column, std::size_t width) {
    char text[16];
    record_field(record, column, width, text, sizeof text);
    return std::strtod(text, nullptr);
}

long integer_in(const char* record, std::size_t column, std::size_t width) {
    char text[16];
    record_field(record, column, width, text, sizeof text);
    return std::strtol(text, nullptr, 10);
}

bool is_starred(const char* record) {
    char ident[6];
    record_field(record, 5, 5, ident, sizeof ident);
    return std::strcmp(ident, "*****") == 0;
}

}  // namespace

void record_field(const char* record, std::size_t column, std::size_t width, char* out, std::size_t out_size) {
    if (out_size == 0) return;
    std::size_t n = 0;
    if (record && column < kRecordLength && strnlen(record, kRecordLength) > column) {
        const char* from = record + column;
        const std::size_t available = strnlen(from, kRecordLength - column);
        n = width < available ? width : available;
        if (n > out_size - 1) n = out_size - 1;
        std::memcpy(out, from, n);
    }
    out[n] = '\0';
}

double coordinate_degrees(const char* text, std::size_t degree_width, std::size_t minute_offset,
                          std::size_t second_offset) {
    if (!text || !text[0]) return 0.0;
    char part[16];
    auto take = [&](std::size_t offset, std::size_t width) {
        std::size_t n = 0;
        const std::size_t len = strnlen(text, 14);
        for (; n < width && offset + n < len && n < sizeof part - 1; ++n) part[n] = text[offset + n];
        part[n] = '\0';
        return std::strtod(part, nullptr);
    };
    const double degrees = take(1, degree_width);
    const double minutes = take(minute_offset, 2);
    const double seconds = take(second_offset, 14 - second_offset);
    const double value = degrees + (minutes + seconds / 60.0) / 60.0;
    return (text[0] == 'S' || text[0] == 'W') ? -value : value;
}

double record_latitude(const char* record) {
    char text[15];
    record_field(record, 46, 14, text, sizeof text);
    return coordinate_degrees(text, 2, 4, 7);
}

double record_longitude(const char* record) {
    char text[15];
    record_field(record, 60, 14, text, sizeof text);
    return coordinate_degrees(text, 3, 5, 8);
}

int record_altitude(const char* record) { return static_cast<int>(integer_in(record, 75, 5)); }
int record_course(const char* record) { return static_cast<int>(integer_in(record, 82, 3)); }
double record_distance(const char* record) { return number_in(record, 87, 8); }

RecordTime record_time(const char* record) {
    return {static_cast<int>(integer_in(record, 95, 2)), static_cast<int>(integer_in(record, 98, 2))};
}

void legs_ident(const char* record, char* out, std::size_t out_size) {
    if (!is_starred(record)) {
        record_field(record, 5, 5, out, out_size);
        return;
    }
    char type[4];
    record_field(record, 0, 3, type, sizeof type);
    std::snprintf(out, out_size, "*%s*", type);
}

void progress_ident(const char* record, char* out, std::size_t out_size) {
    record_field(record, is_starred(record) ? 0 : 5, 5, out, out_size);
}

}  // namespace fmc
