#include "flightplan/formats/plan_io.h"

#include <fstream>
#include <iterator>

#include "flightplan/formats/fg_route_format.h"
#include "flightplan/formats/fmc_plan_format.h"
#include "flightplan/formats/fms_format.h"
#include "flightplan/formats/fs9_pln_format.h"
#include "flightplan/formats/msfs_pln_format.h"
#include "flightplan/formats/plan_resolve.h"
#include "flightplan/formats/simbrief_format.h"
#include "flightplan/formats/xml_document.h"

namespace planner {

namespace {

constexpr std::size_t max_plan_bytes = 16 << 20;

std::string_view without_bom(std::string_view text) {
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? text.substr(3) : text;
}

bool starts_as_xml(std::string_view text) {
    text = without_bom(text);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '<';
}

}  // namespace

const char* format_name(PlanFormat f) {
    switch (f) {
        case PlanFormat::fmc: return "fmc";
        case PlanFormat::fms: return "fms";
        case PlanFormat::flightgear: return "flightgear";
        case PlanFormat::msfs: return "msfs";
        case PlanFormat::simbrief: return "simbrief";
        case PlanFormat::fs2004: return "fs2004";
        case PlanFormat::route: break;
    }
    return "route";
}

std::optional<PlanFormat> format_named(std::string_view name) {
    for (PlanFormat f : {PlanFormat::fmc, PlanFormat::fms, PlanFormat::flightgear, PlanFormat::msfs,
                         PlanFormat::simbrief, PlanFormat::fs2004, PlanFormat::route})
        if (name == format_name(f)) return f;
    return std::nullopt;
}

std::optional<PlanFormat> format_for_output(std::string_view path) {
    auto ends = [&](std::string_view ext) {
        return path.size() > ext.size() && path.substr(path.size() - ext.size()) == ext;
    };
    if (ends(".pln") || ends(".PLN")) return PlanFormat::fmc;
    if (ends(".fms") || ends(".FMS")) return PlanFormat::fms;
    if (ends(".xml") || ends(".fgfp") || ends(".XML")) return PlanFormat::flightgear;
    return std::nullopt;
}

bool can_write(PlanFormat f) { return f == PlanFormat::fmc || f == PlanFormat::fms || f == PlanFormat::flightgear; }

plat::Result<PlanFormat> detect_format(std::string_view text, std::string_view file) {
    if (text.empty()) return file_error(file, 0, "the file is empty");
    if (starts_as_xml(text)) {
        auto doc = XmlDocument::parse(text, file);
        if (!doc) return plat::Error{doc.error()};
        const std::string root = (*doc)->root().name();
        if (root == "PropertyList") return PlanFormat::flightgear;
        if (root == "SimBase.Document") return PlanFormat::msfs;
        if (root == "OFP") return PlanFormat::simbrief;
        return (*doc)->error((*doc)->root(), "root element <" + root +
                                                 "> is not a flight plan's (PropertyList, SimBase.Document or OFP)");
    }
    if (looks_like_fms(text)) return PlanFormat::fms;
    if (looks_like_fs9_pln(text)) return PlanFormat::fs2004;
    if (looks_like_fmc_plan(text)) return PlanFormat::fmc;
    return PlanFormat::route;
}

plat::Result<ReadPlan> parse_plan(std::string_view text, std::string_view file) {
    auto format = detect_format(text, file);
    if (!format) return plat::Error{format.error()};
    plat::Result<FlightPlan> plan = plat::Error{};
    switch (*format) {
        case PlanFormat::fmc: plan = read_fmc_plan(text, file); break;
        case PlanFormat::fms: plan = read_fms(text, file); break;
        case PlanFormat::flightgear: plan = read_fg_route(text, file); break;
        case PlanFormat::msfs: plan = read_msfs_pln(text, file); break;
        case PlanFormat::simbrief: plan = read_simbrief(text, file); break;
        case PlanFormat::fs2004: plan = read_fs9_pln(text, file); break;
        case PlanFormat::route: {
            FlightPlan route;
            route.route = std::string(without_bom(text));
            plan = std::move(route);
            break;
        }
    }
    if (!plan) return plat::Error{plan.error()};
    return ReadPlan{*format, std::move(plan).value()};
}

plat::Result<ReadPlan> read_plan(const NavDb& db, std::string_view text, std::string_view file) {
    auto parsed = parse_plan(text, file);
    if (!parsed) return plat::Error{parsed.error()};
    auto resolved = resolve_plan(db, std::move(parsed->plan), file);
    if (!resolved) return plat::Error{resolved.error()};
    return ReadPlan{parsed->format, std::move(resolved).value()};
}

plat::Result<std::string> read_plan_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return file_error(path, 0, "cannot open");
    std::string text;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return file_error(path, 0, "cannot read");
    if (text.size() > max_plan_bytes) return file_error(path, 0, "too large for a flight plan");
    return text;
}

plat::Result<ReadPlan> read_plan_file(const NavDb& db, const std::string& path) {
    auto text = read_plan_text(path);
    if (!text) return plat::Error{text.error()};
    return read_plan(db, *text, path);
}

plat::Result<std::string> write_plan(const NavDb& db, const FlightPlan& plan, PlanFormat f, const Performance& perf,
                                     std::string* note) {
    if (plan.waypoints.size() < 2) return plat::Error{"a plan needs a departure and an arrival airport"};
    switch (f) {
        case PlanFormat::fmc: return write_fmc_plan(db, plan, perf, note);
        case PlanFormat::fms: return write_fms(plan, perf);
        case PlanFormat::flightgear: return write_fg_route(plan);
        default: break;
    }
    return plat::Error{std::string("plans are not written as ") + format_name(f)};
}

}  // namespace planner
