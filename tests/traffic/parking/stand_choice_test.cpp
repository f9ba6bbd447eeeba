#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aircraft/wingspans.h"
#include "foundation/window_model.h"
#include "parking_test_support.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/stand_choice_internal.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

using mrw::AcCategory;
using mrw::FlightPhase;
using mrw::g_liveAcs;
using mrw::g_parkStands;
using mrw::g_staticAcs;
using mrw::SimState;

constexpr double kBaseLat = 52.3;
constexpr double kBaseLon = 4.76;
constexpr mrw::CodeIndex kWide = 7;    // half span 0.01 nm (18.5 m)
constexpr mrw::CodeIndex kNarrow = 8;  // half span 0.002 nm (3.7 m)

double northDegrees(double metres) {
    return metres * mrw::kNmPerMetre / 60.0;
}

double metres(double value) {
    return value * mrw::kNmPerMetre;
}

mrw::Stand standAt(const std::string& id, double metresNorth, std::int16_t type = 12,
                   double radiusMetres = 20.0, bool heli = false) {
    return mrw::Stand({}, id, kBaseLat + northDegrees(metresNorth), kBaseLon, 1.5, radiusMetres, type, false,
                      false, heli);
}

mrw::PositionSample sampleAt(double metresNorth, bool stationary = false, double speedKt = 0.0) {
    mrw::PositionSample sample;
    sample.lat = kBaseLat + northDegrees(metresNorth);
    sample.lon = kBaseLon;
    sample.stationary = stationary;
    sample.groundSpeedKt = speedKt;
    return sample;
}

class StandChoiceTest : public ParkingTest {
  protected:
    void SetUp() override {
        ParkingTest::SetUp();
        mrw::g_halfWingspans[kWide] = 0.01;
        mrw::g_halfWingspans[kNarrow] = 0.002;
        mrw::g_parkAirport.code = mrw::FixedCode<4>("EHAM");
        mrw::g_parkAirport.latitude = kBaseLat;
        mrw::g_parkAirport.longitude = kBaseLon;
    }

    // S1 on the base, S2 30 m north of it (each overlapping the other), S3 200 m north.
    static void threeStands() {
        std::vector<mrw::Stand> stands{standAt("S1", 0), standAt("S2", 30), standAt("S3", 200)};
        stands[0].overlaps = {2};
        stands[1].overlaps = {1};
        setParkStands(std::move(stands));
    }

    // A taxiing live aircraft whose last sample lies north of the base.
    static mrw::LiveAc& taxiing(std::uint32_t hexid, const std::string& callsign, double metresNorth,
                                mrw::CodeIndex model = kWide, AcCategory category = AcCategory::Large) {
        mrw::LiveAc& ac = addLive(hexid, callsign, FlightPhase::Taxi);
        ac.designation.airline = 1;
        ac.designation.model = model;
        ac.halfSpanNm = mrw::g_halfWingspans[model];
        ac.category = category;
        ac.manoeuvreSpeedKt = 8.0;
        ac.samples = {sampleAt(metresNorth - 50), sampleAt(metresNorth)};
        return ac;
    }

    static mrw::LiveAc& parkedOn(std::uint32_t hexid, const std::string& callsign, std::int32_t standNumber,
                                 mrw::CodeIndex model = kWide) {
        mrw::LiveAc& ac = addLive(hexid, callsign, FlightPhase::Parked, standNumber);
        ac.designation.model = model;
        return ac;
    }
};

TEST_F(StandChoiceTest, FindStandTakesTheNearestThatFitsTheAircraft) {
    struct Case {
        const char* name;
        std::vector<mrw::Stand> stands;
        double halfSpanMetres;
        AcCategory category;
        double metresNorth;
        double radiusNm;
        bool wide;
        const char* expected;  // "" = none
    };
    mrw::Stand lightOnly = standAt("L", 0, 1);
    mrw::Stand heli = standAt("H", 0, 12, 20, true);
    mrw::Stand east = standAt("E", 0);
    east.longitude += 0.0001;
    mrw::Stand west = standAt("W", 0);
    west.longitude -= 0.0001;
    const Case cases[] = {
        {"a tie goes to the earlier stand",
         {east, west},
         15,
         AcCategory::Large,
         0,
         mrw::kTaxiSearchNm,
         false,
         "E"},
        {"the nearer of two fitting stands",
         {standAt("F", 15), standAt("N", 5)},
         15,
         AcCategory::Large,
         0,
         mrw::kTaxiSearchNm,
         false,
         "N"},
        {"out of the radius", {standAt("F", 25)}, 15, AcCategory::Large, 0, mrw::kTaxiSearchNm, false, ""},
        {"a too small stand beyond 20 m",
         {lightOnly},
         30,
         AcCategory::Heavy,
         30,
         mrw::kBirthSearchNm,
         false,
         ""},
        {"a fixed-wing aircraft at a helipad",
         {heli},
         5,
         AcCategory::Light,
         5,
         mrw::kTaxiSearchNm,
         false,
         ""},
        {"a rotorcraft at a stand",
         {standAt("S", 0)},
         5,
         AcCategory::Rotorcraft,
         5,
         mrw::kTaxiSearchNm,
         false,
         ""},
        {"a rotorcraft at a helipad", {heli}, 5, AcCategory::Rotorcraft, 5, mrw::kTaxiSearchNm, false, "H"},
        {"an untyped stand of the size",
         {standAt("U", 0, 0, 20)},
         21.7,
         AcCategory::Large,
         5,
         mrw::kTaxiSearchNm,
         false,
         "U"},
    };
    for (const Case& c : cases) {
        setParkStands(c.stands);
        mrw::LiveAc ac;
        ac.callsign = "TST1";
        ac.category = c.category;
        ac.halfSpanNm = metres(c.halfSpanMetres);
        const mrw::Stand* stand =
            mrw::lf_findStand({kBaseLat + northDegrees(c.metresNorth), kBaseLon}, ac, c.radiusNm, c.wide);
        EXPECT_EQ(stand == nullptr ? std::string{} : stand->id, c.expected) << c.name;
        for (const mrw::Stand& s : g_parkStands)
            EXPECT_FALSE(s.radiusChanged) << c.name;
    }
}

// A Heavy stopping 15 m from a Light-only stand takes it: the stand grows to the half span less 1 m,
// counted as an update. A stand already larger than that keeps its radius.
TEST_F(StandChoiceTest, ATooSmallStandWithin20MetresGrowsButNeverShrinks) {
    struct Case {
        double radiusMetres;
        double expectedRadiusMetres;
    };
    for (const Case c : {Case{10, 29}, Case{40, 40}}) {
        setParkStands({standAt("L1", 0, 1, c.radiusMetres)});
        mrw::g_optionCount = 0;
        mrw::g_mainWindow().updatesCount = 0;
        mrw::LiveAc ac;
        ac.category = AcCategory::Heavy;
        ac.halfSpanNm = metres(30);
        const mrw::Stand* stand =
            mrw::lf_findStand({kBaseLat + northDegrees(15), kBaseLon}, ac, mrw::kTaxiSearchNm, false);
        ASSERT_NE(stand, nullptr);
        EXPECT_TRUE(stand->radiusChanged);
        EXPECT_NEAR(stand->radius, metres(c.expectedRadiusMetres), 1e-9) << c.radiusMetres;
        EXPECT_EQ(mrw::g_mainWindow().updatesCount.load(), 1);
    }
}

// After a landing an aircraft stopping 80 m from a stand that it really used parks there, when no
// fitting stand lies within 55 m; only its own callsign or designation counts.
TEST_F(StandChoiceTest, TheWideSearchFindsAStandOfTheAircraftsOwnRealUse) {
    struct Case {
        const char* useCallsign;
        mrw::CodeIndex useModel;
        bool real;
        bool wide;
        const char* expected;
    };
    const Case cases[] = {
        {"KLM12", 9, true, true, "R1"}, {"OTHER", 5, true, true, "R1"},  // same airline, operator, model
        {"OTHER", 9, true, true, ""},   {"KLM12", 9, false, true, ""},   // a soft use does not count
        {"KLM12", 9, true, false, ""},
    };
    for (const Case& c : cases) {
        mrw::Stand stand = standAt("R1", 80);
        UseSpec use(1, {10}, c.useCallsign, "PH-X");
        use.withModel(c.useModel);
        if (!c.real) use.soft();
        addUse(stand, use);
        setParkStands({std::move(stand)});
        mrw::LiveAc ac;
        ac.callsign = "KLM12";
        ac.designation.airline = 1;
        ac.designation.model = 5;
        ac.category = AcCategory::Large;
        const mrw::Stand* found = mrw::lf_findStand({kBaseLat, kBaseLon}, ac, mrw::kBirthSearchNm, c.wide);
        EXPECT_EQ(found == nullptr ? std::string{} : found->id, c.expected) << c.useCallsign << c.useModel;
    }
}

TEST_F(StandChoiceTest, TryToParkSendsTheAircraftOntoItsStandOncePerLastSample) {
    threeStands();
    g_parkStands[1].cargo = true;
    mrw::g_userStandName.set("S2");
    mrw::LiveAc& ac = taxiing(30001, "KLM12", 33);
    ac.try2Park(false);
    EXPECT_EQ(ac.standNumber, 0);  // the user's stand

    mrw::g_userStandName.set("");
    ac.try2Park(false);
    EXPECT_EQ(ac.standNumber, 0) << "the same last sample is searched once";

    ac.samples.back().lat += northDegrees(-1);
    ac.try2Park(false);
    EXPECT_EQ(ac.standNumber, 2);
    EXPECT_EQ(ac.phase, FlightPhase::Parking);
    // The front sample, then the drive onto the stand.
    ASSERT_EQ(ac.samples.size(), 3u);
    EXPECT_DOUBLE_EQ(ac.samples.back().lat, g_parkStands[1].latitude);
    EXPECT_DOUBLE_EQ(ac.standPosition.latitude, g_parkStands[1].latitude);
    EXPECT_DOUBLE_EQ(ac.standHeadingRad, 1.5);
    EXPECT_TRUE(ac.standCargo);

    ac.samples.clear();
    ac.try2Park(true);
    EXPECT_NE(log().find("try2Park empty sz?"), std::string::npos);
}

// The user's stand, by its reserved name or by the user standing on it, goes to no live aircraft.
TEST_F(StandChoiceTest, TheUsersStandGoesToNoLiveAircraft) {
    for (const bool byName : {true, false}) {
        threeStands();
        g_liveAcs.clear();
        mrw::g_userStandName.set(byName ? "S1" : "");
        mrw::g_userOnGround = !byName;
        mrw::UserAcData user;
        user.latitude = kBaseLat + northDegrees(2);
        user.longitude = kBaseLon;
        mrw::gf_setUserAcDataRecv(user);
        mrw::LiveAc& ac = taxiing(30001, "KLM12", 1);
        ac.try2Park(true);
        EXPECT_EQ(ac.standNumber, 0) << byName;
        ac.samples = {sampleAt(1, true)};
        EXPECT_FALSE(ac.standForGroundBirth()) << byName;
        EXPECT_FALSE(ac.eraseNeverCreated);
    }
}

// The parked aircraft on the stand and a live one next to it that would touch are removed, the
// static aircraft on the stand and next to it make way; a record that only taxied past keeps its
// stand number and is left alone.
TEST_F(StandChoiceTest, TryToParkClearsTheStandAndTheNeighboursThatWouldTouch) {
    threeStands();
    addLive(30002, "OLD1", FlightPhase::Taxi, 1);
    parkedOn(30003, "PRK1", 1);
    parkedOn(30004, "ADJ2", 2);
    parkedOn(30005, "FAR3", 3);
    addStatic(1, "STA1*", "KLM12", "PH-KLM", kWide);
    addStatic(2, "STA2*", "STA2", "PH-STB", kWide);
    addStatic(3, "STA3*", "STA3", "PH-STC", kWide);
    mrw::LiveAc& ac = taxiing(30001, "KLM12", 1);
    ac.registration = "PH-NEW";
    ac.try2Park(false);

    EXPECT_EQ(ac.standNumber, 1);
    EXPECT_EQ(g_liveAcs[0].simState, SimState::Active);
    EXPECT_EQ(g_liveAcs[1].simState, SimState::RemovingFromSim);
    EXPECT_EQ(g_liveAcs[2].simState, SimState::RemovingFromSim);
    EXPECT_EQ(g_liveAcs[3].simState, SimState::Active);
    EXPECT_EQ(g_staticAcs[0].simState, SimState::RemovingFromSim);
    EXPECT_EQ(g_staticAcs[1].simState, SimState::RemovingFromSim);
    EXPECT_EQ(g_staticAcs[2].simState, SimState::Active);
    const std::string text = log();
    EXPECT_NE(text.find("S1      : PRK1     removed, KLM12 wants to park there"), std::string::npos);
    EXPECT_NE(
        text.find("S2      : ADJ2     removed by parking KLM12 at adjacent and possibly colliding stand S1"),
        std::string::npos);
    EXPECT_NE(text.find("S1      : STA1*    PH-KLM makes way for the same live version KLM12 PH-NEW"),
              std::string::npos);
    EXPECT_NE(text.find("S2      : STA2*    makes way for KLM12 parking at excluded stand S1"),
              std::string::npos);
}

// Narrow neighbours 30 m away do not touch: nobody next to the stand is removed.
TEST_F(StandChoiceTest, NeighboursThatDoNotTouchStay) {
    threeStands();
    parkedOn(30004, "ADJ2", 2, kNarrow);
    addStatic(2, "STA2*", "STA2", "PH-STB", kNarrow);
    mrw::LiveAc& ac = taxiing(30001, "KLM12", 1, kNarrow);
    ac.try2Park(false);
    EXPECT_EQ(ac.standNumber, 1);
    EXPECT_EQ(g_liveAcs[0].simState, SimState::Active);
    EXPECT_EQ(g_staticAcs[0].simState, SimState::Active);
}

// A static aircraft still queued is withdrawn rather than created and removed; one whose request has
// left is removed when it is created. A static on its way out does not hide its queued successor.
TEST_F(StandChoiceTest, AQueuedStaticIsWithdrawnInsteadOfCreated) {
    threeStands();
    addStatic(1, "OUT1*", "OUT1", "PH-OUT").simState = SimState::RemovingFromSim;
    addStatic(1, "NEW1*", "NEW1", "PH-NEW").simState = SimState::Adding2Sim;
    addStatic(2, "LEFT2*", "LEFT2", "PH-LFT").simState = SimState::Adding2Sim;
    mrw::CreateRequest request;
    request.callsign = "NEW1*";
    mrw::g_staticCreateQueue.push_back(request);

    mrw::LiveAc& ac = taxiing(30001, "KLM12", 1);
    mrw::lf_makeWay(ac, g_parkStands[0]);
    ASSERT_EQ(g_staticAcs.size(), 2u);
    EXPECT_EQ(g_staticAcs[0].callsign, "OUT1*");
    EXPECT_TRUE(mrw::g_staticCreateQueue.empty());
    EXPECT_NE(log().find("queued S1      : NEW1*    PH-NEW makes way for KLM12 "), std::string::npos);

    mrw::lf_makeWay(ac, g_parkStands[1]);
    EXPECT_TRUE(g_staticAcs[1].removeWhenCreated);
    EXPECT_EQ(g_staticAcs[1].simState, SimState::Adding2Sim);
}

TEST_F(StandChoiceTest, AnotherLiveAircraftOnTheStandGivesWayOrKeepsIt) {
    struct Case {
        const char* standing;
        FlightPhase phase;
        bool exempt;
        const char* newcomer;
        bool mayTake;
        bool removed;
        const char* line;
    };
    const Case cases[] = {
        {"ABC1", FlightPhase::Parked, false, "ABC1", true, true,
         "ABC1     ac with same callsign ABC1 wants it"},
        {"ABC1", FlightPhase::Parked, false, "ABC1_", false, false, nullptr},
        {"ABC1_", FlightPhase::Parked, false, "ABC1", true, true, "ABC1_    ghost, replace by ABC1"},
        {"XYZ9_", FlightPhase::PushingBack, false, "ABC1", true, true, "XYZ9_    ghost, replace by ABC1"},
        {"ABC1", FlightPhase::Parked, false, "XYZ9_", false, false, nullptr},
        {"ABC1", FlightPhase::PushedBack, true, "DEF2", false, false, nullptr},
        {"ABC1", FlightPhase::Parked, false, "DEF2", true, true,
         "ABC1     removed because another live DEF2"},
        {"ABC1", FlightPhase::Taxi, false, "DEF2", true, false, nullptr},  // only passed the stand
    };
    for (const Case& c : cases) {
        threeStands();
        g_liveAcs.clear();
        mrw::LiveAc& other = addLive(30002, c.standing, c.phase, 1);
        other.parkedTimeExempt = c.exempt;
        EXPECT_EQ(mrw::lf_resolveStandConflict(1, c.newcomer), c.mayTake) << c.standing << " " << c.newcomer;
        EXPECT_EQ(other.simState == SimState::RemovingFromSim, c.removed) << c.standing << " " << c.newcomer;
        if (c.line != nullptr) {
            EXPECT_NE(log().find(std::string("S1      : ") + c.line), std::string::npos) << c.line;
        }
    }
}

TEST_F(StandChoiceTest, AnAircraftBornOnTheGroundGetsAStandNearItsSamples) {
    struct Case {
        const char* name;
        bool parkAirport;
        double firstMetres;
        bool stationary;
        double secondSpeedKt;
        double lastMetres;
        const char* standingOnS1;  // a parked live aircraft on S1
        const char* standingOnS2;  // a wide parked live aircraft on S2
        const char* expected;      // "" = none
        bool erased;
    };
    const Case cases[] = {
        {"standing at S1", true, 2, true, 0, 2, nullptr, nullptr, "S1", false},
        {"no park airport", false, 2, true, 0, 2, nullptr, nullptr, "", false},
        {"over 5 nm from the airport", true, 9400, true, 0, 9400, nullptr, nullptr, "", false},
        {"rolling slowly onto S2", true, 5, false, 3, 29, nullptr, nullptr, "S2", false},
        {"rolling at 6 kt", true, 5, false, 6, 29, nullptr, nullptr, "", false},
        {"rolling 40 m", true, -10, false, 3, 30, nullptr, nullptr, "", false},
        {"the ghost of the parked aircraft", true, 2, true, 0, 2, "KLM12", nullptr, "", true},
        {"a wide neighbour", true, 2, true, 0, 2, nullptr, "ADJ2", "", true},
        {"a neighbour with its own callsign", true, 2, true, 0, 2, nullptr, "KLM12_", "S1", false},
    };
    for (const Case& c : cases) {
        threeStands();
        g_liveAcs.clear();
        mrw::g_parkAirport.code = c.parkAirport ? mrw::FixedCode<4>("EHAM") : mrw::FixedCode<4>{};
        if (c.standingOnS1 != nullptr) parkedOn(30002, c.standingOnS1, 1);
        if (c.standingOnS2 != nullptr) parkedOn(30003, c.standingOnS2, 2);
        mrw::LiveAc& ac = taxiing(30001, "KLM12_", 0);
        ac.phase = FlightPhase::Birth;
        ac.simState = SimState::Buffer;
        ac.samples = {sampleAt(c.firstMetres, c.stationary), sampleAt(c.firstMetres, false, c.secondSpeedKt),
                      sampleAt(c.lastMetres)};
        const std::optional<mrw::Stand> stand = ac.standForGroundBirth();
        EXPECT_EQ(stand ? stand->id : std::string{}, c.expected) << c.name;
        EXPECT_EQ(ac.eraseNeverCreated, c.erased) << c.name;
        if (stand) {
            EXPECT_TRUE(ac.samples.front().stationary) << c.name;
            EXPECT_EQ(ac.samples.front().groundSpeedKt, 0.0) << c.name;
        }
    }
}

}  // namespace
}  // namespace mrwtest
