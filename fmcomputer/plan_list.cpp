#include <dirent.h>
#include <strings.h>

#include <cstdio>
#include <cstring>

#include "fmcomputer/plan.h"

namespace fmc {

char plan_names[kMaxPlans][kPlanNameSize];
char plan_paths[kMaxPlans][kPlanPathSize];

namespace {

constexpr std::size_t kNameChars = kPlanNameSize - 1;

bool is_plan_file(const char* name) {
    const std::size_t n = std::strlen(name);
    return n > 4 && strcasecmp(name + n - 4, ".pln") == 0;
}

}  // namespace

void clear_plan_paths() { std::memset(plan_paths, 0, sizeof plan_paths); }

void build_plan_list() {
    std::memset(plan_names, 0, sizeof plan_names);
    clear_plan_paths();
    int count = 0;
    if (DIR* dir = ::opendir(kPlanFolder)) {
        // Directory order, as the simulator's own file search returns them: no sorting.
        while (count < kMaxPlans) {
            const dirent* entry = ::readdir(dir);
            if (!entry) break;
            if (!is_plan_file(entry->d_name)) continue;
            const int written = std::snprintf(plan_paths[count], kPlanPathSize, "%s%s", kPlanFolder, entry->d_name);
            if (written < 0 || static_cast<std::size_t>(written) >= kPlanPathSize) {
                plan_paths[count][0] = '\0';  // a path that does not fit could only open the wrong file
                continue;
            }
            std::size_t length = std::strlen(entry->d_name) - 4;
            if (length > kNameChars) length = kNameChars;
            std::memcpy(plan_names[count], entry->d_name, length);
            plan_names[count][length] = '\0';
            ++count;
        }
        ::closedir(dir);
    }
    if (count == 0) std::snprintf(plan_names[0], kPlanNameSize, "%s", "NO FLIGHT PLAN AVAILABLE");
}

}  // namespace fmc
