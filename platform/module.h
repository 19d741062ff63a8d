#pragma once
// Modules as shared libraries: loading them, and the resources compiled into them. A module's
// bitmaps and sounds are found through its handle, as it would find them in its own executable
// image; bitmap data starts at the info header, without the file header of a .bmp file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace plat {

// Identifies a loaded module. Null is no module.
using ModuleHandle = void*;

// A module opened by the host; closed when destroyed.
class LoadedModule {
public:
    // known_as, when given, is the file the module is told it was loaded from (module_path): a
    // module installed once is run as if it stood in each simulator folder's Gauges/, where it
    // keeps the files it writes beside itself, without a copy of its code there.
    static Result<LoadedModule> load(const std::string& path, const std::string& known_as = {});

    LoadedModule() = default;
    LoadedModule(LoadedModule&& other) noexcept;
    LoadedModule& operator=(LoadedModule&& other) noexcept;
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    ~LoadedModule();

    ModuleHandle handle() const { return handle_; }
    const std::string& path() const { return path_; }
    // The path module_path gives the module: known_as, else path.
    const std::string& known_as() const { return known_as_.empty() ? path_ : known_as_; }
    // An exported symbol of the module itself, or null.
    void* symbol(const char* name) const;

private:
    void forget();

    ModuleHandle handle_ = nullptr;
    std::string path_, known_as_;
};

// The file a module was loaded from, or the one it is known as ("" for an unknown handle).
std::string module_path(ModuleHandle module);
// The module whose code or data holds address, for code that must find its own resources.
ModuleHandle module_of_address(const void* address);

// Resource types as the modules name them.
inline constexpr std::string_view kBitmapResource = "BITMAP";
inline constexpr std::string_view kWaveResource = "WAVE";

// The bytes of resource (type, id) of a module, or nothing when absent.
std::optional<std::span<const std::uint8_t>> find_resource(ModuleHandle module, std::string_view type,
                                                           std::uint32_t id);
// Resource names of the form "#4096" name numeric ids.
std::optional<std::uint32_t> resource_id_from_name(std::string_view name);

// The table a module's generated resource source exports (C linkage, so the look-up needs no
// knowledge of the module).
struct ResourceEntry {
    const char* type;
    std::uint32_t id;
    const std::uint8_t* data;
    std::size_t size;
};
struct ResourceTable {
    std::size_t count;
    const ResourceEntry* entries;
};
inline constexpr const char* kResourceTableSymbol = "panel_resource_table";

}  // namespace plat
