// How a refused creation step is made known: a message box in the gauge's name and an entry in
// the error log "Gauges/<gauge name>.err".

#include "platform/message_box.h"
#include "surface/surface_state.h"

namespace surface {
namespace {

int log_entries = 0;

const char* step_message(int step) {
    switch (step) {
        case 1: return "\nUnable to create DirectDraw object.";
        case 2: return "\nUnable to set cooperative level.";
        case 3: return "\nUnable to query DD interface.";
        case 4: return "\nUnable to create surface.";
        case 5: return "\nUnable to query DDS interface.";
        case 6: return "\nUnable to lock surface.";
        case 7: return "\nUnable to create palette.";
        case 8: return "\nUnable to set palette.";
        case 9: return "\nUnable to get Device Context.";
        case 10: return "\nUnrecognized color format.";
        case 11: return "\nUnable to create bitmask surface.";
        case 12: return "\nUnable to query DDS interface for bitmask.";
        case 13: return "\nUnable to lock bitmask surface.";
        case 14: return "\nUnable to get Device Context for bitmask.";
        default: return "\nUnknown error.";
    }
}

}  // namespace

void note_log_entry() { ++log_entries; }

// The creation keeps count itself through these two, so a log nobody wrote to can be removed.
int log_entries_written() { return log_entries; }
void reset_log_entries() { log_entries = 0; }

bool ReportSurfaceError(plat::SurfaceResult result, std::FILE* log, int step) {
    if (result == plat::kSurfaceOk) return true;
    DisplaySurface& s = the_surface();
    char text[256];
    std::snprintf(text, sizeof text, "%s%s", s.gauge_name, step_message(step));
    plat::show_message_box("", text, "Error", plat::MessageIcon::error);
    if (log) {
        std::fprintf(log, "%s\n ddrval = %08X\n\n", text, static_cast<unsigned>(result));
        note_log_entry();
    }
    s.failed = true;
    return false;
}

}  // namespace surface
