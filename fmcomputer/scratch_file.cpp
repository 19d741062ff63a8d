#include "fmcomputer/scratch_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fmcomputer/keys.h"
#include "fmcomputer/pages.h"
#include "fmcomputer/plan.h"
#include "fmcomputer/state.h"
#include "platform/atomic_file.h"

namespace fmc {

namespace {

// One line without its line end; false at the end of the file.
bool read_line(std::FILE* f, char* out, std::size_t size) {
    if (!std::fgets(out, static_cast<int>(size), f)) {
        out[0] = '\0';
        return false;
    }
    const std::size_t n = std::strcspn(out, "\r\n");
    const bool whole = out[n] != '\0' || std::feof(f);
    out[n] = '\0';
    // The rest of an overlong line is not the next value.
    if (!whole) {
        int c;
        while ((c = std::fgetc(f)) != EOF && c != '\n') {
        }
    }
    return true;
}

int read_number(std::FILE* f) {
    char text[32];
    read_line(f, text, sizeof text);
    return static_cast<int>(std::strtol(text, nullptr, 10));
}

}  // namespace

ScratchState read_scratch() {
    ScratchState s;
    std::FILE* f = std::fopen(kScratchPath, "rb");
    if (!f) return s;
    s.found = true;
    read_line(f, s.path, sizeof s.path);
    s.page = read_number(f);
    s.page_index = read_number(f);
    if (s.page_index < 1) s.page_index = 1;
    s.exec = read_number(f);
    s.hrz = read_number(f);
    s.vrt = read_number(f);
    s.spd = read_number(f);
    std::fclose(f);
    return s;
}

void restore_from_scratch() {
    const ScratchState saved = read_scratch();
    if (!saved.found) return;
    if (saved.path[0]) {
        std::snprintf(plan_paths[0], kPlanPathSize, "%s", saved.path);
        load_plan_entry(0);
    }
    current_page = saved.page;
    page_index = saved.page_index;
    exec_on = false;
    hrz_on = saved.hrz != 0;
    vrt_on = saved.vrt != 0;
    spd_on = saved.spd != 0;
    build_exec_line();
    if (saved.exec != 0) switch_exec_on();
}

bool write_scratch(const char* plan_path) {
    std::string text;
    if (plan_path && plan_path[0]) {
        char numbers[96];
        std::snprintf(numbers, sizeof numbers, "\n%d\n%d\n%d\n%d\n%d\n%d\n", current_page, page_index,
                      exec_on ? 1 : 0, hrz_on ? 1 : 0, vrt_on ? 1 : 0, spd_on ? 1 : 0);
        text = std::string(plan_path) + numbers;
    }
    return plat::replace_file_atomically(kScratchPath, text).ok();
}

}  // namespace fmc
