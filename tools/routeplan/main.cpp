// routeplan: flight plans for the FMC, from route strings and from other simulators' plan files.
//
//   routeplan [OPTIONS] [--out FILE] [--to FORMAT] ROUTE...    a route string to a plan
//   routeplan convert [OPTIONS] [--to FORMAT] IN OUT           a plan file to another format
//   routeplan show [OPTIONS] FILE                              a plan file as a table
//
// OPTIONS: --data DIR and the performance values (--cruise-altitude, --cruise-speed, ...), which
// fill what the plan does not give. Run with --help for the details.
//
// A runway after an airport ("KSFO/28R") is taken; otherwise the wind (--wind, the true direction
// it blows from) chooses, or without one the route's direction.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "flightplan/formats/plan_io.h"
#include "flightplan/formats/plan_table.h"
#include "flightplan/planning/plan.h"
#include "install/install_layout.h"
#include "install/program_info.h"

namespace {

const char* const usage_text =
    "Usage: routeplan [OPTIONS] [--out FILE] [--to FORMAT] ROUTE...\n"
    "  or:  routeplan convert [OPTIONS] [--to FORMAT] IN OUT\n"
    "  or:  routeplan show [OPTIONS] FILE\n"
    "\n"
    "Flight plans for the FMC, from ICAO route strings and from other simulators' plans.\n"
    "The first form turns a route string (the rest of the command line) into a plan, for example\n"
    "  routeplan --out KSFO-KLAX.pln KSFO/28R N0450F330 SFO V25 SNS PRB RZS KLAX/24R\n"
    "convert reads a plan in any known format (told from its content: the FMC's .pln, X-Plane .fms\n"
    "3 or 1100, FlightGear route XML, FSX/P3D/MSFS 2020 and 2024 .pln, FS2004 .pln, SimBrief OFP\n"
    "XML, or a route string in a text file) and writes it in the format of OUT's extension (.pln\n"
    "FMC, .fms X-Plane 1100, .xml/.fgfp FlightGear version 2) or of --to; OUT '-' is standard\n"
    "output. show prints the route as a table. A point a file places stays where the file puts it;\n"
    "names the world data lacks, renumbered runways and skipped procedures are warned of. A\n"
    "refused input writes nothing; show and convert refuse the same files.\n"
    "\n"
    "Options:\n"
    "  --out FILE             write the plan there (default: standard output)\n"
    "  --to FORMAT            the output's format: fmc, fms or flightgear\n"
    "  --data DIR             the world data to plan over (default: the installed world data): a\n"
    "                         world data folder (apt.dat, nav.dat, fix.dat, awy.dat, plain or .gz),\n"
    "                         an X-Plane 11 or 12 folder (its Custom Data when current, else its\n"
    "                         default data) or a FlightGear data folder ($FG_ROOT)\n"
    "  --cruise-altitude FT   cruise altitude in feet (default 33000)\n"
    "  --cruise-speed MACH|KT\n"
    "                         cruise speed: 5 or less is a Mach number, more is knots (default 0.76)\n"
    "  --climb-rate FPM       climb rate in feet per minute (default 2500)\n"
    "  --descent-rate FPM     descent rate in feet per minute (default 2000)\n"
    "  --climb-speed KT       climb speed in knots above 10,000 ft (default 280)\n"
    "  --descent-speed KT     descent speed in knots above 10,000 ft (default 280)\n"
    "  --aircraft TEXT        the aircraft named in the plan (default MD-80)\n"
    "  --wind DIR/KT          the wind (true direction it blows from, 0-360; 0-200 kt): chooses the\n"
    "                         runways the plan does not name, else the route's direction does\n"
    "  -h, --help             print this text and exit\n"
    "  --version              print the version and exit\n"
    "The plan's own cruise values (a speed and level group, a file's cruise element) come first;\n"
    "the options fill what it lacks.\n";

int usage(const std::string& why) {
    if (why.empty()) {
        std::fputs(usage_text, stdout);
        return 0;
    }
    std::fprintf(stderr, "routeplan: %s\nTry 'routeplan --help' for the options.\n", why.c_str());
    return 2;
}

int fail(const std::string& why) {
    std::fprintf(stderr, "routeplan: %s\n", why.c_str());
    return 1;
}

bool number(const std::string& text, double lo, double hi, double& out) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(v >= lo && v <= hi)) return false;
    out = v;
    return true;
}

struct Command {
    std::string data_dir = install::world_data_dir();
    std::string out, to;
    planner::Performance performance;
    std::optional<planner::Wind> wind;
    std::vector<std::string> words;
};

// Options anywhere; everything else in words. An error text, or empty.
std::string parse(int argc, char** argv, int first, Command& c, bool& help) {
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0 || arg == "-") {
            c.words.push_back(arg);
            continue;
        }
        if (i + 1 >= argc) return "option " + arg + " needs a value";
        const std::string value = argv[++i];
        double v = 0;
        planner::Performance& p = c.performance;
        if (arg == "--data") c.data_dir = value;
        else if (arg == "--out") c.out = value;
        else if (arg == "--to") c.to = value;
        else if (arg == "--aircraft") p.aircraft = value;
        else if (arg == "--cruise-speed" && number(value, 0.1, 600, v)) p.cruise_speed = v;
        else if (arg == "--cruise-altitude" && number(value, 1000, 45000, v))
            p.cruise_altitude_ft = static_cast<int>(v);
        else if (arg == "--climb-rate" && number(value, 100, 9900, v)) p.climb_rate_fpm = static_cast<int>(v);
        else if (arg == "--descent-rate" && number(value, 100, 9900, v)) p.descent_rate_fpm = static_cast<int>(v);
        else if (arg == "--climb-speed" && number(value, 100, 450, v)) p.climb_speed_kt = static_cast<int>(v);
        else if (arg == "--descent-speed" && number(value, 100, 450, v)) p.descent_speed_kt = static_cast<int>(v);
        else if (arg == "--wind") {
            const auto slash = value.find('/');
            double kt = 0;
            if (slash == std::string::npos) return "--wind is DIR/KT (degrees true / knots), not '" + value + "'";
            if (!number(value.substr(0, slash), 0, 360, v))
                return "--wind direction '" + value.substr(0, slash) + "' is not 0 to 360 degrees (in '" + value + "')";
            if (!number(value.substr(slash + 1), 0, 200, kt))
                return "--wind speed '" + value.substr(slash + 1) + "' is not 0 to 200 kt (in '" + value + "')";
            c.wind = planner::Wind{v, kt};
        } else return "bad option or value: " + arg + " " + value;
    }
    return {};
}

// Cruise values given on the command line override the plan's only when the plan has none.
bool given(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == option) return true;
    return false;
}

int emit(const planner::NavDb& db, planner::FlightPlan plan, const Command& c, const std::string& out,
         bool cruise_altitude_given, bool cruise_speed_given) {
    for (const auto& w : plan.warnings) std::fprintf(stderr, "routeplan: %s\n", w.c_str());
    if (c.wind) plan.wind = c.wind;
    std::optional<planner::PlanFormat> format;
    if (!c.to.empty()) {
        format = planner::format_named(c.to);
        if (!format || !planner::can_write(*format))
            return usage("--to takes fmc, fms or flightgear, not '" + c.to + "'");
    } else if (out.empty() || out == "-") {
        format = planner::PlanFormat::fmc;
    } else {
        format = planner::format_for_output(out);
        if (!format)
            return usage(out + ": the extension does not tell the format (.pln, .fms, .xml, .fgfp); give --to");
    }
    if (!plan.cruise_altitude_ft || cruise_altitude_given) plan.cruise_altitude_ft = c.performance.cruise_altitude_ft;
    if (!plan.cruise_speed || cruise_speed_given) plan.cruise_speed = c.performance.cruise_speed;
    std::string note;
    auto text = planner::write_plan(db, plan, *format, c.performance, &note);
    if (!text) return fail(text.error());
    if (!note.empty()) std::fprintf(stderr, "routeplan: %s\n", note.c_str());
    if (out.empty() || out == "-") {
        std::fwrite(text->data(), 1, text->size(), stdout);
        return 0;
    }
    if (auto e = planner::write_plan_file(out, *text)) return fail(e->message);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--version") {
            install::print_version("routeplan");
            return 0;
        }
    const std::string sub = argc > 1 ? argv[1] : "";
    const bool convert = sub == "convert", show = sub == "show";
    Command c;
    bool help = false;
    if (const std::string why = parse(argc, argv, convert || show ? 2 : 1, c, help); !why.empty()) return usage(why);
    if (help) return usage("");
    const bool altitude_given = given(argc, argv, "--cruise-altitude"),
               speed_given = given(argc, argv, "--cruise-speed");
    if (convert && c.words.size() != 2) return usage("convert takes IN and OUT");
    if (show && c.words.size() != 1) return usage("show takes one FILE");
    if (!convert && !show && c.words.empty()) return usage("no route given");
    auto db = planner::NavDb::load(c.data_dir);
    if (!db) return fail(db.error());

    if (convert || show) {
        auto read = planner::read_plan_file(*db, c.words[0]);
        if (!read) return fail(read.error());
        if (show) {
            planner::FlightPlan& plan = read->plan;
            for (const auto& w : plan.warnings) std::fprintf(stderr, "routeplan: %s\n", w.c_str());
            std::printf("%s (%s)\n", c.words[0].c_str(), planner::format_name(read->format));
            if (altitude_given || !plan.cruise_altitude_ft) plan.cruise_altitude_ft = c.performance.cruise_altitude_ft;
            if (speed_given || !plan.cruise_speed) plan.cruise_speed = c.performance.cruise_speed;
            const std::string table = planner::plan_table(plan, c.performance);
            std::fwrite(table.data(), 1, table.size(), stdout);
            return 0;
        }
        return emit(*db, std::move(read->plan), c, c.words[1], altitude_given, speed_given);
    }
    std::string route;
    for (const auto& w : c.words) route += (route.empty() ? "" : " ") + w;
    auto read = planner::read_plan(*db, route, "route");
    if (!read) return fail(read.error());
    if (read->format != planner::PlanFormat::route)
        return fail("give a route string here; use 'routeplan convert' for files");
    return emit(*db, std::move(read->plan), c, c.out, altitude_given, speed_given);
}
