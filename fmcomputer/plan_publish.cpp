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

// Where the waypoint records of a plan file stand, and what the published text needs added.
struct RecordLayout {
    std::size_t first = 0;
    int count = 0;
    // Bytes of line end the last record lacks (editors often save without a final line end): the
    // published text gets them, so that its last record is whole too.
    std::size_t missing_line_end = 0;
};

// A record's 103 characters may not hold the text's end.
bool record_text_whole(const char* data, std::size_t at) { return !std::memchr(data + at, '\0', kRecordLength); }

// The waypoint records of a plan file: every record whole, 103 characters and CR LF, the last one
// possibly without its line end. A plan whose records do not line up, or whose last record is cut
// short, is refused rather than read past its end; beyond 256 records the rest are not taken.
bool locate_records(const char* data, std::size_t size, RecordLayout& out) {
    out = RecordLayout{};
    const char* header = find_bytes(data, size, kWaypointsHeader);
    if (!header) return true;
    out.first = static_cast<std::size_t>(header - data) + std::strlen(kWaypointsHeader) + 2;
    if (out.first >= size) return true;
    std::size_t whole = (size - out.first) / kRecordStep;
    const std::size_t tail = out.first + whole * kRecordStep;
    if (!is_blank_tail(data, tail, size)) {
        const std::size_t rest = size - tail;
        const bool unended = rest == kRecordLength || (rest == kRecordLength + 1 && data[tail + kRecordLength] == '\r');
        if (!unended || !record_text_whole(data, tail)) return false;
        out.missing_line_end = kRecordStep - rest;
        ++whole;
    }
    const std::size_t ended = out.missing_line_end ? whole - 1 : whole;
    for (std::size_t i = 0; i < ended; ++i) {
        const std::size_t at = out.first + i * kRecordStep;
        if (data[at + kRecordLength] != '\r' || data[at + kRecordLength + 1] != '\n') return false;
        if (!record_text_whole(data, at)) return false;
    }
    out.count = whole < static_cast<std::size_t>(kMaxRecords) ? static_cast<int>(whole) : kMaxRecords;
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
    // The name alternates with every plan actually published, not with every attempt: the
    // navigation display waits for the name after the one it took last, so a failed load must
    // leave that name for the next good one.
    const int index = publish_index == 0 ? 1 : 0;
    auto view = file->map();
    if (!view) return LoadResult::map_error;
    const char* bytes = reinterpret_cast<const char*>(view->data());
    const std::size_t size = view->size();
    RecordLayout layout;
    if (!locate_records(bytes, size, layout)) return LoadResult::map_error;
    const std::size_t text_size = size + layout.missing_line_end;

    char name[16];
    std::snprintf(name, sizeof name, "fltplanMap%d", index);
    auto block = plat::SharedBlock::create_or_open(name, text_size);
    // A block of this name still held by a reader is its plan: it is not written over.
    if (!block || block->existed()) return LoadResult::map_error;
    auto mapped = block->map(plat::Access::read_write);
    if (!mapped || mapped->size() < text_size) return LoadResult::map_error;

    char* text = mapped->as<char>();
    std::memcpy(text, bytes, size);
    std::memcpy(text + size, "\r\n" + (2 - layout.missing_line_end), layout.missing_line_end);
    text[text_size - 1] = '\0';
    publish_index = index;
    published = std::move(mapped).value();
    first_record = layout.first;
    records_taken = layout.count;
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
