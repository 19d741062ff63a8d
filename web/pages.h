#pragma once
// The pages, script and style the browser server sends, embedded in the program at build time from
// web/pages/: the server never reads a file from disk.

#include <cstdint>
#include <span>
#include <string_view>

namespace web {

struct EmbeddedFile {
    std::string_view name;  // as under web/pages/: "index.html", "panel.js"...
    std::string_view content_type;
    std::span<const std::uint8_t> bytes;
};

// The embedded file of that name, or null.
const EmbeddedFile* find_embedded_file(std::string_view name);

}  // namespace web
