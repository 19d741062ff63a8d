#pragma once
// Gauges/fp.tmp: the loaded plan's path, the page, its page index and the four switches, kept
// from one panel load to the next.

namespace fmc {

inline constexpr const char* kScratchPath = "Gauges/fp.tmp";

struct ScratchState {
    bool found = false;
    char path[260] = "";
    int page = 0;
    int page_index = 1;
    int exec = 0, hrz = 0, vrt = 0, spd = 0;
};

// Reads the file; found is false when it does not exist.
ScratchState read_scratch();
// At install: the saved plan loaded again, then the page, its index and the switches (EXEC last,
// as its key would switch it on). Nothing changes when there is no file.
void restore_from_scratch();
// Writes the seven lines (or an empty file when no plan path is known) to a temporary file and
// renames it over the old one, so a crash never leaves a half-written file. False on failure.
bool write_scratch(const char* plan_path);

}  // namespace fmc
