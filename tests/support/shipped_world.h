#pragma once
// The world data shipped with the panel (data/navdata), loaded once for the whole test process;
// a failure to load it fails the test that asked. PANEL_SOURCE_DIR names the source tree.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "sim/world.h"

inline std::shared_ptr<const sim::World> shipped_world() {
    std::string why;
    auto w = sim::World::load_shared(std::string(PANEL_SOURCE_DIR) + "/data/navdata", &why);
    EXPECT_TRUE(w) << why;
    return w;
}
