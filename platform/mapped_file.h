#pragma once
// Files mapped whole for reading, as the navigation database and the flight plans are read.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/result.h"

namespace plat {

// A read-only view of a whole file; unmapped when destroyed.
class FileView {
public:
    FileView() = default;
    FileView(FileView&& other) noexcept;
    FileView& operator=(FileView&& other) noexcept;
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;
    ~FileView();

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
    explicit operator bool() const { return data_ != nullptr; }
    void unmap();

private:
    friend class MappedFile;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

// An open file that can be mapped. Opening never creates a file.
class MappedFile {
public:
    static Result<MappedFile> open(const std::string& path);

    MappedFile() = default;
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    bool is_open() const { return fd_ >= 0; }
    std::size_t size() const { return size_; }
    const std::string& path() const { return path_; }
    // Fails for an empty file: there is nothing to map.
    Result<FileView> map() const;
    void close();

private:
    int fd_ = -1;
    std::size_t size_ = 0;
    std::string path_;
};

}  // namespace plat
