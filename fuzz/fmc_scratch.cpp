// The FMC scratch file Gauges/fp.tmp as the module takes it up at install: the plan it names loaded
// again, the page and its index and the switches restored, the page built and shown, and the keys
// that move through the pages pressed. A shipped plan lies where the seeds name it.
#include <cstring>
#include <fstream>

#include "fmcomputer/guidance.h"
#include "fmcomputer/keys.h"
#include "fmcomputer/pages.h"
#include "fmcomputer/plan.h"
#include "fmcomputer/scratch_file.h"
#include "fmcomputer/screen.h"
#include "fmcomputer/state.h"
#include "fmcomputer/workers.h"
#include "fuzz/fmc_host.h"
#include "fuzz/fuzz_support.h"

namespace {

void lay_out_folders() {
    static const bool done = [] {
        fuzzsupport::make_folder("Gauges");
        fuzzsupport::make_folder("NavData");
        fuzzsupport::make_folder("NavData/FlightPlans");
        std::ifstream in(FUZZ_SHIPPED_PLAN, std::ios::binary);
        const std::string plan((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        fuzzsupport::require(!plan.empty(), "shipped plan readable");
        fuzzsupport::write_file("NavData/FlightPlans/KSFO-KLAX.pln", reinterpret_cast<const std::uint8_t*>(plan.data()),
                                plan.size());
        return true;
    }();
    (void)done;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzsupport::InScratchFolder here;
    fuzzfmc::install();
    lay_out_folders();
    fuzzsupport::write_file(fmc::kScratchPath, data, size);
    const fmc::ScratchState saved = fmc::read_scratch();
    fuzzsupport::require(saved.found && saved.page_index >= 1, "scratch state read");
    fuzzsupport::require(std::memchr(saved.path, '\0', sizeof saved.path) != nullptr, "path terminated");

    fmc::clear_plan_paths();
    fmc::restore_from_scratch();
    const int page = fmc::current_page;
    fmc::show_page(page >= fmc::page_menu && page <= fmc::page_progress ? page : fmc::page_menu);
    fmc::refresh_screen(page == fmc::page_legs);
    for (int n = 1; n <= 6; ++n) {
        fmc::key_line_select_left(n);
        fmc::key_line_select_right(n);
    }
    fmc::key_next_page(nullptr, 0);
    fmc::key_prev_page(nullptr, 0);

    fmc::stop_workers_and_wait();
    fmc::unpublish_plan();
    fmc::reset_guidance();
    fmc::reset_state();
    return 0;
}
