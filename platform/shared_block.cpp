#include "platform/shared_block.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

namespace plat {

// The memory behind a name. Each view maps the same memory file, so writers and readers see one
// another and a read-only view really is read-only.
struct SharedBlock::Storage {
    std::string name;
    std::size_t size = 0;
    std::size_t requested = 0;
    int fd = -1;
    ~Storage();
};

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<SharedBlock::Storage>, std::less<>> blocks;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

std::size_t round_to_pages(std::size_t size) {
    if (size == 0) size = 1;
    return (size + kPageSize - 1) / kPageSize * kPageSize;
}

std::string errno_text() { return std::strerror(errno); }

}  // namespace

SharedBlock::Storage::~Storage() {
    if (fd >= 0) ::close(fd);
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    auto it = reg.blocks.find(name);
    // A new block of the same name may already have replaced this one.
    if (it != reg.blocks.end() && it->second.expired()) reg.blocks.erase(it);
}

Result<SharedBlock> SharedBlock::create_or_open(std::string_view name, std::size_t size) {
    if (name.empty()) return Error{"shared block: empty name"};
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    auto it = reg.blocks.find(name);
    if (it != reg.blocks.end()) {
        if (auto existing = it->second.lock()) return SharedBlock(std::move(existing), true);
    }
    auto storage = std::make_shared<Storage>();
    storage->name = std::string(name);
    storage->size = round_to_pages(size);
    storage->requested = size;
    storage->fd = ::memfd_create(storage->name.c_str(), MFD_CLOEXEC);
    if (storage->fd < 0)
        return Error{"shared block " + storage->name + ": cannot create memory: " + errno_text()};
    if (::ftruncate(storage->fd, static_cast<off_t>(storage->size)) != 0)
        return Error{"shared block " + storage->name + ": cannot size memory: " + errno_text()};
    reg.blocks.insert_or_assign(storage->name, storage);
    return SharedBlock(std::move(storage), false);
}

Result<SharedBlock> SharedBlock::open_existing(std::string_view name) {
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    auto it = reg.blocks.find(name);
    if (it != reg.blocks.end()) {
        if (auto existing = it->second.lock()) return SharedBlock(std::move(existing), true);
    }
    return Error{"shared block " + std::string(name) + " does not exist"};
}

std::size_t SharedBlock::size() const { return storage_ ? storage_->size : 0; }
std::size_t SharedBlock::requested_size() const { return storage_ ? storage_->requested : 0; }

const std::string& SharedBlock::name() const {
    static const std::string none;
    return storage_ ? storage_->name : none;
}

Result<SharedView> SharedBlock::map(Access access) const {
    if (!storage_) return Error{"shared block: map of a closed handle"};
    int prot = access == Access::read_only ? PROT_READ : PROT_READ | PROT_WRITE;
    void* data = ::mmap(nullptr, storage_->size, prot, MAP_SHARED, storage_->fd, 0);
    if (data == MAP_FAILED)
        return Error{"shared block " + storage_->name + ": cannot map: " + errno_text()};
    SharedView view;
    view.storage_ = storage_;
    view.data_ = data;
    view.size_ = storage_->size;
    view.access_ = access;
    return view;
}

void SharedBlock::close() {
    storage_.reset();
    existed_ = false;
}

SharedView::SharedView(SharedView&& other) noexcept
    : storage_(std::move(other.storage_)), data_(other.data_), size_(other.size_), access_(other.access_) {
    other.data_ = nullptr;
    other.size_ = 0;
}

SharedView& SharedView::operator=(SharedView&& other) noexcept {
    if (this != &other) {
        unmap();
        storage_ = std::move(other.storage_);
        data_ = other.data_;
        size_ = other.size_;
        access_ = other.access_;
        other.data_ = nullptr;
        other.size_ = 0;
    }
    return *this;
}

SharedView::~SharedView() { unmap(); }

void SharedView::unmap() {
    if (data_) ::munmap(data_, size_);
    data_ = nullptr;
    size_ = 0;
    storage_.reset();
}

std::vector<SharedBlockInfo> list_shared_blocks() {
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    std::vector<SharedBlockInfo> out;
    for (const auto& [name, weak] : reg.blocks)
        if (auto block = weak.lock()) out.push_back({name, block->size, block->requested});
    return out;
}

}  // namespace plat
