#pragma once
// FlightGear's property server as the link speaks it: the telnet text protocol in its normal
// (prompting) mode, where every answer line names its property, "/path = 'value' (type)". The link
// matches answers by path, so prompts, echoes, half lines and lines of other commands cost nothing
// but the line itself. Every check here is on bytes from another program: nothing is trusted.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace simlink::fg {

// One answer line taken apart; the views point into the line.
struct Answer {
    std::string_view path;
    std::string_view value;
    std::string_view type;  // FlightGear's name: bool, int, long, float, double, string, unspecified, none, unknown
};

// Longest answer line the link reads; anything longer is garbage and is dropped whole.
inline constexpr std::size_t max_line_bytes = 1024;
// Longest property path and identifier text the link accepts.
inline constexpr std::size_t max_path_bytes = 200;
inline constexpr std::size_t max_text_bytes = 31;

// Takes a line (without its newline; a trailing CR is ignored) apart. A line that starts with the
// server's prompts ("/> ") still parses. Anything not of the answer's shape gives nothing.
std::optional<Answer> parse_answer(std::string_view line);

// The value as a number: FlightGear's bools ("true"/"false"), and any type whose whole text is a
// finite number. A property without a value (type none, or unknown when absent) has no number.
std::optional<double> number_value(const Answer& a);
// The value as a text: printable ASCII of at most max_text_bytes. A property that is there but holds
// nothing (type none) is the empty text; an absent one (type unknown) has no value.
std::optional<std::string> text_value(const Answer& a);

// A property path the link may send: absolute, of path characters only, so a request can never
// carry a second command.
bool valid_path(std::string_view path);
// A value the link may send: no spaces or control characters (the server splits on blanks).
bool valid_value(std::string_view value);

// The request lines, CR LF ended.
std::string get_request(std::string_view path);
std::string set_request(std::string_view path, std::string_view value);

// Cuts the byte stream into lines. Bytes of an over-long line are dropped up to its newline; a
// half line waits for the rest.
class LineSplitter {
public:
    void feed(const char* data, std::size_t size);
    // The next whole line, without its line end; false when none is complete.
    bool next(std::string& line);
    // Forgets a half line (after the connection dropped).
    void clear();
    std::size_t dropped_lines() const { return dropped_; }

private:
    std::deque<std::string> lines_;
    std::string partial_;
    bool skipping_ = false;  // inside an over-long line
    std::size_t dropped_ = 0;
};

}  // namespace simlink::fg
