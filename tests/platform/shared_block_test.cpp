#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/shared_block.h"

using namespace plat;

namespace {

// The layout a second module expects in a block its creator asked 20 bytes for.
struct SixtyBytes {
    unsigned char bytes[60];
};

TEST(SharedBlock, SmallRequestIsUsableOverAWholePageBySecondOpener) {
    auto first = SharedBlock::create_or_open("NDPassDataTest", 20);
    ASSERT_TRUE(first) << first.error();
    EXPECT_FALSE(first->existed());
    EXPECT_EQ(first->size(), 4096u);
    EXPECT_EQ(first->requested_size(), 20u);

    auto second = SharedBlock::create_or_open("NDPassDataTest", 60);
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->existed());
    EXPECT_EQ(second->size(), 4096u);
    EXPECT_EQ(second->requested_size(), 20u) << "the creator's request, not the opener's";

    auto writer = second->map(Access::read_write);
    ASSERT_TRUE(writer) << writer.error();
    auto* data = writer->as<SixtyBytes>();
    for (int i = 0; i < 60; ++i) data->bytes[i] = static_cast<unsigned char>(i + 1);

    auto reader = first->map(Access::read_only);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->as<const SixtyBytes>()->bytes[59], 60);
    EXPECT_EQ(reader->as<const SixtyBytes>()->bytes[19], 20);
}

TEST(SharedBlock, LivesWhileAnyHandleOrViewIsOpenAndVanishesAfterLast) {
    {
        auto block = SharedBlock::create_or_open("LifeTest", 100);
        ASSERT_TRUE(block);
        auto view = block->map(Access::read_write);
        ASSERT_TRUE(view);
        view->as<int>()[0] = 1234;
        block->close();  // the view alone keeps it
        auto again = SharedBlock::open_existing("LifeTest");
        ASSERT_TRUE(again);
        auto view2 = again->map(Access::read_only);
        EXPECT_EQ(view2->as<const int>()[0], 1234);
    }
    EXPECT_FALSE(SharedBlock::open_existing("LifeTest"));
    auto fresh = SharedBlock::create_or_open("LifeTest", 100);
    ASSERT_TRUE(fresh);
    EXPECT_FALSE(fresh->existed());
    auto view = fresh->map(Access::read_only);
    EXPECT_EQ(view->as<const int>()[0], 0) << "a recreated block starts zeroed, not with old contents";
}

TEST(SharedBlock, OpenExistingFailsWhenAbsentAndListsLiveBlocks) {
    auto missing = SharedBlock::open_existing("NoSuchBlock");
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.error().find("NoSuchBlock"), std::string::npos);

    auto block = SharedBlock::create_or_open("ListedBlock", 5000);
    ASSERT_TRUE(block);
    bool listed = false;
    for (const auto& info : list_shared_blocks())
        if (info.name == "ListedBlock") listed = info.size == 8192;
    EXPECT_TRUE(listed);
}

TEST(SharedBlock, ReadOnlyViewIsProtected) {
    auto block = SharedBlock::create_or_open("ProtectedBlock", 64);
    ASSERT_TRUE(block);
    auto view = block->map(Access::read_only);
    ASSERT_TRUE(view);
    EXPECT_EXIT(
        {
            volatile int* p = static_cast<volatile int*>(view->data());
            *p = 1;
            std::exit(0);
        },
        // A plain run dies of the fault; under the address sanitizer it exits reporting it.
        [](int status) { return !(WIFEXITED(status) && WEXITSTATUS(status) == 0); }, "");
}

TEST(SharedBlock, ConcurrentCreatorsAgreeOnOneBlock) {
    std::vector<std::thread> threads;
    std::vector<SharedBlock> handles(8);
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] { handles[i] = std::move(SharedBlock::create_or_open("RaceBlock", 10).value()); });
    for (auto& t : threads) t.join();
    int created = 0;
    for (auto& h : handles) created += h.existed() ? 0 : 1;
    EXPECT_EQ(created, 1);
    auto a = handles[0].map(Access::read_write);
    auto b = handles[7].map(Access::read_only);
    a->as<char>()[100] = 'x';
    EXPECT_EQ(b->as<const char>()[100], 'x');
}

// Run by the test below in a second process: the first process's block must not be visible here.
TEST(SharedBlockSecondProcess, DoesNotSeeTheFirstProcessBlock) {
    if (!std::getenv("PANEL_SECOND_HOST")) GTEST_SKIP() << "runs only as the second process";
    auto created = SharedBlock::create_or_open("PerProcess", 16);
    ASSERT_TRUE(created);
    EXPECT_FALSE(created->existed());
}

TEST(SharedBlock, TwoHostProcessesNeverShareANameSpace) {
    auto block = SharedBlock::create_or_open("PerProcess", 16);
    ASSERT_TRUE(block);
    char exe[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    std::string command = std::string("PANEL_SECOND_HOST=1 '") + exe +
                          "' --gtest_filter=SharedBlockSecondProcess.* > /dev/null 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
