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
// Replaces the file atomically (platform/atomic_file.h) with the seven lines, or with an empty file
// when no plan path is known, so a kill never leaves a half-written file. False on failure, with
// the old file whole.
bool write_scratch(const char* plan_path);

}  // namespace fmc
