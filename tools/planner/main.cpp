// routeplan: turns a route string into a flight plan file for the FMC; the options are in the
// usage text below. The route is the rest of the command line, for example:
// KSFO SFO V25 SNS PRB RZS KLAX. Without --out the plan goes to standard output.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "install/install_layout.h"
#include "install/program_info.h"
#include "tools/planner/plan.h"

namespace {

const char* const usage_text =
    "Usage: routeplan [OPTIONS] ROUTE...\n"
    "\n"
    "Turns a route into a flight plan file for the FMC, from the X-Plane-format world data.\n"
    "The route is the rest of the command line: a departure airport, airways and the fixes\n"
    "between them, and the arrival airport, for example\n"
    "  routeplan --out KSFO-KLAX.pln KSFO SFO V25 SNS PRB RZS KLAX\n"
    "The plan has the climb and descent points worked out from the performance values below.\n"
    "\n"
    "Options:\n"
    "  --out FILE             write the plan there (default: standard output)\n"
    "  --data DIR             world data folder: apt.dat, nav.dat, fix.dat, awy.dat, plain or .gz\n"
    "                         (default: the installed world data)\n"
    "  --cruise-altitude FT   cruise altitude in feet (default 33000)\n"
    "  --cruise-speed MACH|KT\n"
    "                         cruise speed: 5 or less is a Mach number, more is knots (default 0.76)\n"
    "  --climb-rate FPM       climb rate in feet per minute (default 2500)\n"
    "  --descent-rate FPM     descent rate in feet per minute (default 2000)\n"
    "  --climb-speed KT       climb speed in knots (default 280)\n"
    "  --descent-speed KT     descent speed in knots (default 280)\n"
    "  --aircraft TEXT        the aircraft named in the plan (default MD-80)\n"
    "  -h, --help             print this text and exit\n"
    "  --version              print the version and exit\n";

int usage(const std::string& why) {
    std::fprintf(stderr, "routeplan: %s\nTry 'routeplan --help' for the options.\n", why.c_str());
    return 2;
}

bool number(const std::string& text, double lo, double hi, double& out) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(v >= lo && v <= hi)) return false;
    out = v;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    planner::PlanRequest request;
    request.data_dir = install::world_data_dir();
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage_text, stdout);
            return 0;
        }
        if (arg == "--version") {
            install::print_version("routeplan");
            return 0;
        }
        if (arg.rfind("--", 0) != 0) {
            request.route += (request.route.empty() ? "" : " ") + arg;
            continue;
        }
        if (i + 1 >= argc) return usage("option " + arg + " needs a value");
        const std::string value = argv[++i];
        double v = 0;
        planner::Performance& p = request.performance;
        if (arg == "--data") request.data_dir = value;
        else if (arg == "--out") out = value;
        else if (arg == "--aircraft") p.aircraft = value;
        else if (arg == "--cruise-speed" && number(value, 0.1, 600, v)) p.cruise_speed = v;
        else if (arg == "--cruise-altitude" && number(value, 1000, 45000, v)) p.cruise_altitude_ft = static_cast<int>(v);
        else if (arg == "--climb-rate" && number(value, 100, 9900, v)) p.climb_rate_fpm = static_cast<int>(v);
        else if (arg == "--descent-rate" && number(value, 100, 9900, v)) p.descent_rate_fpm = static_cast<int>(v);
        else if (arg == "--climb-speed" && number(value, 100, 450, v)) p.climb_speed_kt = static_cast<int>(v);
        else if (arg == "--descent-speed" && number(value, 100, 450, v)) p.descent_speed_kt = static_cast<int>(v);
        else return usage("bad option or value: " + arg + " " + value);
    }
    if (request.route.empty()) return usage("no route given");
    auto db = planner::NavDb::load(request.data_dir);
    if (!db) {
        std::fprintf(stderr, "routeplan: %s\n", db.error().c_str());
        return 1;
    }
    auto plan = planner::make_plan(*db, request);
    if (!plan) {
        std::fprintf(stderr, "routeplan: %s\n", plan.error().c_str());
        return 1;
    }
    if (!plan->note.empty()) std::fprintf(stderr, "routeplan: %s\n", plan->note.c_str());
    if (out.empty()) {
        std::fwrite(plan->text.data(), 1, plan->text.size(), stdout);
        return 0;
    }
    if (auto e = planner::write_plan_file(out, plan->text)) {
        std::fprintf(stderr, "routeplan: %s\n", e->message.c_str());
        return 1;
    }
    return 0;
}
