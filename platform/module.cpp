#include "platform/module.h"

#include <dlfcn.h>
#include <link.h>

#include <charconv>
#include <utility>

namespace plat {

Result<LoadedModule> LoadedModule::load(const std::string& path) {
    dlerror();
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        return Error{path + ": " + (why ? why : "cannot load")};
    }
    LoadedModule m;
    m.handle_ = handle;
    m.path_ = path;
    return m;
}

LoadedModule::LoadedModule(LoadedModule&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)) {}

LoadedModule& LoadedModule::operator=(LoadedModule&& other) noexcept {
    if (this != &other) {
        if (handle_) ::dlclose(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

LoadedModule::~LoadedModule() {
    if (handle_) ::dlclose(handle_);
}

void* LoadedModule::symbol(const char* name) const {
    if (!handle_) return nullptr;
    return ::dlsym(handle_, name);
}

std::string module_path(ModuleHandle module) {
    if (!module) return {};
    link_map* map = nullptr;
    if (::dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return {};
    return map->l_name;
}

ModuleHandle module_of_address(const void* address) {
    Dl_info info{};
    if (!::dladdr(address, &info) || !info.dli_fname) return nullptr;
    // RTLD_NOLOAD gives the existing handle; the extra reference it takes is dropped right away.
    void* handle = ::dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    if (handle) ::dlclose(handle);
    return handle;
}

std::optional<std::span<const std::uint8_t>> find_resource(ModuleHandle module, std::string_view type,
                                                           std::uint32_t id) {
    if (!module) return std::nullopt;
    // The module's own table: dlsym on its handle searches the module before its dependencies.
    const auto* table = static_cast<const ResourceTable*>(::dlsym(module, kResourceTableSymbol));
    if (!table) return std::nullopt;
    for (std::size_t i = 0; i < table->count; ++i) {
        const ResourceEntry& e = table->entries[i];
        if (e.id == id && e.type && type == e.type) return std::span<const std::uint8_t>(e.data, e.size);
    }
    return std::nullopt;
}

std::optional<std::uint32_t> resource_id_from_name(std::string_view name) {
    if (name.size() < 2 || name[0] != '#') return std::nullopt;
    std::uint32_t id = 0;
    auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), id);
    if (ec != std::errc{} || end != name.data() + name.size()) return std::nullopt;
    return id;
}

}  // namespace plat
