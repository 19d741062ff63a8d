#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/atomic_file.h"

using namespace plat;
namespace fs = std::filesystem;

namespace {

std::string contents_of(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class AtomicFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("atomic_file_test_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(AtomicFile, CreatesReplacesAndLeavesNoTemporary) {
    const fs::path file = folder_ / "NDmode.tmp";
    auto first = replace_file_atomically(file.string(), "1\n2\n30\n640\n");
    ASSERT_TRUE(first) << first.error();
    EXPECT_EQ(contents_of(file), "1\n2\n30\n640\n");
    // A shorter content must not keep the tail of the longer one.
    ASSERT_TRUE(replace_file_atomically(file.string(), "0\n"));
    EXPECT_EQ(contents_of(file), "0\n");
    ASSERT_TRUE(replace_file_atomically(file.string(), ""));
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(fs::file_size(file), 0u);
    EXPECT_FALSE(fs::exists(atomic_temporary_path(file.string())));
}

TEST_F(AtomicFile, TemporaryIsBesideTheFile) {
    EXPECT_EQ(atomic_temporary_path("Gauges/fp.tmp"), "Gauges/fp.tmp.new");
    EXPECT_EQ(atomic_temporary_path("737aspdbugs.txt"), "737aspdbugs.txt.new");
}

// What a write killed half-way leaves behind is overwritten whole by the next save.
TEST_F(AtomicFile, StaleTemporaryFromAKilledWriteIsReplaced) {
    const fs::path file = folder_ / "fp.tmp";
    std::ofstream(atomic_temporary_path(file.string()), std::ios::binary) << "a much longer half-written plan pa";
    ASSERT_TRUE(replace_file_atomically(file.string(), "short\n"));
    EXPECT_EQ(contents_of(file), "short\n");
    EXPECT_FALSE(fs::exists(atomic_temporary_path(file.string())));
}

TEST_F(AtomicFile, FailedRenameKeepsTheOldContentAndNamesTheFile) {
    // A folder in the file's place cannot be renamed over: the write itself succeeds, the
    // replacement fails, and the folder and what it holds stay as they were.
    const fs::path file = folder_ / "737aspdbugs.txt";
    fs::create_directories(file);
    std::ofstream(file / "inside", std::ios::binary) << "old";
    auto r = replace_file_atomically(file.string(), "120 140 160 180 200\r\n");
    ASSERT_FALSE(r);
    EXPECT_NE(r.error().find("737aspdbugs.txt"), std::string::npos) << r.error();
    EXPECT_NE(r.error().find("cannot replace"), std::string::npos) << r.error();
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_EQ(contents_of(file / "inside"), "old");
    EXPECT_FALSE(fs::exists(atomic_temporary_path(file.string())));
}

TEST_F(AtomicFile, MissingFolderFailsWithoutCreatingAnything) {
    const fs::path file = folder_ / "Gauges" / "NDmode.tmp";
    auto r = replace_file_atomically(file.string(), "1\n");
    ASSERT_FALSE(r);
    EXPECT_NE(r.error().find("Gauges/NDmode.tmp.new"), std::string::npos) << r.error();
    EXPECT_NE(r.error().find("cannot create"), std::string::npos) << r.error();
    EXPECT_FALSE(fs::exists(folder_ / "Gauges"));
}

TEST_F(AtomicFile, AFullDiskKeepsTheOldFile) {
    // /dev/full takes the open and refuses every write, as a full disk does; the temporary's name
    // is made a link to it.
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const fs::path file = folder_ / "bugs.txt";
    std::ofstream(file, std::ios::binary) << "old content\r\n";
    fs::create_symlink("/dev/full", atomic_temporary_path(file.string()));
    auto r = replace_file_atomically(file.string(), "new content\r\n");
    ASSERT_FALSE(r);
    EXPECT_NE(r.error().find("cannot write"), std::string::npos) << r.error();
    EXPECT_EQ(contents_of(file), "old content\r\n");
    EXPECT_FALSE(fs::exists(fs::symlink_status(atomic_temporary_path(file.string()))));
}

TEST_F(AtomicFile, EmptyNameIsRefused) {
    auto r = replace_file_atomically("", "x");
    ASSERT_FALSE(r);
    EXPECT_FALSE(r.error().empty());
}

}  // namespace
