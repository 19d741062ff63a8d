// Loading a plan: the file is checked, copied into the next fltplanMap block and read from there.
#include <cstdio>
#include <cstring>

#include "fmcomputer/guidance.h"
#include "fmcomputer/plan.h"
#include "fmcomputer/waypoint_record.h"
#include "platform/mapped_file.h"
#include "platform/shared_block.h"

namespace fmc {

namespace {

constexpr const char* kWaypointsHeader = "[WAYPOINTS]";

plat::SharedView published;
int publish_index = 0;
int records_taken = 0;
std::size_t first_record = 0;
char current_path[kPlanPathSize];
AircraftValues values;
AirportInfo departure_info;
AirportInfo arrival_info;

const char* find_bytes(const char* data, std::size_t size, const char* needle) {
    const std::size_t n = std::strlen(needle);
    for (std::size_t i = 0; i + n <= size; ++i)
        if (std::memcmp(data + i, needle, n) == 0) return data + i;
    return nullptr;
}

bool is_blank_tail(const char* data, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (data[i] != '\r' && data[i] != '\n' && data[i] != ' ' && data[i] != '\0') return false;
    return true;
}

// The waypoint records of a plan file as it will stand in the block: every record whole, 103
// characters and CR LF, the last one ending at or before the end of the text. A plan whose
// records do not line up, or whose last record is cut short, is refused rather than read past
// its end; beyond 256 records the rest are not taken.
bool locate_records(const char* data, std::size_t size, std::size_t& first, int& count) {
    first = 0;
    count = 0;
    const char* header = find_bytes(data, size, kWaypointsHeader);
    if (!header) return true;
    first = static_cast<std::size_t>(header - data) + std::strlen(kWaypointsHeader) + 2;
    if (first >= size) return true;
    const std::size_t whole = (size - first) / kRecordStep;
    if (!is_blank_tail(data, first + whole * kRecordStep, size)) return false;
    for (std::size_t i = 0; i < whole; ++i) {
        const std::size_t end = first + i * kRecordStep + kRecordLength;
        if (data[end] != '\r' || data[end + 1] != '\n') return false;
        // A record may not hold the text's end inside its 103 characters.
        if (std::memchr(data + end - kRecordLength, '\0', kRecordLength)) return false;
    }
    count = whole < static_cast<std::size_t>(kMaxRecords) ? static_cast<int>(whole) : kMaxRecords;
    return true;
}

void terminate_records(char* text) {
    for (int i = 0; i < records_taken; ++i) text[first_record + i * kRecordStep + kRecordLength] = '\0';
}

void clear_plan_values() {
    values = AircraftValues{};
    departure_info = AirportInfo{};
    arrival_info = AirportInfo{};
    records_taken = 0;
    first_record = 0;
    current_path[0] = '\0';
}

}  // namespace

void reset_publication() { publish_index = 0; }

void unpublish_plan() {
    published.unmap();
    clear_plan_values();
}

LoadResult load_plan(int k) {
    if (k < 0 || k >= kMaxPlans || !plan_paths[k][0]) return LoadResult::no_entry;
    char path[kPlanPathSize];
    std::snprintf(path, sizeof path, "%s", plan_paths[k]);
    unpublish_plan();
    auto file = plat::MappedFile::open(path);
    if (!file) return LoadResult::open_error;
    publish_index = publish_index == 0 ? 1 : 0;
    auto view = file->map();
    if (!view) return LoadResult::map_error;
    const char* bytes = reinterpret_cast<const char*>(view->data());
    const std::size_t size = view->size();
    std::size_t first = 0;
    int count = 0;
    if (!locate_records(bytes, size, first, count)) return LoadResult::map_error;

    char name[16];
    std::snprintf(name, sizeof name, "fltplanMap%d", publish_index);
    auto block = plat::SharedBlock::create_or_open(name, size);
    // A block of this name still held by a reader is its plan: it is not written over.
    if (!block || block->existed()) return LoadResult::map_error;
    auto mapped = block->map(plat::Access::read_write);
    if (!mapped || mapped->size() < size) return LoadResult::map_error;

    char* text = mapped->as<char>();
    std::memcpy(text, bytes, size);
    text[size - 1] = '\0';
    published = std::move(mapped).value();
    first_record = first;
    records_taken = count;
    terminate_records(text);
    std::snprintf(current_path, sizeof current_path, "%s", path);
    parse_aircraft_keys(text, values);
    parse_airport_section(text, "[DEPARTURE]", departure_info);
    parse_airport_section(text, "[ARRIVAL]", arrival_info);
    plan_loaded_for_guidance();
    return LoadResult::loaded;
}

bool plan_loaded() { return static_cast<bool>(published); }
const char* loaded_path() { return current_path; }
int record_count() { return records_taken; }
int destination_index() { return records_taken > 0 ? records_taken - 1 : 0; }

const char* record(int i) {
    if (!published || i < 0 || i >= records_taken) return nullptr;
    return published.as<const char>() + first_record + static_cast<std::size_t>(i) * kRecordStep;
}

const AircraftValues& aircraft() { return values; }
const AirportInfo& departure() { return departure_info; }
const AirportInfo& arrival() { return arrival_info; }

}  // namespace fmc
