#include <gtest/gtest.h>

#include <cstring>

#include "platform/module.h"

using namespace plat;

namespace {

TEST(Modules, LoadFindResourcesAndKnowTheirPath) {
    auto module = LoadedModule::load(RESOURCE_MODULE_PATH);
    ASSERT_TRUE(module) << module.error();
    EXPECT_EQ(module_path(module->handle()), RESOURCE_MODULE_PATH);

    auto bitmap = find_resource(module->handle(), kBitmapResource, 4096);
    ASSERT_TRUE(bitmap);
    // Bitmap resources start at the 40-byte info header: 4 x 2 pixels, 24 bits, rows of 12 bytes.
    ASSERT_EQ(bitmap->size(), 40u + 24u);
    std::uint32_t header_size = 0;
    std::memcpy(&header_size, bitmap->data(), 4);
    EXPECT_EQ(header_size, 40u);
    EXPECT_EQ((*bitmap)[40 + 2], 255) << "first pixel is red (BGR)";

    auto wave = find_resource(module->handle(), kWaveResource, 3001);
    ASSERT_TRUE(wave);
    ASSERT_EQ(wave->size(), 16u);
    EXPECT_EQ((*wave)[15], 15);

    EXPECT_FALSE(find_resource(module->handle(), kWaveResource, 4096)) << "types are distinct";
    EXPECT_FALSE(find_resource(module->handle(), kBitmapResource, 1));
    EXPECT_FALSE(find_resource(nullptr, kBitmapResource, 4096));

    using SelfFn = ModuleHandle (*)();
    auto self = reinterpret_cast<SelfFn>(module->symbol("resource_module_self"));
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self(), module->handle()) << "code finds its own module from an address";
}

TEST(Modules, LoadFailureNamesTheFile) {
    auto module = LoadedModule::load("/nonexistent/gauge.gau");
    EXPECT_FALSE(module);
    EXPECT_NE(module.error().find("/nonexistent/gauge.gau"), std::string::npos);
}

TEST(Modules, ResourceNames) {
    EXPECT_EQ(resource_id_from_name("#4096"), 4096u);
    EXPECT_FALSE(resource_id_from_name("4096"));
    EXPECT_FALSE(resource_id_from_name("#40x"));
    EXPECT_FALSE(resource_id_from_name("#"));
}

}  // namespace
