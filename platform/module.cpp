#include "platform/module.h"

#include <dlfcn.h>
#include <link.h>

#include <charconv>
#include <map>
#include <mutex>
#include <utility>

namespace plat {
namespace {

// The paths modules are known by, kept for module_path, which a module may call from any thread.
struct KnownPaths {
    std::mutex lock;
    std::map<ModuleHandle, std::string> paths;
};

KnownPaths& known_paths() {
    static KnownPaths known;
    return known;
}

}  // namespace

Result<LoadedModule> LoadedModule::load(const std::string& path, const std::string& known_as) {
    dlerror();
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        return Error{path + ": " + (why ? why : "cannot load")};
    }
    LoadedModule m;
    m.handle_ = handle;
    m.path_ = path;
    if (!known_as.empty() && known_as != path) {
        m.known_as_ = known_as;
        KnownPaths& known = known_paths();
        std::lock_guard guard(known.lock);
        known.paths[handle] = known_as;
    }
    return m;
}

LoadedModule::LoadedModule(LoadedModule&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)),
      known_as_(std::move(other.known_as_)) {}

LoadedModule& LoadedModule::operator=(LoadedModule&& other) noexcept {
    if (this != &other) {
        forget();
        handle_ = std::exchange(other.handle_, nullptr);
        path_ = std::move(other.path_);
        known_as_ = std::move(other.known_as_);
    }
    return *this;
}

LoadedModule::~LoadedModule() { forget(); }

void LoadedModule::forget() {
    if (!handle_) return;
    if (!known_as_.empty()) {
        KnownPaths& known = known_paths();
        std::lock_guard guard(known.lock);
        known.paths.erase(handle_);
    }
    ::dlclose(std::exchange(handle_, nullptr));
}

void* LoadedModule::symbol(const char* name) const {
    if (!handle_) return nullptr;
    return ::dlsym(handle_, name);
}

std::string module_path(ModuleHandle module) {
    if (!module) return {};
    {
        KnownPaths& known = known_paths();
        std::lock_guard guard(known.lock);
        if (auto it = known.paths.find(module); it != known.paths.end()) return it->second;
    }
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
