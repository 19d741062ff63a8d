// routeplan: turns a route string into a flight plan file for the FMC.
//
//   routeplan [--data DIR] [--out FILE] [--cruise-altitude FT] [--cruise-speed MACH|KT]
//             [--climb-rate FPM] [--descent-rate FPM] [--climb-speed KT] [--descent-speed KT]
//             [--aircraft TEXT] [--wind DIR/KT] ROUTE...
//
// The route is the rest of the command line, for example: KSFO/28R SFO V25 SNS PRB RZS KLAX/24R.
// A runway after an airport is taken; otherwise the wind (true direction it blows from) chooses,
// or without one the route's direction.
// Without --out the plan goes to standard output.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/planner/plan.h"

namespace {

int usage(const std::string& why) {
    if (!why.empty()) std::fprintf(stderr, "routeplan: %s\n", why.c_str());
    std::fprintf(stderr,
                 "usage: routeplan [--data DIR] [--out FILE] [--cruise-altitude FT] [--cruise-speed MACH|KT]\n"
                 "                 [--climb-rate FPM] [--descent-rate FPM] [--climb-speed KT] [--descent-speed KT]\n"
                 "                 [--aircraft TEXT] [--wind DIR/KT] ROUTE...\n");
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
    request.data_dir = ROUTEPLAN_DATA_DIR;
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
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
        else if (arg == "--wind") {
            const auto slash = value.find('/');
            double kt = 0;
            if (slash == std::string::npos) return usage("--wind is DIR/KT (degrees true / knots), not '" + value + "'");
            if (!number(value.substr(0, slash), 0, 360, v))
                return usage("--wind direction '" + value.substr(0, slash) + "' is not 0 to 360 degrees (in '" + value + "')");
            if (!number(value.substr(slash + 1), 0, 200, kt))
                return usage("--wind speed '" + value.substr(slash + 1) + "' is not 0 to 200 kt (in '" + value + "')");
            request.wind = planner::Wind{v, kt};
        } else return usage("bad option or value: " + arg + " " + value);
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
