#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "reports/flight_record.h"

namespace {

namespace fs = std::filesystem;

sim::AircraftState at_longitude(double lon) {
    sim::AircraftState s;
    s.position.lat = 37.0;
    s.position.lon = lon;
    return s;
}

// Hours of flight: every second is a row of flight.csv, while the samples kept for the picture
// stay within their bound, evenly spaced from the first to near the last.
TEST(FlightRecorder, LongFlightKeepsEveryRowButBoundedEvenlySpacedSamples) {
    const fs::path csv = fs::temp_directory_path() / ("flight_record_test_" + std::to_string(::getpid()) + ".csv");
    constexpr int kSeconds = 5 * 3600;
    {
        reports::FlightRecorder r;
        ASSERT_FALSE(r.open_csv(csv.string()));
        for (int i = 0; i < kSeconds * 2; ++i) r.sample(i * 0.5, at_longitude(-122.0 + i * 1e-5));
        EXPECT_EQ(r.taken(), static_cast<std::uint64_t>(kSeconds));
        ASSERT_FALSE(r.flush_csv());

        const auto& kept = r.samples();
        ASSERT_LE(kept.size(), reports::FlightRecorder::kTrackSamples);
        ASSERT_GE(kept.size(), reports::FlightRecorder::kTrackSamples / 2);
        EXPECT_EQ(kept.front().t, 0.0);
        const double step = kept[1].t - kept[0].t;
        EXPECT_GT(step, 1.0) << "thinned";
        for (std::size_t i = 1; i < kept.size(); ++i) ASSERT_EQ(kept[i].t - kept[i - 1].t, step) << i;
        EXPECT_GT(kept.back().t, kSeconds - 1 - step) << "the latest part of the flight is kept";
    }
    std::ifstream in(csv);
    std::string line;
    int rows = 0;
    std::getline(in, line);
    EXPECT_EQ(line, reports::flight_csv_header);
    std::string last;
    while (std::getline(in, line)) ++rows, last = line;
    EXPECT_EQ(rows, kSeconds);
    EXPECT_EQ(last.rfind(std::to_string(kSeconds - 1) + ",", 0), 0u) << last;
    fs::remove(csv);
}

TEST(FlightRecorder, ShortFlightKeepsEverySecond) {
    reports::FlightRecorder r;
    for (int i = 0; i < 100; ++i) r.sample(i / 18.0, at_longitude(-122.0));
    ASSERT_EQ(r.samples().size(), 6u);  // seconds 0 to 5
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(r.samples()[i].t, static_cast<double>(i));
}

// The crash's moment is the last row, flagged, and the end of the track: nothing is sampled after it.
TEST(FlightRecorder, ACrashEndsTheRecordWithItsOwnRow) {
    const fs::path csv = fs::temp_directory_path() / ("flight_record_crash_" + std::to_string(::getpid()) + ".csv");
    {
        reports::FlightRecorder r;
        ASSERT_FALSE(r.open_csv(csv.string()));
        for (int i = 0; i <= 18 * 3; ++i) r.sample(i / 18.0, at_longitude(-122.0 + i * 1e-4));
        r.record_crash(3.4, at_longitude(-121.9));
        for (int i = 62; i < 18 * 6; ++i) r.sample(i / 18.0, at_longitude(-121.0));
        EXPECT_EQ(r.taken(), 4u);
        ASSERT_FALSE(r.flush_csv());
        ASSERT_EQ(r.samples().size(), 5u);
        EXPECT_TRUE(r.samples().back().crashed);
        EXPECT_EQ(r.samples().back().t, 3.4);
        EXPECT_FALSE(r.samples()[3].crashed);
    }
    std::ifstream in(csv);
    std::string line, last;
    int rows = 0;
    std::getline(in, line);
    EXPECT_EQ(line.substr(line.rfind(',') + 1), "crashed");
    while (std::getline(in, line)) {
        ++rows;
        if (rows <= 4) {
            EXPECT_EQ(line.substr(line.size() - 2), ",0") << line;
        }
        last = line;
    }
    EXPECT_EQ(rows, 5);
    EXPECT_EQ(last.rfind("3.4,", 0), 0u) << last;
    EXPECT_EQ(last.substr(last.size() - 2), ",1") << last;
    fs::remove(csv);
}

TEST(FlightRecorder, UnwritableCsvIsAnError) {
    reports::FlightRecorder r;
    auto e = r.open_csv("/nonexistent-folder/flight.csv");
    ASSERT_TRUE(e);
    EXPECT_NE(e->message.find("/nonexistent-folder/flight.csv"), std::string::npos);
}

}  // namespace
