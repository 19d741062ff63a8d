#pragma once
// Fuel used per engine, integrated from the fuel flows. The simulator's clock token changes once
// per integration period; between changes the flows are summed every cycle, and at a change the
// period's mean flow is added to the totals.

#include <cstdint>

namespace enginegauge {

// Pounds per hour over one period to the totals' unit.
inline constexpr double kFuelUsedPerFlow = 0.000126;

struct FuelUsed {
    double used[2] = {0, 0};
    double last_clock = 0;
    double flow_sum[2] = {0, 0};
    // Wide enough that a clock standing still (a paused simulator) can never wrap it to zero.
    std::uint64_t samples = 1;
};

// After install: the first period starts with the current clock and flows.
void start_period(FuelUsed& f, double clock, double flow1, double flow2);
// After each update: another sample of the same period, or the close of one and start of the next.
void add_sample(FuelUsed& f, double clock, double flow1, double flow2);
void reset_totals(FuelUsed& f);

}  // namespace enginegauge
