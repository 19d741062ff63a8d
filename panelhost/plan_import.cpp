#include "panelhost/plan_import.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "flightplan/formats/plan_io.h"

namespace panelhost {

plat::Result<ImportedPlan> import_plan(const std::string& path, const std::string& world_data_dir) {
    std::string text;
    {
        std::ifstream in(path, std::ios::binary);
        if (!in) return plat::Error{path + ": cannot open"};
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) return plat::Error{path + ": cannot read"};
    }
    ImportedPlan plan;
    plan.name = std::filesystem::path(path).stem().string() + ".pln";
    auto format = planner::detect_format(text, path);
    if (!format) return plat::Error{format.error()};
    if (*format == planner::PlanFormat::fmc) {
        plan.text = std::move(text);
        return plan;
    }
    // Only a plan of another format needs the world data, which takes a moment to load.
    if (world_data_dir.empty())
        return plat::Error{path + ": the navigation database in use does not record the world data it was imported " +
                           "from, so no plan can be resolved over it; give --navdata that world data's folder instead"};
    auto db = planner::NavDb::load(world_data_dir);
    if (!db) return plat::Error{db.error()};
    auto read = planner::read_plan(*db, text, path);
    if (!read) return plat::Error{read.error()};
    for (const auto& w : read->plan.warnings) std::fprintf(stderr, "panelhost: %s: %s\n", path.c_str(), w.c_str());
    auto written = planner::write_plan(*db, read->plan, planner::PlanFormat::fmc, planner::Performance{});
    if (!written) return plat::Error{path + ": " + written.error()};
    plan.text = std::move(written).value();
    return plan;
}

}  // namespace panelhost
