#include "platform/offscreen_surface.h"

#include <atomic>

namespace plat {
namespace {

// Written by the host's main thread before modules load, read on the panel thread.
std::atomic<int> refused_step{0};

}  // namespace

void set_refused_surface_step(int step) { refused_step.store(step); }

int refused_surface_step() { return refused_step.load(); }

SurfaceResult surface_step_result(int step) {
    const int refused = refused_step.load();
    return refused != 0 && refused == step ? kSurfaceRefused : kSurfaceOk;
}

}  // namespace plat
