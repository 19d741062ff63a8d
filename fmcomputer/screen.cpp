#include "fmcomputer/screen.h"

#include <cstdio>
#include <cstring>

#include "fmcomputer/pages.h"
#include "fmcomputer/state.h"
#include "host/declare.h"

namespace fmc {

char page_data[kEntries][kDataEntrySize];
char label_data[kEntries][kLabelEntrySize];
int redraw_counter = 1;
int last_seen_counter = 0;

namespace {

constexpr std::uint32_t kGreen = 0x0000FF00u;  // 0x00BBGGRR
constexpr std::uint32_t kRed = 0x000000FFu;
constexpr std::uint32_t kBlack = 0;
constexpr std::uint32_t kLineFlags = gauge::draw_erase | gauge::draw_lit;
constexpr std::int32_t kNoHighlight = 65535;

const gauge::FailureRecord hide_on_failure[] = {{1, 3, 0}, {0, 0, 0}};

// Courier New sized so a full line of its characters fits the 220-pixel screen width.
constexpr gauge::StringStyle kLabelStyle = {220, 13, "Courier New", -11, 400, kGreen, kBlack, kRed, 1, 33};
constexpr gauge::StringStyle kDataStyle = {220, 17, "Courier New", -14, 400, kGreen, kBlack, kRed, 1, 25};

double line_value(gauge::VariableRecord*) { return redraw_counter; }

double line2_value(gauge::VariableRecord*) {
    if (current_page == page_position) follow_position_ref();
    return redraw_counter;
}

gauge::StringElement make_line(int y, bool data, gauge::VarCallback fill = line_value) {
    gauge::StringElement s = gauge::string_element({30, y}, data ? kDataStyle : kLabelStyle, kLineFlags, fill,
                                                   nullptr, hide_on_failure);
    s.highlight_from = kNoHighlight;
    s.highlight_to = kNoHighlight;
    return s;
}

}  // namespace

gauge::StringElement screen_lines[kLineCount] = {
    make_line(8, false),   make_line(21, false), make_line(34, true, line2_value),
    make_line(51, false),  make_line(64, true),  make_line(81, false),
    make_line(94, true),   make_line(111, false), make_line(124, true),
    make_line(141, false), make_line(154, true), make_line(171, false),
    make_line(184, true),  make_line(201, false),
};

void clear_page_areas() {
    std::memset(page_data, 0, sizeof page_data);
    std::memset(label_data, 0, sizeof label_data);
}

void set_entry(int index, const char* text) {
    if (index < 0 || index >= kEntries) return;
    std::snprintf(page_data[index], kDataEntrySize, "%s", text);
}

void set_label(int index, const char* text) {
    if (index < 0 || index >= kEntries) return;
    std::snprintf(label_data[index], kLabelEntrySize, "%s", text);
}

void bump_redraw() { ++redraw_counter; }

const char* line(int index) {
    if (index < 0 || index >= kLineCount || !screen_lines[index].text) return "";
    return screen_lines[index].text;
}

void set_line(int index, const char* text) {
    if (index < 0 || index >= kLineCount) return;
    gauge::StringElement& s = screen_lines[index];
    if (!s.text || s.buffer_size <= 0) return;
    std::snprintf(s.text, static_cast<std::size_t>(s.buffer_size), "%s", text);
}

void write_line_at(int index, int column, const char* text) {
    if (index < 0 || index >= kLineCount || column < 0) return;
    gauge::StringElement& s = screen_lines[index];
    if (!s.text || s.buffer_size <= 0) return;
    put_at(s.text, static_cast<std::size_t>(s.buffer_size), static_cast<std::size_t>(column), text);
}

void highlight_exec_line(bool on) {
    screen_lines[kExecLine].highlight_from = on ? 0 : kNoHighlight;
    screen_lines[kExecLine].highlight_to = on ? 34 : kNoHighlight;
}

void show_exception(const char* message) {
    set_line(kExecLine, message);
    highlight_exec_line(true);
    bump_redraw();
}

void pad_to(char* buffer, std::size_t size, std::size_t length) {
    if (size == 0) return;
    if (length > size - 1) length = size - 1;
    const std::size_t n = strnlen(buffer, size - 1);
    if (n >= length) {
        buffer[n] = '\0';
        return;
    }
    std::memset(buffer + n, ' ', length - n);
    buffer[length] = '\0';
}

void put_at(char* buffer, std::size_t size, std::size_t column, const char* text, std::size_t count) {
    if (size == 0 || column >= size - 1) return;
    pad_to(buffer, size, column);
    const std::size_t n = strnlen(buffer, size - 1);
    std::size_t i = 0;
    for (; text[i] && i < count && column + i < size - 1; ++i) buffer[column + i] = text[i];
    if (column + i > n) buffer[column + i] = '\0';
}

void refresh_screen(bool legs) {
    int n = 0;
    while (n < kEntries && page_data[n][0]) ++n;
    const int pages = n == 0 ? 1 : (n + 5) / 6;
    if (page_index > pages) page_index = pages;
    if (page_index < 1) page_index = 1;
    char number[16];
    std::snprintf(number, sizeof number, "%d/%d", page_index, pages);
    write_line_at(0, kPageNumberColumn, number);
    const int first = 6 * (page_index - 1);
    for (int k = 0; k < 6; ++k) {
        // The last screen page of a full area runs past entry 255: those lines stay empty.
        const bool inside = first + k < kEntries;
        set_line(2 + 2 * k, inside ? page_data[first + k] : "");
        if (legs) set_line(1 + 2 * k, inside ? label_data[first + k] : "");
    }
}

}  // namespace fmc
