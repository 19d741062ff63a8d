#pragma once
// The FMC screen: fourteen string lines, the page data and label areas the pages fill, the redraw
// counter the lines follow, and the refresh step that copies one screen page of entries onto the
// lines. Line texts live in buffers the host allocates at install; every write is bounded by them.

#include <cstddef>

#include "host/records.h"

namespace fmc {

inline constexpr int kLineCount = 14;
inline constexpr int kEntries = 256;
inline constexpr std::size_t kDataEntrySize = 33;
inline constexpr std::size_t kLabelEntrySize = 25;
inline constexpr int kExecLine = 13;
inline constexpr int kPageNumberColumn = 27;

extern gauge::StringElement screen_lines[kLineCount];

// Page data: entry i shows on data line (i mod 6) + 1 of screen page i / 6 + 1.
extern char page_data[kEntries][kDataEntrySize];
extern char label_data[kEntries][kLabelEntrySize];
void clear_page_areas();
// Bounded copy into an entry (cut to fit).
void set_entry(int index, const char* text);
void set_label(int index, const char* text);

// Redraw counter and the last value the refresh saw.
extern int redraw_counter;
extern int last_seen_counter;
void bump_redraw();

// Line text ("" before install).
const char* line(int index);
void set_line(int index, const char* text);
// Writes text into a line from a column, padding a shorter line with blanks first.
void write_line_at(int index, int column, const char* text);
// Line 13 highlight: every character (an exception message) or none.
void highlight_exec_line(bool on);
// A contained fault: its message on line 13, highlighted.
void show_exception(const char* message);

// Writes text into a fixed buffer from a column, padding with blanks and keeping the NUL;
// never past size - 1 characters.
void put_at(char* buffer, std::size_t size, std::size_t column, const char* text, std::size_t count = static_cast<std::size_t>(-1));
// Pads a buffer with blanks to length characters (bounded by its size).
void pad_to(char* buffer, std::size_t size, std::size_t length);

// Refresh step: page count from the data entries, clamps the page index, writes the page number
// and copies one screen page of entries (and labels, for the legs page) onto the lines.
void refresh_screen(bool legs);

// Runs a page builder or computation, containing any fault as an exception line.
template <typename F>
void guarded(const char* message, F&& body) {
    try {
        body();
    } catch (...) {
        show_exception(message);
    }
}

}  // namespace fmc
