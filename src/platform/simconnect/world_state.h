#pragma once
// The inside of the simulated simulator, shared by the SimConnect calls, the frame logic and the
// scripting API. Everything here is guarded by World::mutex.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/simconnect/sim_record.h"
#include "platform/simconnect/sim_variables.h"
#include "platform/simconnect/sim_world.h"

namespace standin {

struct DataRequest {
    DWORD requestId = 0;
    DWORD defineId = 0;
    DWORD objectId = 0;
    DWORD sendId = 0;
};

struct TypeRequest {
    DWORD requestId = 0;
    DWORD defineId = 0;
    DWORD radiusMeters = 0;
    bool userOnly = false;
};

struct FacilityRequest {
    DWORD defineId = 0;
    DWORD requestId = 0;
    std::string icao;
    DWORD sendId = 0;
};

struct Connection {
    DWORD id = 0;
    std::string name;
    bool open = true;
    bool quit = false;  // the simulator quit: only CallDispatch and Close still work
    DWORD lastPacketId = 0;
    std::deque<SimRecord> waiting;
    std::map<std::string, DWORD> subscriptions;  // upper-case system event name -> client event id
    std::map<DWORD, std::vector<Datum>> definitions;
    std::map<DWORD, std::string> mappedEvents;  // client event id -> simulator event name
    std::map<DWORD, std::set<DWORD>> groups;
    std::map<DWORD, DWORD> groupPriorities;
    std::vector<DataRequest> once;
    std::vector<DataRequest> everySecond;
    std::vector<TypeRequest> byType;
    std::map<DWORD, std::vector<std::string>> facilityDefinitions;
    std::vector<FacilityRequest> facilityRequests;
    std::deque<JournalEntry> journal;
    std::uint64_t dispatchCount = 0;  // SimConnect_CallDispatch calls that reached this connection

    // Keeps the newest calls only: a long free run would otherwise fill the memory with position updates.
    void journalCall(JournalEntry entry) {
        constexpr std::size_t kJournalLimit = 50000;
        if (journal.size() == kJournalLimit) journal.pop_front();
        journal.push_back(std::move(entry));
    }
};

// The great-circle distance between two positions in degrees.
double gf_distanceMeters(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg);

// How far from an airport's reference point its elevation is the ground's.
inline constexpr double kAirportGroundNm = 5.0;

struct PendingCreation {
    DWORD connectionId = 0;
    DWORD sendId = 0;
    std::string title;
    std::string tailNumber;
    SIMCONNECT_DATA_INITPOSITION position{};
    std::uint64_t dueFrame = 0;
};

// A created object's tail number, shown as its ATC ID from the due frame on.
struct PendingTailNumber {
    DWORD objectId = 0;
    std::string tailNumber;
    std::uint64_t dueFrame = 0;
};

struct PendingRemoval {
    DWORD connectionId = 0;
    DWORD sendId = 0;
    DWORD objectId = 0;
    std::uint64_t dueFrame = 0;
};

class World {
  public:
    World() { reset({}); }

    std::mutex mutex;
    std::condition_variable stepped;  // notified after every step
    std::uint64_t stepCount = 0;

    SimWorldConfig config;
    bool simulatorRunning = false;
    bool flightRunning = true;
    double groundFeet = 0.0;
    std::uint64_t frames = 0;
    double pendingSeconds = 0.0;  // stepped time not yet worth a whole frame

    std::vector<std::unique_ptr<Connection>> connections;
    DWORD nextConnectionId = 1;  // never reused, so that handles from before a reset stay invalid
    std::map<DWORD, SimObject> objects;
    DWORD nextObjectId = 0;
    std::vector<PendingCreation> creations;
    std::vector<PendingRemoval> removals;
    std::vector<PendingTailNumber> tailNumbers;
    std::set<std::string> refusedTitles;
    bool refuseFlightPlans = false;
    std::vector<RoutePoint> route;
    std::map<std::string, FacilityAirport> airports;  // by upper-case code
    bool holdFacilities = false;
    DWORD nextFacilityRecordId = 1;
    std::map<std::string, std::deque<HRESULT>> failures;  // scripted results by function name

    // Free running; declared last so that it stops before anything it uses goes.
    std::jthread driver;

    void reset(const SimWorldConfig& newConfig);

    // An open connection that the simulator still serves; null for a closed, quit or unknown handle.
    Connection* usable(HANDLE handle);
    // An open connection, also after the simulator quit.
    Connection* openConnection(HANDLE handle);
    // The result scripted for the next call of the function, or S_OK.
    HRESULT scriptedResult(const std::string& function);

    // The object with that id; 0 is the user. Null when there is none.
    SimObject* findObject(DWORD objectId);
    SimObject& userObject();
    VariableContext variableContext(const SimObject& object) const;
    // The ground model: within kAirportGroundNm of an airport of the world the ground lies at the
    // nearest such airport's elevation, elsewhere at the flat ground's (groundFeet).
    double groundFeetAt(double latitudeDeg, double longitudeDeg) const;
    // An object other than the user is on the ground when its reference point is no higher than its
    // static CG above the ground beneath it.
    void settle(SimObject& object) const;

    void send(Connection& connection, SimRecord record);
    void sendException(Connection& connection, SIMCONNECT_EXCEPTION exception, DWORD sendId, DWORD index);
    // Sends a system event to every connection subscribed to it.
    void broadcastEvent(const std::string& systemEvent, DWORD data);
    void broadcastAddRemove(const std::string& systemEvent, DWORD objectId);
    void broadcastFlightLoaded(const std::string& flightFile, bool asFilename);

    DWORD addObject(SimObject object);
    void removeObject(DWORD objectId);

    void runFrame();
    double seconds() const;

  private:
    Connection* connectionById(DWORD id);
    void followRoute();
    void completeCreations();
    void showTailNumbers();
    void completeRemovals();
    void answerOnce(Connection& connection);
    void answerByType(Connection& connection);
    void answerFacilities(Connection& connection);
    void answerEverySecond(Connection& connection);
    SimRecord objectData(SIMCONNECT_RECV_ID id, const DataRequest& request,
                         const std::vector<Datum>& definition, const SimObject& object, DWORD entry,
                         DWORD outOf);
};

World& gf_world();

}  // namespace standin
