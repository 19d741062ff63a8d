#include "simlink/flightgear/props_protocol.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace simlink::fg {

namespace {

constexpr std::string_view kKnownTypes[] = {"bool", "int", "long", "float", "double", "string", "unspecified",
                                            "none", "unknown", "alias"};

bool known_type(std::string_view t) {
    for (std::string_view k : kKnownTypes)
        if (t == k) return true;
    return false;
}

bool path_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' || c == '-' ||
           c == '_' || c == '.' || c == '[' || c == ']';
}

// The prompt is the server's current folder and "> "; only the text after the last one is ours.
std::string_view after_prompts(std::string_view head) {
    const std::size_t p = head.rfind("> ");
    return p == std::string_view::npos ? head : head.substr(p + 2);
}

std::optional<double> parse_finite(std::string_view text) {
    if (text.empty() || text.size() > 64) return std::nullopt;
    char buf[72];
    std::memcpy(buf, text.data(), text.size());
    buf[text.size()] = '\0';
    if (buf[0] == ' ' || buf[0] == '\t') return std::nullopt;  // strtod would skip them; we do not
    char* end = nullptr;
    const double v = std::strtod(buf, &end);
    if (end != buf + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace

std::optional<Answer> parse_answer(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > max_line_bytes) return std::nullopt;
    const std::size_t eq = line.find(" = '");
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view path = after_prompts(line.substr(0, eq));
    if (!valid_path(path)) return std::nullopt;
    const std::string_view rest = line.substr(eq + 4);
    // The value may hold quotes of its own; the type is what follows the last "' (".
    const std::size_t close = rest.rfind("' (");
    if (close == std::string_view::npos || rest.back() != ')') return std::nullopt;
    const std::string_view type = rest.substr(close + 3, rest.size() - close - 4);
    if (!known_type(type)) return std::nullopt;
    return Answer{path, rest.substr(0, close), type};
}

std::optional<double> number_value(const Answer& a) {
    if (a.type == "none" || a.type == "unknown") return std::nullopt;
    if (a.value == "true") return 1.0;
    if (a.value == "false") return 0.0;
    return parse_finite(a.value);
}

std::optional<std::string> text_value(const Answer& a) {
    if (a.type == "unknown") return std::nullopt;
    if (a.type == "none") return std::string();  // there, holding nothing: an autopilot lock that is off
    if (a.value.size() > max_text_bytes) return std::nullopt;
    for (char c : a.value)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return std::nullopt;
    return std::string(a.value);
}

bool valid_path(std::string_view path) {
    if (path.empty() || path.size() > max_path_bytes || path.front() != '/') return false;
    for (char c : path)
        if (!path_char(c)) return false;
    return true;
}

bool valid_value(std::string_view value) {
    if (value.size() > max_path_bytes) return false;
    for (char c : value)
        if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
    return true;
}

std::string get_request(std::string_view path) {
    std::string r = "get ";
    r += path;
    r += "\r\n";
    return r;
}

std::string set_request(std::string_view path, std::string_view value) {
    std::string r = "set ";
    r += path;
    if (!value.empty()) {
        r += ' ';
        r += value;
    }
    r += "\r\n";
    return r;
}

void LineSplitter::feed(const char* data, std::size_t size) {
    while (size > 0) {
        const auto* nl = static_cast<const char*>(std::memchr(data, '\n', size));
        const std::size_t chunk = nl ? static_cast<std::size_t>(nl - data) : size;
        const std::size_t used = nl ? chunk + 1 : chunk;
        if (!skipping_ && partial_.size() + chunk > max_line_bytes) {
            partial_.clear();
            skipping_ = true;
        }
        if (skipping_) {
            if (nl) {
                skipping_ = false;
                ++dropped_;
            }
        } else {
            partial_.append(data, chunk);
            if (nl) {
                if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
                lines_.push_back(std::move(partial_));
                partial_.clear();
            }
        }
        data += used;
        size -= used;
    }
}

bool LineSplitter::next(std::string& line) {
    if (lines_.empty()) return false;
    line = std::move(lines_.front());
    lines_.pop_front();
    return true;
}

void LineSplitter::clear() {
    lines_.clear();
    partial_.clear();
    skipping_ = false;
}

}  // namespace simlink::fg
