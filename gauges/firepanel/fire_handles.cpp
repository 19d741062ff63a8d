#include "gauges/firepanel/fire_handles.h"

namespace fire {

HandleState engine1;
HandleState engine2;

void reset_handles() {
    engine1 = {};
    engine2 = {};
}

void toggle_pulled(HandleState& handle) { handle.pulled = handle.pulled == 1.0 ? 0.0 : 1.0; }

}  // namespace fire
