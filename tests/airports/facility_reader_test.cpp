// The facility reader against the simulated simulator: a known airport, an unknown code, a
// simulator that never ends its answer, short records, and the naming of stands.

#include <cstring>

#include <gtest/gtest.h>

#include "airports/facility_reader.h"
#include "airports/facility_reader_internal.h"
#include "airports_scan_test_support.h"
#include "foundation/run_state.h"
#include "foundation/user_error_exception.h"
#include "platform/simconnect/sim_world.h"

using namespace mrw;
using namespace mrwtest;

namespace {

standin::FacilityAirport eham() {
    standin::FacilityAirport airport;
    airport.icao = "EHAM";
    airport.name = "Schiphol";
    airport.latitudeDeg = 52.3;
    airport.longitudeDeg = 4.76;
    airport.altitudeM = -3.0;
    airport.helipads = {{52.31, 4.77, 0.0, 90.0F, 20.0F, 20.0F, 0, 2},
                        {52.32, 4.78, 0.0, 0.0F, 20.0F, 20.0F, 0, 1}};
    standin::FacilityParking parking;
    parking.type = 4;
    parking.number = 12;
    parking.headingDeg = 180.0F;
    parking.radiusM = 30.0F;
    parking.biasXM = 100.0F;
    parking.biasZM = 0.0F;
    standin::FacilityParking onReference = parking;
    onReference.biasXM = 0.0F;
    standin::FacilityParking dropped = parking;
    dropped.type = 13;
    airport.parkings = {parking, onReference, dropped};
    return airport;
}

class FacilityTest : public ::testing::Test {
  protected:
    void SetUp() override { startFacilityWorld(); }
    void TearDown() override {
        gf_closeFacilityConnection();
        g_stopRequested = false;
    }
    LoggedProgramFolder folder;
};

TEST_F(FacilityTest, ReadsAKnownAirport) {
    standin::addAirport(eham());
    AirportFile file;
    int helipads = -1;
    ASSERT_TRUE(gf_readFacilityStands("EHAM", file, helipads));
    EXPECT_TRUE(gf_facilityConnectionOpen());
    EXPECT_EQ(file.code, FixedCode<4>("EHAM"));
    EXPECT_EQ(file.airportName, "Schiphol");
    EXPECT_EQ(file.altitude, -9);  // -3 m, fraction dropped
    EXPECT_TRUE(file.Facilities);
    EXPECT_EQ(helipads, 2);
    ASSERT_EQ(file.stands.size(), 4U);
    EXPECT_EQ(file.stands[0].id, "helipad1");
    EXPECT_NEAR(file.stands[0].radius, 0.7F * 20.0 * kNmPerMetre, 1e-9);
    EXPECT_NEAR(file.stands[1].radius, 0.5 * 20.0 * kNmPerMetre, 1e-9);
    EXPECT_EQ(file.stands[2].id, "12");
    EXPECT_EQ(file.stands[3].id, "12a");
    EXPECT_GT(file.stands[2].longitude, 4.76);  // BIAS_X east of the reference point
    EXPECT_NEAR(file.stands[2].latitude, 52.3, 1e-6);
    EXPECT_DOUBLE_EQ(file.stands[3].latitude, 52.3);
    EXPECT_DOUBLE_EQ(file.stands[3].longitude, 4.76);
    const auto journal = standin::journal("PARKING_DATA_RDR");
    std::size_t items = 0;
    for (const auto& entry : journal)
        items += entry.function == "SimConnect_AddToFacilityDefinition";
    EXPECT_EQ(items, 30U);
}

TEST_F(FacilityTest, AnUnknownCodeThrowsAfterTheDispatchAndTheNextAirportIsClean) {
    standin::addAirport(eham());
    AirportFile file;
    int helipads = 0;
    try {
        gf_readFacilityStands("ZZZZ", file, helipads);
        FAIL() << "no exception";
    } catch (const UserErrorException& e) {
        EXPECT_STREQ(e.what(), "111: restart");
    }
    EXPECT_NE(folder.logText().find("SimConnect EXCEPTION id=1"), std::string::npos);
    ASSERT_TRUE(gf_readFacilityStands("EHAM", file, helipads));
    EXPECT_EQ(file.stands.size(), 4U);
}

TEST_F(FacilityTest, AnAnswerThatNeverEndsTimesOutAndLateRecordsDoNotLeak) {
    startFacilityWorld(50);
    standin::addAirport(eham());
    standin::holdFacilityAnswers(true);
    AirportFile file;
    int helipads = 0;
    EXPECT_FALSE(gf_readFacilityStands("EHAM", file, helipads));
    EXPECT_TRUE(file.stands.empty());
    // The held answer arrives during the next read, of another airport: only that read's own records
    // count.
    standin::FacilityAirport egll;
    egll.icao = "EGLL";
    egll.name = "Heathrow";
    egll.parkings = {eham().parkings.front()};
    standin::addAirport(egll);
    standin::holdFacilityAnswers(false);
    ASSERT_TRUE(gf_readFacilityStands("EGLL", file, helipads));
    EXPECT_EQ(file.airportName, "Heathrow");
    EXPECT_EQ(file.stands.size(), 1U);
}

TEST_F(FacilityTest, AStopOfTheRunEndsTheRead) {
    standin::addAirport(eham());
    standin::holdFacilityAnswers(true);
    g_stopRequested = true;
    AirportFile file;
    int helipads = 0;
    EXPECT_FALSE(gf_readFacilityStands("EHAM", file, helipads));
}

TEST_F(FacilityTest, AFailedOpenIsReportedAndTriedAgain) {
    standin::failNext("SimConnect_Open");
    AirportFile file;
    int helipads = 0;
    EXPECT_FALSE(gf_readFacilityStands("EHAM", file, helipads));
    EXPECT_FALSE(gf_facilityConnectionOpen());
    EXPECT_NE(folder.logText().find("SimConnect_Open (PARKING_DATA_RDR) FAILED hr=0x80004005"),
              std::string::npos);
    standin::addAirport(eham());
    EXPECT_TRUE(gf_readFacilityStands("EHAM", file, helipads));
}

TEST_F(FacilityTest, ShortRecordsAreDroppedWithTheirLine) {
    FacilityReadContext context;
    context.requestId = 7;
    alignas(8) unsigned char bytes[100] = {};
    auto* record = reinterpret_cast<SIMCONNECT_RECV_FACILITY_DATA*>(bytes);
    record->dwID = SIMCONNECT_RECV_ID_FACILITY_DATA;
    record->UserRequestId = 7;
    record->Type = SIMCONNECT_FACILITY_DATA_TAXI_PARKING;
    gf_onFacilityDispatch(record, 60, &context);  // too short for HEADING and the biases
    EXPECT_TRUE(context.stands.empty());
    EXPECT_NE(folder.logText().find("onRecvFacilityData exception:"), std::string::npos);
    // An airport NAME without terminator is cut at the record's end.
    record->Type = SIMCONNECT_FACILITY_DATA_AIRPORT;
    std::memset(bytes + 64, 'N', sizeof bytes - 64);
    gf_onFacilityDispatch(record, 70, &context);
    EXPECT_EQ(context.name, "NNNNNN");
    // A record of another request is ignored.
    record->UserRequestId = 8;
    record->Type = SIMCONNECT_FACILITY_DATA_HELIPAD;
    gf_onFacilityDispatch(record, sizeof bytes, &context);
    EXPECT_TRUE(context.stands.empty());
}

TEST(FacilityNames, NumbersRepeatWithBijectiveLetters) {
    const auto stand = [](std::int32_t number, bool heli) {
        Stand s({}, "", 0.0, 0.0, 0.0, 10.0, 4, false, false, heli);
        s.number = number;
        return s;
    };
    std::vector<Stand> stands{stand(12, false), stand(0, true),   stand(7, false),
                              stand(12, false), stand(12, false), stand(0, true)};
    for (int i = 0; i < 27; ++i)
        stands.push_back(stand(3, false));
    int helipads = 0;
    gf_nameStands(stands, helipads);
    EXPECT_EQ(helipads, 2);
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < 6; ++i)
        ids.push_back(stands[i].id);
    EXPECT_EQ(ids, (std::vector<std::string>{"12", "helipad1", "7", "12a", "12b", "helipad2"}));
    EXPECT_EQ(stands[6 + 26].id, "3z");
    stands.push_back(stand(3, false));
    gf_nameStands(stands, helipads);
    EXPECT_EQ(stands.back().id, "3aa");
}

}  // namespace
