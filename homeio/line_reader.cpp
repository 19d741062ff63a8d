#include "homeio/line_reader.h"

#include <cstdint>

namespace homeio {

const char* describe(LineFault fault) {
    switch (fault) {
        case LineFault::none: return "no fault";
        case LineFault::too_long: return "line longer than 256 bytes";
        case LineFault::not_text: return "bytes that are not UTF-8 text";
    }
    return "?";
}

bool is_protocol_text(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
            ++i;
            continue;
        }
        // The sequence's length and the least its value may be, so overlong forms are refused.
        std::size_t n = 0;
        std::uint32_t value = 0, least = 0;
        if ((c & 0xE0) == 0xC0) n = 1, value = c & 0x1F, least = 0x80;
        else if ((c & 0xF0) == 0xE0) n = 2, value = c & 0x0F, least = 0x800;
        else if ((c & 0xF8) == 0xF0) n = 3, value = c & 0x07, least = 0x10000;
        else return false;
        if (n >= text.size() - i) return false;  // the sequence runs past the text
        for (std::size_t k = 1; k <= n; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            value = (value << 6) | (d & 0x3F);
        }
        if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
        i += n + 1;
    }
    return true;
}

LineFault LineReader::finish(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxLine) return LineFault::too_long;
    if (!is_protocol_text(line)) return LineFault::not_text;
    return LineFault::none;
}

LineFault LineReader::feed(std::string_view bytes, std::vector<std::string>& lines) {
    while (fault_ == LineFault::none && !bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        // One byte more than a line may hold is room for the CR of a CR LF.
        if (partial_.size() + piece.size() > kMaxLine + 1) {
            fault_ = LineFault::too_long;
            break;
        }
        partial_.append(piece);
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
        std::string line = std::move(partial_);
        partial_.clear();
        fault_ = finish(line);
        if (fault_ == LineFault::none) lines.push_back(std::move(line));
    }
    if (fault_ != LineFault::none) partial_.clear();
    return fault_;
}

}  // namespace homeio
