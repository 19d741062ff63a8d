#pragma once
// The program's icon for desktop menus: an attitude indicator, sky over ground banked a little,
// the aircraft symbol across it, in a round bezel; see-through around the bezel.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace art {

struct RgbaPicture {
    int size = 0;                    // width and height
    std::vector<std::uint8_t> rgba;  // size * size pixels, rows top-down, alpha not premultiplied
};

// The icon at size x size pixels, 16 to 1024. Drawn with the panel's canvas several times larger
// and averaged down, so its round edges blend into whatever lies behind; the small sizes leave out
// the details they could not show.
RgbaPicture program_icon(int size);

// Writes the icon as an RGBA PNG; the error, if any.
std::optional<std::string> write_program_icon(int size, const std::string& path);

}  // namespace art
