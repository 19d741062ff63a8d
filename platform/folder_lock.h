#pragma once
// A folder's advisory lock, so that two programs do not work in one folder at once. The lock is
// taken on a file in the folder (flock), which the system lets go when the holder exits in any
// way, a crash included, so a lock is never left stale. The file holds the holder's process number
// and name, for the message the next one gives.

#include <string>
#include <string_view>

#include "platform/descriptor.h"
#include "platform/result.h"

namespace plat {

class FolderLock {
public:
    // Takes the lock of folder through its file `name`, made when absent. When another process
    // holds it, either waits for it (after calling waiting with what the file says of the holder)
    // or returns an error saying the folder is in use by that process. A folder in which the file
    // can be neither made nor opened (read-only, where nothing can be changed anyway) is taken
    // without a lock; held() says which.
    static Result<FolderLock> take(std::string_view folder, std::string_view name, std::string_view holder,
                                   bool wait, void (*waiting)(const std::string& who) = nullptr);

    FolderLock() = default;
    bool held() const { return file_.valid(); }

private:
    explicit FolderLock(Descriptor file) : file_(std::move(file)) {}
    Descriptor file_;
};

}  // namespace plat
