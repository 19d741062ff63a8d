#include "gauges/enginegauge/fuel_used.h"

namespace enginegauge {

void start_period(FuelUsed& f, double clock, double flow1, double flow2) {
    f.last_clock = clock;
    f.flow_sum[0] = flow1;
    f.flow_sum[1] = flow2;
    f.samples = 1;
}

void add_sample(FuelUsed& f, double clock, double flow1, double flow2) {
    if (clock == f.last_clock) {
        f.flow_sum[0] += flow1;
        f.flow_sum[1] += flow2;
        ++f.samples;
        return;
    }
    const double count = f.samples > 0 ? static_cast<double>(f.samples) : 1.0;
    for (int e = 0; e < 2; ++e) f.used[e] += f.flow_sum[e] / count * kFuelUsedPerFlow;
    start_period(f, clock, flow1, flow2);
}

void reset_totals(FuelUsed& f) {
    f.used[0] = 0;
    f.used[1] = 0;
}

}  // namespace enginegauge
