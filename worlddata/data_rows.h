#pragma once
// The frame every X-Plane-format file shares, for the parsers: "I" (or "A"), the version line, then
// data rows up to a line "99". A row is taken, malformed, or of a kind the parser leaves out.

#include <cstddef>
#include <string_view>

#include "worlddata/line_fields.h"
#include "worlddata/xplane.h"

namespace worlddata {

enum class Row { taken, skipped, left_out };

// Calls fn(fields) for every data row and counts what it answers in stats (when given).
template <typename Fn>
void for_each_data_line(std::string_view text, ParseStats* stats, Fn fn) {
    std::size_t number = 0;
    bool ended = false;
    for_each_line(text, [&](std::string_view line) {
        if (ended || number++ < 2) return;
        LineFields f(line);
        if (f.size() == 0) return;
        if (f.size() == 1 && f[0] == "99") {
            ended = true;
            return;
        }
        const Row row = fn(f);
        if (!stats) return;
        if (row == Row::skipped && stats->skipped == 0) stats->first_skipped_line = number;
        ++(row == Row::skipped ? stats->skipped : row == Row::left_out ? stats->left_out : stats->rows);
    });
}

}  // namespace worlddata
