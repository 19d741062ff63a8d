#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/mapped_file.h"

using namespace plat;
namespace fs = std::filesystem;

namespace {

fs::path temp_file(const char* name, const std::string& contents) {
    fs::path p = fs::temp_directory_path() / name;
    std::ofstream(p, std::ios::binary) << contents;
    return p;
}

TEST(MappedFile, MapsWholeFileReadOnly) {
    auto path = temp_file("mapped_file_test.dat", "NAVAID 1\r\nNAVAID 2\r\n");
    auto file = MappedFile::open(path.string());
    ASSERT_TRUE(file) << file.error();
    EXPECT_EQ(file->size(), 20u);
    auto view = file->map();
    ASSERT_TRUE(view) << view.error();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(view->data()), view->size()), "NAVAID 1\r\nNAVAID 2\r\n");
    file->close();  // the view stays valid on its own
    EXPECT_EQ(view->bytes()[7], '1');
    fs::remove(path);
}

TEST(MappedFile, EmptyFileCannotBeMapped) {
    auto path = temp_file("mapped_file_empty.dat", "");
    auto file = MappedFile::open(path.string());
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), 0u);
    auto view = file->map();
    EXPECT_FALSE(view);
    EXPECT_NE(view.error().find("empty"), std::string::npos);
    fs::remove(path);
}

TEST(MappedFile, OpenNeverCreates) {
    fs::path p = fs::temp_directory_path() / "mapped_file_absent.dat";
    fs::remove(p);
    auto file = MappedFile::open(p.string());
    EXPECT_FALSE(file);
    EXPECT_NE(file.error().find("mapped_file_absent.dat"), std::string::npos);
    EXPECT_FALSE(fs::exists(p));
    EXPECT_FALSE(MappedFile::open(fs::temp_directory_path().string())) << "a directory is not a file";
}

}  // namespace
