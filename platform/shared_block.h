#pragma once
// Named shared memory blocks: the way modules hand data to one another without calling each other.
// One name space per host process; a block lives while any handle or view of it is open and is
// gone once the last one closes. Sizes round up to whole 4096-byte pages, so a block created
// smaller than a later opener expects still has room for the opener's layout.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace plat {

inline constexpr std::size_t kPageSize = 4096;

enum class Access { read_only, read_write };

class SharedView;

// A handle on a named block. Moving transfers ownership; destruction closes the handle.
class SharedBlock {
public:
    struct Storage;

    // Opens the block of that name or creates it with the requested size. existed() tells which.
    static Result<SharedBlock> create_or_open(std::string_view name, std::size_t size);
    // Opens the block only if some handle or view keeps it alive.
    static Result<SharedBlock> open_existing(std::string_view name);

    SharedBlock() = default;
    SharedBlock(SharedBlock&&) noexcept = default;
    SharedBlock& operator=(SharedBlock&&) noexcept = default;
    ~SharedBlock() = default;

    bool is_open() const { return storage_ != nullptr; }
    bool existed() const { return existed_; }
    std::size_t size() const;            // whole pages
    std::size_t requested_size() const;  // what the creator asked for
    const std::string& name() const;

    // A mapping of the whole block. A read-only view is protected by the memory manager.
    Result<SharedView> map(Access access) const;
    void close();

private:
    SharedBlock(std::shared_ptr<Storage> storage, bool existed)
        : storage_(std::move(storage)), existed_(existed) {}
    std::shared_ptr<Storage> storage_;
    bool existed_ = false;
};

// A mapped view of a block; keeps the block alive until unmapped.
class SharedView {
public:
    SharedView() = default;
    SharedView(SharedView&& other) noexcept;
    SharedView& operator=(SharedView&& other) noexcept;
    SharedView(const SharedView&) = delete;
    SharedView& operator=(const SharedView&) = delete;
    ~SharedView();

    void* data() const { return data_; }
    std::size_t size() const { return size_; }
    Access access() const { return access_; }
    explicit operator bool() const { return data_ != nullptr; }
    template <typename T>
    T* as() const { return static_cast<T*>(data_); }
    void unmap();

private:
    friend class SharedBlock;
    std::shared_ptr<SharedBlock::Storage> storage_;
    void* data_ = nullptr;
    std::size_t size_ = 0;
    Access access_ = Access::read_only;
};

// The blocks alive now, by name and size, for the host's diagnostics.
struct SharedBlockInfo {
    std::string name;
    std::size_t size = 0;       // whole pages
    std::size_t requested = 0;  // what the creator asked for
};
std::vector<SharedBlockInfo> list_shared_blocks();

}  // namespace plat
