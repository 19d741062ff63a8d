#include "install/program_info.h"

namespace install {

const char* version() { return PANEL_VERSION; }

void print_version(const char* program, std::FILE* to) {
    std::fprintf(to,
                 "%s (cockpit-panel) %s\n"
                 "The world navigation data it ships is (c) 2013 Robin A. Peel, as modified by the FlightGear\n"
                 "team, under the GNU General Public License version 2 or later, with no warranty.\n",
                 program, PANEL_VERSION);
}

}  // namespace install
