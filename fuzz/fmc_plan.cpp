// The FMC's plan reader: a plan file loaded and published as fltplanMap0/1 as the LOAD page does it,
// then every page that reads the published copy built on every screen page, the details of every
// waypoint opened, and one guidance cycle along the legs.
#include "fmcomputer/guidance.h"
#include "fmcomputer/keys.h"
#include "fmcomputer/pages.h"
#include "fmcomputer/plan.h"
#include "fmcomputer/screen.h"
#include "fmcomputer/simvars.h"
#include "fmcomputer/state.h"
#include "fmcomputer/waypoint_record.h"
#include "fuzz/fmc_host.h"
#include "fuzz/fuzz_support.h"

namespace {

void read_every_record() {
    char text[32];
    for (int i = 0; i < fmc::record_count(); ++i) {
        const char* r = fmc::record(i);
        fuzzsupport::require(r != nullptr, "every counted record is there");
        fmc::record_latitude(r);
        fmc::record_longitude(r);
        fmc::record_altitude(r);
        fmc::record_course(r);
        fmc::record_distance(r);
        fmc::record_time(r);
        fmc::legs_ident(r, text, sizeof text);
        fmc::progress_ident(r, text, sizeof text);
        fmc::record_field(r, 0, fmc::kRecordLength, text, sizeof text);
        fmc::leg_to(i);
        fmc::eta_text(i, text, sizeof text);
    }
}

void visit_pages() {
    for (const int page : {fmc::page_route, fmc::page_legs, fmc::page_progress}) {
        fmc::current_page = page;
        fmc::page_index = 1;
        fmc::show_page(page);
        // Every screen page, as NEXT PAGE steps through them.
        for (int step = 0; step < fmc::kEntries / 6 + 1; ++step) {
            fmc::refresh_screen(page == fmc::page_legs);
            fmc::key_next_page(nullptr, 0);
        }
    }
    fmc::build_performance();
    fmc::current_page = fmc::page_legs;
    fmc::build_legs();
    for (int k = 0; k < fmc::record_count(); ++k) {
        fmc::toggle_details(k);
        fmc::toggle_details(k);
    }
    fmc::current_page = fmc::page_progress;
    fmc::build_progress();
    fmc::lookup_vars();
    fmc::guidance_cycle();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzsupport::InScratchFolder here;
    fuzzfmc::install();
    const std::string path = fuzzsupport::write_file("plan.pln", data, size);
    fmc::clear_plan_paths();
    std::snprintf(fmc::plan_paths[0], fmc::kPlanPathSize, "%s", path.c_str());
    if (fmc::load_plan(0) == fmc::LoadResult::loaded) {
        fuzzsupport::require(fmc::record_count() >= 0 && fmc::record_count() <= fmc::kMaxRecords, "records counted");
        read_every_record();
        visit_pages();
    }
    fmc::unpublish_plan();
    fmc::reset_guidance();
    fmc::reset_state();
    return 0;
}
