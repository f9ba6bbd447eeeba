// The stand the user aircraft stands on: shown in the window with every user record, and kept free
// at the park airport when a new flight is loaded or the client ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <string>

#include "foundation/file_names.h"
#include "foundation/run_state.h"
#include "foundation/window_model.h"
#include "support/test_support.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/parking/parking_test_support.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/sim_client_internal.h"
#include "traffic/sim/sim_dispatch_test_support.h"

namespace mrw {
namespace {

using mrwtest::RawRecord;

constexpr Lalo kStandA1{52.3000, 4.7600};
constexpr Lalo kStandB2{52.3010, 4.7600};  // about 110 m north of A1
constexpr Lalo kApron{52.3100, 4.7600};    // more than 55 m from every stand

UserAcData userAt(const Lalo& at, double groundVelocityKt = 0.0) {
    UserAcData data;
    data.latitude = at.latitude;
    data.longitude = at.longitude;
    data.groundVelocityKt = groundVelocityKt;
    return data;
}

class UserStandTest : public mrwtest::SimDispatchTest {
  protected:
    void SetUp() override {
        mrwtest::SimDispatchTest::SetUp();
        mrwtest::resetParkingState();
        std::filesystem::create_directories(g_airportsFolder);
        mrwtest::setParkStands({mrwtest::makeStand("A1", kStandA1.latitude, kStandA1.longitude),
                                mrwtest::makeStand("B2", kStandB2.latitude, kStandB2.longitude)});
        g_parkAirport.code = FixedCode<4>("EHAM");
        g_userOnGround = true;
    }
    void TearDown() override {
        mrwtest::resetParkingState();
        mrwtest::SimDispatchTest::TearDown();
    }

    void receiveUser(const Lalo& at) {
        inject(
            RawRecord::objectData(SIMCONNECT_RECV_ID_SIMOBJECT_DATA, 109, 1, RawRecord::bytesOf(userAt(at))));
        dispatch();
    }
    static void listParkAirport(const char* code, const char* reservedStand) {
        std::lock_guard lock(g_parkAirportsMutex);
        ParkAirportEntry entry;
        entry.code = FixedCode<4>(code);
        entry.reservedStand = reservedStand;
        g_parkAirports.push_back(entry);
    }
    enum class Trigger { FlightLoaded, FlightFile, ClientEnds };
    void fire(Trigger trigger) {
        if (trigger == Trigger::ClientEnds) {
            lf_simClientExit(nullptr);
            return;
        }
        if (trigger == Trigger::FlightLoaded) {
            SIMCONNECT_RECV_EVENT event{};
            event.uEventID = 205;
            inject(event, SIMCONNECT_RECV_ID_EVENT);
        } else {
            inject(SIMCONNECT_RECV_EVENT_FILENAME{}, SIMCONNECT_RECV_ID_EVENT_FILENAME);
        }
        dispatch();
    }
    static std::string frontReservedStand() {
        std::lock_guard lock(g_parkAirportsMutex);
        return g_parkAirports.front().reservedStand;
    }
};

TEST_F(UserStandTest, TheWindowShowsTheStandOfEveryUserRecord) {
    receiveUser(kStandA1);
    EXPECT_EQ(g_mainWindow().userStandText.get(), "A1");
    receiveUser(kStandB2);
    EXPECT_EQ(g_mainWindow().userStandText.get(), "B2");
    EXPECT_EQ(g_userStandShown, "B2");
    receiveUser(kApron);
    EXPECT_TRUE(g_mainWindow().userStandText.empty());
    EXPECT_TRUE(g_userStandShown.empty());

    // In the air no stand is named, wherever the aircraft is.
    g_userOnGround = false;
    receiveUser(kStandA1);
    EXPECT_TRUE(g_mainWindow().userStandText.empty());
}

TEST_F(UserStandTest, TheStandIsReservedOnlyWhenParkedOnItAtTheParkAirport) {
    struct Case {
        const char* name;
        bool dataReceived;
        double groundVelocityKt;
        Lalo position;
        const char* frontCode;
        const char* frontStand;
        const char* expectedStand;
        const char* expectedFile;  // empty: no file written
    };
    const Case cases[] = {
        {"parked on A1", true, 1.5, kStandA1, "EHAM", "", "A1", "EHAM,A1\n"},
        {"exactly 2 kt", true, 2.0, kStandA1, "EHAM", "D4", "A1", "EHAM,A1\n"},
        {"rolling", true, 2.5, kStandA1, "EHAM", "", "", ""},
        {"no on-ground answer yet", false, 0.0, kStandA1, "EHAM", "", "", ""},
        {"off every stand", true, 0.0, kApron, "EHAM", "", "", ""},
        {"another airport first in the list", true, 0.0, kStandA1, "LFPG", "", "", ""},
        {"already reserved", true, 0.0, kStandA1, "EHAM", "A1", "A1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(g_myParkAirportsFile);
        {
            std::lock_guard lock(g_parkAirportsMutex);
            g_parkAirports.clear();
        }
        listParkAirport(c.frontCode, c.frontStand);
        g_userDataReceived = c.dataReceived;
        gf_setUserAcDataRecv(userAt(c.position, c.groundVelocityKt));
        g_userAcData = userAt(kApron, 0.0);  // the main worker's older copy is not what counts

        gf_reserveUserStand();

        EXPECT_EQ(frontReservedStand(),
                  std::string(c.expectedStand).empty() ? c.frontStand : c.expectedStand);
        if (std::string(c.expectedFile).empty())
            EXPECT_FALSE(std::filesystem::exists(g_myParkAirportsFile));
        else
            EXPECT_EQ(mrwtest::readFile(g_myParkAirportsFile), c.expectedFile);
    }
}

TEST_F(UserStandTest, ANewFlightAndTheClientsEndReserveTheStand) {
    struct Case {
        const char* name;
        Trigger trigger;
        ExitReason reason;
    };
    const Case cases[] = {
        {"flight loaded", Trigger::FlightLoaded, ExitReason::NewFlight},
        {"new flight file", Trigger::FlightFile, ExitReason::NewFlight},
        {"client ends", Trigger::ClientEnds, ExitReason::NotYetSet},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            std::lock_guard lock(g_parkAirportsMutex);
            g_parkAirports.clear();
        }
        listParkAirport("EHAM", "");
        g_exitReason = ExitReason::NotYetSet;
        g_stopRequested = false;
        g_userDataReceived = true;
        gf_setUserAcDataRecv(userAt(kStandB2, 0.4));

        fire(c.trigger);

        EXPECT_EQ(frontReservedStand(), "B2");
        EXPECT_EQ(mrwtest::readFile(g_myParkAirportsFile), "EHAM,B2\n");
        EXPECT_EQ(g_exitReason.load(), c.reason);
    }
}

}  // namespace
}  // namespace mrw
