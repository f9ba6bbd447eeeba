#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "parking_test_support.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/stand_lookup.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

using mrw::Lalo;

constexpr double kBaseLat = 52.3;
constexpr double kBaseLon = 4.76;

// Degrees of latitude for metres north.
double northDegrees(double metres) {
    return metres * mrw::kNmPerMetre / 60.0;
}

class StandLookupTest : public ParkingTest {
  protected:
    void SetUp() override {
        ParkingTest::SetUp();
        mrw::g_userOnGround = true;
        setParkStands({makeStand("A1", kBaseLat, kBaseLon),
                       makeStand("A2", kBaseLat + northDegrees(40), kBaseLon),
                       makeStand("A3", kBaseLat + northDegrees(200), kBaseLon)});
    }
};

TEST_F(StandLookupTest, NamesTheNearestStandWithin55Metres) {
    struct Case {
        double metresNorth;
        const char* expected;
    };
    const Case cases[] = {
        {0, "A1"}, {19, "A1"},  {21, "A2"},  {40, "A2"}, {94, "A2"},
        {96, ""},  {150, "A3"}, {-54, "A1"}, {-56, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mrw::gf_standNameAt({kBaseLat + northDegrees(c.metresNorth), kBaseLon}), c.expected)
            << c.metresNorth << " m";
}

TEST_F(StandLookupTest, OfTwoStandsAtTheSameDistanceTheFirstWins) {
    setParkStands(
        {makeStand("B1", kBaseLat, kBaseLon + 0.0001), makeStand("B2", kBaseLat, kBaseLon - 0.0001)});
    EXPECT_EQ(mrw::gf_standNameAt({kBaseLat, kBaseLon}), "B1");
}

TEST_F(StandLookupTest, EarlyAnswersAreNotKeptForTheSamePosition) {
    const Lalo position{kBaseLat, kBaseLon};
    mrw::g_userOnGround = false;
    EXPECT_EQ(mrw::gf_standNameAt(position), "");
    mrw::g_userOnGround = true;
    EXPECT_EQ(mrw::gf_standNameAt(position), "A1");

    setParkStands({});
    EXPECT_EQ(mrw::gf_standNameAt(position), "");
    setParkStands({makeStand("C7", kBaseLat, kBaseLon)});
    EXPECT_EQ(mrw::gf_standNameAt(position), "C7");
}

TEST_F(StandLookupTest, APublicationForgetsTheLastAnswer) {
    const Lalo position{kBaseLat + northDegrees(100), kBaseLon};
    EXPECT_EQ(mrw::gf_standNameAt(position), "");
    setParkStands({makeStand("D1", kBaseLat + northDegrees(100), kBaseLon)});
    EXPECT_EQ(mrw::gf_standNameAt(position), "D1");
}

// The client thread asks while the main worker reads and clears the stands again and again.
TEST_F(StandLookupTest, LookupsRunSafelyWhileTheStandsAreRewritten) {
    std::atomic<bool> done{false};
    std::atomic<int> answers{0};
    std::thread client([&] {
        int step = 0;
        while (!done.load()) {
            const std::string name =
                mrw::gf_standNameAt({kBaseLat + northDegrees(step++ % 2 == 0 ? 0.0 : 1.0), kBaseLon});
            if (name == "A1" || name == "E1")
                ++answers;
            else
                EXPECT_EQ(name, "");
        }
    });
    for (int i = 0; i < 2000; ++i) {
        if (i % 2 == 0)
            setParkStands({makeStand("E1", kBaseLat, kBaseLon), makeStand("E2", kBaseLat + 1.0, kBaseLon)});
        else
            setParkStands({});
    }
    setParkStands({makeStand("A1", kBaseLat, kBaseLon)});
    while (answers.load() == 0)
        std::this_thread::yield();
    done = true;
    client.join();
    EXPECT_GT(answers.load(), 0);
}

}  // namespace
}  // namespace mrwtest
