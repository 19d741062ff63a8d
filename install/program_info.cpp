#include "install/program_info.h"

namespace install {

const char* version() { return PANEL_VERSION; }

void print_version(const char* program, std::FILE* to) {
    std::fprintf(to,
                 "%s (cockpit-panel) %s\n"
                 "Copyright (C) 2025-2026 The cockpit panel developers.\n"
                 "License GPLv2+: GNU GPL version 2 or later <https://www.gnu.org/licenses/old-licenses/gpl-2.0.html>.\n"
                 "This is free software: you are free to change and redistribute it.\n"
                 "There is NO WARRANTY, to the extent permitted by law.\n"
                 "The world navigation data it ships is (c) 2013 Robin A. Peel, as modified by the FlightGear\n"
                 "team, under the same licence.\n",
                 program, PANEL_VERSION);
}

}  // namespace install
