// Plans through the real host: the list, the published blocks, refused files and fp.tmp.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "fmc_test_support.h"
#include "host/key_events.h"
#include "platform/shared_block.h"

namespace event = gauge::event;

using namespace fmctest;
namespace fs = std::filesystem;

namespace {

// The LOAD page line (1..6) that lists a plan, or 0.
int load_line_of(FmcRun& fmc, const std::string& name) {
    fmc.press(kMenu);
    fmc.press(left_key(1));
    for (int n = 1; n <= 6; ++n)
        if (fmc.line(2 * n) == name) return n;
    return 0;
}

void load(FmcRun& fmc, const std::string& name) {
    const int n = load_line_of(fmc, name);
    ASSERT_GT(n, 0) << name << " is not listed";
    fmc.press(left_key(n));
}

bool block_exists(const std::string& name) { return plat::SharedBlock::open_existing(name).ok(); }

// The block holds the file's bytes, the records' CRs and the last byte zeroed, zeros beyond.
void expect_published(const std::string& block, const std::string& file, std::size_t first_record, int records) {
    auto b = plat::SharedBlock::open_existing(block);
    ASSERT_TRUE(b) << block;
    auto v = b->map(plat::Access::read_only);
    ASSERT_TRUE(v);
    const std::size_t pages = (file.size() + plat::kPageSize - 1) / plat::kPageSize * plat::kPageSize;
    ASSERT_EQ(v->size(), pages) << "the file's size, in the whole pages the platform hands out";
    std::string expected = file;
    for (int i = 0; i < records; ++i) expected[first_record + 105 * i + 103] = '\0';
    expected.back() = '\0';
    const char* data = v->as<const char>();
    EXPECT_EQ(std::string(data, file.size()), expected);
    EXPECT_EQ(data[file.size() - 1], '\0') << "the final zero";
    for (std::size_t i = file.size(); i < v->size(); ++i) ASSERT_EQ(data[i], '\0') << "nothing beyond the plan";
}

std::size_t first_record_of(const std::string& file) { return file.find("[WAYPOINTS]") + 13; }

TEST(FmcPlans, PublishedAsMapOneThenMapZeroAndErrorsFlipOnlyOnTwo) {
    FmcRun fmc({"thirteen.pln", "turn.pln", "empty.pln"});
    const std::string thirteen = read_file(data_file("thirteen.pln"));
    const std::string turn = read_file(data_file("turn.pln"));

    load(fmc, "thirteen");
    EXPECT_EQ(fmc.line(0), "            ROUTE          1/1");
    expect_published("fltplanMap1", thirteen, first_record_of(thirteen), 14);
    EXPECT_FALSE(block_exists("fltplanMap0"));

    load(fmc, "turn");
    expect_published("fltplanMap0", turn, first_record_of(turn), 3);
    EXPECT_FALSE(block_exists("fltplanMap1")) << "the FMC let go of the previous plan";

    const int empty_line = load_line_of(fmc, "empty");
    ASSERT_GT(empty_line, 0);
    fmc.press(left_key(empty_line));
    EXPECT_EQ(fmc.line(2 * empty_line), ">>> OPEN ERROR #2") << "an empty file cannot be mapped";
    EXPECT_FALSE(block_exists("fltplanMap0"));
    EXPECT_FALSE(block_exists("fltplanMap1"));

    load(fmc, "thirteen");
    EXPECT_EQ(fmc.line(0), "            ROUTE          1/1") << "a good plan loads right after a failed one";
    EXPECT_TRUE(block_exists("fltplanMap1")) << "#2 published nothing: the name after map 0 is map 1";

    const int turn_line = load_line_of(fmc, "turn");
    ASSERT_GT(turn_line, 0);
    fs::remove(fmc.root() / "NavData" / "FlightPlans" / "turn.pln");
    fmc.press(left_key(turn_line));
    EXPECT_EQ(fmc.line(2 * turn_line), ">>> OPEN ERROR #1");
    load(fmc, "thirteen");
    EXPECT_TRUE(block_exists("fltplanMap0")) << "#1 left the index as it was";
}

// With the navigation display holding the plan it took, a failed load in between must not make
// the next good plan ask for the name the display still holds.
TEST(FmcPlans, AGoodPlanLoadsAfterAFailedOneWhileTheDisplayHoldsThePrevious) {
    FmcRun fmc({"thirteen.pln", "empty.pln"}, "", nullptr, kPanelWithDisplay);
    load(fmc, "thirteen");
    fmc.cycles(2);
    const int empty_line = load_line_of(fmc, "empty");
    ASSERT_GT(empty_line, 0);
    fmc.press(left_key(empty_line));
    EXPECT_EQ(fmc.line(2 * empty_line), ">>> OPEN ERROR #2");
    EXPECT_TRUE(block_exists("fltplanMap1")) << "the display keeps the plan it took";

    for (int attempt = 0; attempt < 3; ++attempt) {
        load(fmc, "thirteen");
        EXPECT_EQ(fmc.line(0), "            ROUTE          1/1") << "load " << attempt;
        fmc.cycles(2);
    }
    EXPECT_TRUE(block_exists("fltplanMap0"));
    EXPECT_FALSE(block_exists("fltplanMap1")) << "the display took every plan and let go of the one before";
}

// Editors often save a file without a final line end: its last record is still a whole record.
TEST(FmcPlans, ALastRecordWithoutItsLineEndIsTaken) {
    FmcRun fmc({"short_last.pln"}, "", nullptr, kPanelWithDisplay);
    const std::string file = read_file(data_file("short_last.pln"));
    ASSERT_NE(file.substr(file.size() - 2), "\r\n");
    load(fmc, "short_last");
    EXPECT_EQ(fmc.line(0), "            ROUTE          1/1");
    expect_published("fltplanMap1", file + "\r\n", first_record_of(file), 14);
    fmc.press(kLegs);
    for (int i = 0; i < 2; ++i) fmc.press(kNextPage);
    EXPECT_EQ(fmc.line(0), "         ACT RTE LEGS      3/3");
    EXPECT_EQ(fmc.line(2), "YMML           250/  434") << "the destination is the unended record, whole";
    fmc.press(left_key(1));
    EXPECT_EQ(fmc.line(3), "MELBOURNE TULLAMARINE    ");
    EXPECT_EQ(fmc.line(8), "S37 40 23.88  ");
}

TEST(FmcPlans, RecordsAreReadOnlyInsideThePlan) {
    FmcRun fmc({"cut_record.pln", "many.pln"});
    for (const char* name : {"cut_record"}) {
        const int n = load_line_of(fmc, name);
        ASSERT_GT(n, 0) << name;
        fmc.press(left_key(n));
        EXPECT_EQ(fmc.line(2 * n), ">>> OPEN ERROR #2") << name << ": a last record cut short is refused";
        EXPECT_FALSE(block_exists("fltplanMap1"));
        EXPECT_FALSE(block_exists("fltplanMap0"));
    }
    load(fmc, "many");
    fmc.press(kLegs);
    for (int i = 0; i < 50; ++i) fmc.press(kNextPage);
    EXPECT_EQ(fmc.line(0), "         ACT RTE LEGS      43/43") << "300 records are cut at 256: 255 legs";
    EXPECT_EQ(fmc.line(6), "W255           280/ 5000");
    EXPECT_EQ(fmc.line(8), "");
}

TEST(FmcPlans, StateIsKeptInFpTmpAcrossAReload) {
    FmcRun fmc({"thirteen.pln"}, "at 5 reload\n");
    load(fmc, "thirteen");
    fmc.press(kLegs);
    fmc.press(kNextPage);
    fmc.press(kSpd);
    fmc.press(kExec);
    EXPECT_EQ(fmc.line(13), "----EXEC---HRZ---VRT----------");
    fmc.run().session().run_for(6);
    const fs::path scratch = fmc.root() / "Gauges" / "fp.tmp";
    EXPECT_EQ(read_file(scratch), "NavData/FlightPlans/thirteen.pln\n2\n2\n1\n1\n1\n0\n");
    EXPECT_FALSE(fs::exists(fmc.root() / "Gauges" / "fp.tmp.new"));
    EXPECT_EQ(fmc.line(0), "         ACT RTE LEGS      2/3") << "the restored page and page index";
    EXPECT_EQ(fmc.line(2), "WG             253/35000");
    EXPECT_EQ(fmc.line(13), "----EXEC---HRZ---VRT----------");
    EXPECT_TRUE(block_exists("fltplanMap1")) << "the reloaded module publishes its first plan as map 1";
    int armed = 0;
    for (const auto& e : fmc.run().panel().key_events()) armed += e.id == event::autothrottle_arm;
    EXPECT_EQ(armed, 2) << "EXEC restored on arms the autothrottle again";
}

TEST(FmcPlans, ScratchFileWithoutAPlanStillRestoresItsNumbers) {
    FmcRun fmc({"thirteen.pln"}, "", "\n2\n0\n0\n1\n0\n0\n");
    EXPECT_EQ(fmc.line(0), "         ACT RTE LEGS      1/1") << "page 2 restored, no plan, page index 0 read as 1";
    EXPECT_EQ(fmc.line(2), "");
    fmc.press(kExec);
    EXPECT_EQ(fmc.line(13), "----EXEC---HRZ----------------") << "HRZ on, VRT and SPD off as saved";
}

TEST(FmcPlans, EmptyScratchFileRestoresEverySwitchOff) {
    FmcRun empty({"thirteen.pln"}, "", "");
    EXPECT_EQ(empty.line(0), "             MENU          1/1");
    empty.press(kExec);
    EXPECT_EQ(empty.line(13), "----EXEC----------------------") << "an empty scratch file restores every switch off";
}

}  // namespace
