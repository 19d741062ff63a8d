#pragma once
// A connection's bytes cut into protocol lines: one command a line, ended by LF or CR LF, UTF-8
// text of at most kMaxLine bytes. What is not that (a longer line, a NUL or another control
// character, bytes that are not UTF-8) is a fault that ends the connection: a client that sends it
// is not speaking the protocol.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace homeio {

inline constexpr std::size_t kMaxLine = 256;  // bytes, the line's end not counted

enum class LineFault { none, too_long, not_text };

const char* describe(LineFault fault);

class LineReader {
public:
    // Adds the lines the bytes complete to `lines`. After a fault nothing more is read.
    LineFault feed(std::string_view bytes, std::vector<std::string>& lines);
    LineFault fault() const { return fault_; }
    // Bytes of a line not yet ended.
    std::size_t pending() const { return partial_.size(); }

private:
    LineFault finish(std::string& line);

    std::string partial_;
    LineFault fault_ = LineFault::none;
};

// Whether the text is well-formed UTF-8 without control characters (a tab is allowed).
bool is_protocol_text(std::string_view text);

}  // namespace homeio
