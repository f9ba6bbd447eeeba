#include <filesystem>
#include <mutex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "config/data_file_meta.h"
#include "config/parameter_catalogue.h"
#include "foundation/file_names.h"
#include "foundation/window_model.h"
#include "parking_test_support.h"
#include "support/process_data_directory.h"
#include "support/test_support.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_airport_pass.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

using mrw::FlightPhase;
using mrw::SimState;

constexpr double kEhamLat = 52.3086;
constexpr double kEhamLon = 4.7639;
constexpr double kEhleLat = 52.4603;  // 29 nm east-north-east of EHAM
constexpr double kEhleLon = 5.5272;

// EHAM's airport file: stand A1 where the user stands, A2 30 m north with a KLM use on Wednesdays
// at 10:00.
std::string ehamFile() {
    pugi::xml_document document;
    mrw::DataFileMeta meta;
    meta.version = "12.6.0";
    meta.sim = 1;
    mrw::gf_writeMeta(document, meta);
    pugi::xml_node root = document.child("root");
    pugi::xml_node parameters = root.append_child("parameters");
    for (const auto& [name, value] : {std::pair{"altitude", "-11"}, std::pair{"airport_name", "Schiphol"}}) {
        pugi::xml_node parameter = parameters.append_child("parameter");
        parameter.append_attribute("name") = name;
        parameter.append_attribute("value") = value;
    }
    const std::string stands =
        R"(<parkpositions>
             <parkpos id="A1" latitude="52.3086" longitude="4.7639" radius="20" type="9"/>
             <parkpos id="A2" latitude="52.30886949" longitude="4.7639" radius="20" type="9">
               <opt reg="PH-BXA" airl="KLM" type="B738" cs="KLM1" day="3" hh="20"/>
             </parkpos>
           </parkpositions>)";
    root.append_buffer(stands.data(), stands.size());
    std::ostringstream text;
    document.save(text);
    return text.str();
}

std::string messageLine() {
    auto& window = mrw::g_mainWindow();
    std::lock_guard lock(window.messageMutex);
    return window.message;
}

// The user aircraft at the position, `nmNorth` nautical miles north of EHAM, for the engine's copy
// and as received.
void userAt(double nmNorth, bool onGround, double aboveGroundFt) {
    mrw::UserAcData user;
    user.latitude = kEhamLat + nmNorth / 60.0;
    user.longitude = kEhamLon;
    user.altitudeAboveGroundFt = aboveGroundFt;
    mrw::g_userAcData = user;
    mrw::gf_setUserAcDataRecv(user);
    mrw::g_userOnGround = onGround;
}

class ParkAirportPassTest : public ParkingTest {
  protected:
    void SetUp() override {
        emptyProcessDataDirectory();
        ParkingTest::SetUp();
        arrange();
    }

    // EHAM with its file and EHLE in the airports database; the user data received.
    static void arrange() {
        for (const char* name :
             {"airports/my_thirdparty", "airports/my_simaddon", "airports/learned/thirdparty"})
            std::filesystem::create_directories(name);
        writeFile("airports/my_thirdparty/EHAM.xml", ehamFile());
        addAirport("EHAM", kEhamLat, kEhamLon);
        addAirport("EHLE", kEhleLat, kEhleLon);
        mrw::g_userDataReceived = true;
        mrw::g_parameters().RANDOM.current = false;
        mrw::g_parameters().AIRP_RANGE.current = 20;
        mrw::g_parameters().AIRP_HEIGHT.current = 18000;
        setNow(3, 20);
    }

    // On the ground at A1: the initial pass chooses EHAM, the next reads its file and calculates.
    void parkAtEham() {
        userAt(0, true, 0);
        mrw::lf_checkParkAirport(true);
        mrw::lf_checkParkAirport(false);
        ASSERT_TRUE(mrw::g_parkFileLoaded.load());
    }
};

TEST_F(ParkAirportPassTest, OnTheGroundTheAirportIsChosenThenItsFileReadAndCalculated) {
    userAt(0, true, 0);
    mrw::lf_checkParkAirport(true);
    EXPECT_EQ(mrw::g_parkAirport.code, mrw::FixedCode<4>("EHAM"));
    EXPECT_TRUE(mrw::g_readParkFilePending);
    EXPECT_TRUE(mrw::TrafficReader::collectCallsigns.load());
    EXPECT_EQ(messageLine(), "Calculating static parked aircraft ...");
    EXPECT_NE(log().find("User aircraft on the ground at EHAM"), std::string::npos);
    auto published = mrw::TrafficReader::parkAirport.load();
    ASSERT_TRUE(published);
    EXPECT_DOUBLE_EQ(published->position.latitude, kEhamLat);

    mrw::lf_checkParkAirport(false);
    EXPECT_TRUE(mrw::g_parkFileLoaded.load());
    EXPECT_FALSE(mrw::TrafficReader::collectCallsigns.load());
    EXPECT_EQ(mrw::g_userStandName.get(), "A1");
    EXPECT_NE(readFile(mrw::g_myParkAirportsFile).find("EHAM,A1"), std::string::npos);
    ASSERT_EQ(mrw::g_parkingPlan.size(), 1u);
    EXPECT_EQ(mrw::g_parkingPlan[0].optionCallsign, "KLM1");
    EXPECT_EQ(mrw::g_parkingCountdown, 20);
    published = mrw::TrafficReader::parkAirport.load();
    ASSERT_TRUE(published);
    EXPECT_DOUBLE_EQ(published->elevationFt, -11.0);
}

// In the air a listed airport is chosen when it lies within AIRP_RANGE and the user below
// AIRP_HEIGHT above the ground.
TEST_F(ParkAirportPassTest, InTheAirTheFirstListedAirportInSightIsChosen) {
    struct Case {
        double nmNorth;
        double aboveGroundFt;
        bool chosen;
    };
    for (const Case c : {Case{-15, 3000, true}, Case{-25, 3000, false}, Case{-15, 19000, false}}) {
        resetParkingState();
        arrange();
        gf_addParkAirport(mrw::FixedCode<4>("EHAM"), {kEhamLat, kEhamLon});
        userAt(c.nmNorth, false, c.aboveGroundFt);
        mrw::lf_checkParkAirport(true);
        EXPECT_EQ(!mrw::g_parkAirport.code.empty(), c.chosen)
            << c.nmNorth << " nm, " << c.aboveGroundFt << " ft";
        EXPECT_EQ(mrw::g_readParkFilePending, c.chosen);
        if (c.chosen) {
            EXPECT_EQ(messageLine(), "EHAM in sight at 15.0 nm");
        }
    }
}

// Climbing out of AIRP_HEIGHT over the park airport removes its parking and the live aircraft on
// the ground; descending again within range takes the airport again at the next pass.
TEST_F(ParkAirportPassTest, LeavingTheAirportClearsItsParkingAndStandNumbers) {
    parkAtEham();
    addStatic(2, "KLM1*", "KLM1", "PH-BXA");
    addLive(20001, "TAXI1", FlightPhase::Taxi, 2).standCargo = true;
    addLive(20002, "FLY1", FlightPhase::Flying, 1);
    addLive(20003, "LAND1", FlightPhase::Parking, 2);

    userAt(0, false, 19000);
    mrw::lf_checkParkAirport(false);
    EXPECT_NE(log().find("is out of sight (0.0 nm), parked aircraft will be removed"), std::string::npos);
    EXPECT_TRUE(mrw::g_parkAirport.code.empty());
    EXPECT_FALSE(mrw::TrafficReader::parkAirport.load());
    EXPECT_FALSE(mrw::g_parkFileLoaded.load());
    EXPECT_TRUE(mrw::g_parkStands.empty());
    EXPECT_EQ(mrw::g_staticAcs[0].simState, SimState::RemovingFromSim);
    EXPECT_EQ(mrw::g_liveAcs[0].simState, SimState::RemovingFromSim);
    EXPECT_EQ(mrw::g_liveAcs[1].simState, SimState::Active);
    EXPECT_EQ(mrw::g_liveAcs[2].simState, SimState::Active);
    for (const mrw::LiveAc& ac : mrw::g_liveAcs) {
        EXPECT_EQ(ac.standNumber, 0) << ac.callsign;
        EXPECT_FALSE(ac.standCargo) << ac.callsign;
    }

    userAt(-5, false, 3000);
    mrw::lf_checkParkAirport(false);
    EXPECT_EQ(mrw::g_parkAirport.code, mrw::FixedCode<4>("EHAM"));
}

// A nearer listed airport in sight ends the parking here first; on the ground the park airport is
// never left, however far the user taxies.
TEST_F(ParkAirportPassTest, ANearerListedAirportEndsTheParkingButTaxiingAwayNeverDoes) {
    parkAtEham();
    userAt(8, true, 0);
    mrw::lf_checkParkAirport(false);
    EXPECT_EQ(mrw::g_parkAirport.code, mrw::FixedCode<4>("EHAM"));

    gf_addParkAirport(mrw::FixedCode<4>("EHLE"), {kEhleLat, kEhleLon});
    // 17 nm from EHAM, 12 nm from EHLE.
    mrw::UserAcData user;
    user.latitude = kEhamLat + 0.6 * (kEhleLat - kEhamLat);
    user.longitude = kEhamLon + 0.6 * (kEhleLon - kEhamLon);
    user.altitudeAboveGroundFt = 2000;
    mrw::g_userAcData = user;
    mrw::g_userOnGround = false;
    mrw::lf_checkParkAirport(false);
    EXPECT_NE(log().find("EHLE is in sight ("), std::string::npos);
    EXPECT_NE(log().find("parked aircraft at EHAM"), std::string::npos);
    EXPECT_TRUE(mrw::g_parkAirport.code.empty());
    mrw::lf_checkParkAirport(false);
    EXPECT_EQ(mrw::g_parkAirport.code, mrw::FixedCode<4>("EHLE"));
}

// The destination leads the list whatever its distance: in sight but farther than the park airport
// it leaves the park airport alone, nearer it ends the parking there.
TEST_F(ParkAirportPassTest, AFartherListedAirportInSightKeepsTheParkAirport) {
    parkAtEham();
    mrw::g_parameters().DESTINATION.current.set("EHLE");
    gf_addParkAirport(mrw::FixedCode<4>("EHLE"), {kEhleLat, kEhleLon});
    const auto flyAt = [](double fractionToEhle) {
        mrw::UserAcData user;
        user.latitude = kEhamLat + fractionToEhle * (kEhleLat - kEhamLat);
        user.longitude = kEhamLon + fractionToEhle * (kEhleLon - kEhamLon);
        user.altitudeAboveGroundFt = 2000;
        mrw::g_userAcData = user;
        mrw::g_userOnGround = false;
    };
    flyAt(0.4);  // 12 nm from EHAM, 17 nm from EHLE: both in sight
    mrw::lf_checkParkAirport(false);
    EXPECT_EQ(mrw::g_parkAirport.code, mrw::FixedCode<4>("EHAM"));
    EXPECT_EQ(log().find("EHLE is in sight ("), std::string::npos);

    flyAt(0.6);
    mrw::lf_checkParkAirport(false);
    EXPECT_NE(log().find("EHLE is in sight ("), std::string::npos);
    EXPECT_TRUE(mrw::g_parkAirport.code.empty());
}

// On the ground at a known airport without an airport file nothing is chosen, and the message says
// why.
TEST_F(ParkAirportPassTest, OnTheGroundAtAnAirportWithoutAFileNothingIsChosen) {
    mrw::UserAcData user;
    user.latitude = kEhleLat;
    user.longitude = kEhleLon;
    mrw::g_userAcData = user;
    mrw::gf_setUserAcDataRecv(user);
    mrw::g_userOnGround = true;
    mrw::lf_checkParkAirport(true);
    EXPECT_TRUE(mrw::g_parkAirport.code.empty());
    EXPECT_FALSE(mrw::g_readParkFilePending);
    EXPECT_EQ(messageLine(), "User aircraft on the ground at EHLE, no airport file found");
    EXPECT_NE(log().find("User aircraft on the ground at EHLE, no airport file found\n"), std::string::npos);
}

// A chosen airport whose file has gone is forgotten with the error on the message line.
TEST_F(ParkAirportPassTest, AMissingFileForgetsTheAirport) {
    userAt(0, true, 0);
    mrw::lf_checkParkAirport(true);
    std::filesystem::remove("airports/my_thirdparty/EHAM.xml");
    mrw::lf_checkParkAirport(false);
    EXPECT_TRUE(mrw::g_parkAirport.code.empty());
    EXPECT_FALSE(mrw::TrafficReader::parkAirport.load());
    EXPECT_NE(log().find("lf_readParkedFile EHAM not found"), std::string::npos);
    EXPECT_FALSE(mrw::g_parkingUpdateRunning.load());
}

}  // namespace
}  // namespace mrwtest
