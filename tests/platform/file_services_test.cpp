// Copies that say which file failed, the record of failed saves, and the folder lock.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/atomic_file.h"
#include "platform/file_copy.h"
#include "platform/folder_lock.h"

using namespace plat;
namespace fs = std::filesystem;

namespace {

class FileServices : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("file_services_test_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

std::string contents_of(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST_F(FileServices, CopyKeepsBytesAndModeAndNamesTheFileThatFailed) {
    const fs::path from = folder_ / "module.gau", to = folder_ / "copy.gau";
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    std::ofstream(from, std::ios::binary) << bytes;
    ::chmod(from.c_str(), 0750);
    auto copied = copy_file(from.string(), to.string());
    ASSERT_TRUE(copied) << copied.error();
    EXPECT_EQ(contents_of(to), bytes);
    struct stat info {};
    ASSERT_EQ(::stat(to.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0750u);

    auto missing = copy_file((folder_ / "absent.gau").string(), to.string());
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().rfind((folder_ / "absent.gau").string() + ": cannot open: ", 0), 0u) << missing.error();
    auto nowhere = copy_file(from.string(), (folder_ / "no/such/folder/copy.gau").string());
    ASSERT_FALSE(nowhere);
    EXPECT_NE(nowhere.error().find("no/such/folder/copy.gau: cannot create: No such file or directory"),
              std::string::npos)
        << nowhere.error();
}

TEST_F(FileServices, FailedSavesAreKeptOncePerFile) {
    const std::size_t before = failed_save_count();
    const std::string lost = (folder_ / "gone" / "NDmode.tmp").string();
    EXPECT_FALSE(replace_file_atomically(lost, "1\n"));
    EXPECT_FALSE(replace_file_atomically(lost, "0\n"));
    ASSERT_TRUE(replace_file_atomically((folder_ / "kept.txt").string(), "x"));
    ASSERT_EQ(failed_save_count(), before + 1);
    const auto said = failed_saves(before);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("NDmode.tmp.new: cannot create: No such file or directory"), std::string::npos) << said[0];
}

TEST_F(FileServices, SecondLockOfAFolderIsRefusedWithItsHolderUntilLetGo) {
    {
        auto first = FolderLock::take(folder_.string(), "panelhost.lock", "panelhost view", false);
        ASSERT_TRUE(first) << first.error();
        EXPECT_TRUE(first->held());
        EXPECT_EQ(contents_of(folder_ / "panelhost.lock"), std::to_string(::getpid()) + " panelhost view\n");
        // A lock is held by its open file, so a second take in this process is refused as another's would be.
        auto second = FolderLock::take(folder_.string(), "panelhost.lock", "panelhost run", false);
        ASSERT_FALSE(second);
        EXPECT_EQ(second.error(),
                  folder_.string() + " is in use by process " + std::to_string(::getpid()) + " (panelhost view)");
    }
    auto again = FolderLock::take(folder_.string(), "panelhost.lock", "panelhost run", false);
    ASSERT_TRUE(again) << again.error();
    EXPECT_TRUE(again->held());
}
