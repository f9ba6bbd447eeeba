#pragma once
// The records of the aircraft the traffic engine handles, each building on the one before:
// AircraftIdentity (who the aircraft is), AcProfile (plus the performance values of ground and air
// motion), StaticAc (a profile that stands, or is to stand, in the simulator) and LiveAc (a StaticAc
// fed by RealTraffic with a stream of PositionSamples, one per hexid). Plain values with one owner,
// the engine's vectors on the main worker; moved into place, never shared.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "aircraft/ac_profile.h"
#include "airports/stand.h"
#include "foundation/fixed_code.h"
#include "foundation/lalo.h"
#include "foundation/recycling_allocator.h"
#include "traffic/model/air_path.h"
#include "traffic/model/curve_segment.h"
#include "traffic/model/step_track.h"

namespace mrw {

// One received position of a live aircraft.
struct PositionSample {
    double lat = 0.0;  // degrees
    double lon = 0.0;
    double altitudeFt = 0.0;  // corrected; 0 = on the ground
    double groundSpeedKt = 0.0;
    double trackDeg = 0.0;
    double verticalRateFpm = 0.0;
    double trueAirspeedKt = 0.0;
    std::int32_t dueTick = 0;  // engine tick at which the aircraft is to be at this sample
    bool airborne = false;     // altitudeFt > 0
    bool stationary = false;   // same position as the sample before it in the stream
    bool headingFromAdsb = false;
    std::optional<double> rollRad;
    std::optional<double> headingRad;  // true heading
};

// A live aircraft's samples: reports arrive and fall due all the time, so their blocks are recycled
// rather than returned to the heap.
using SampleStream = std::deque<PositionSample, RecyclingAllocator<PositionSample>>;

// A half hour of the week: weekday 1 to 7 and half-hour slot 0 to 47; 0, 0 = none.
struct WeekSlot {
    std::int32_t weekday = 0;
    std::int32_t slot = 0;
    friend bool operator==(const WeekSlot&, const WeekSlot&) = default;
};

// State of a record towards the simulator.
enum class SimState : std::int32_t {
    Buffer = 0,           // "buffer": no simulator object asked for yet
    Adding2Sim = 1,       // "adding2sim": creation queued or sent
    Active = 2,           // "active": created, set up and moved by the engine
    LiveryRespawn = 3,    // "liveryrespawn": being removed to be created again with another livery
    RemovingFromSim = 4,  // "removingfromsim": removal queued; the record goes when it is reported
};

enum class FlightPhase : std::int32_t {
    PushingBack = 0,
    PushedBack = 1,
    Taxi = 2,
    TakeOff = 3,
    Flying = 4,
    Parking = 5,
    Parked = 6,
    Birth = 7,  // record made, no sample handled yet
};

struct StaticAc : AcProfile {
    StaticAc() = default;
    // Takes the profile over (its texts are moved out of the source).
    StaticAc(AcProfile&& profile, std::int32_t standNumber, Lalo standPosition, double standHeadingRad,
             bool standCargo);

    std::uint32_t objectId = 0;  // 0 = not created
    Lalo standPosition;
    double standHeadingRad = 0.0;
    WeekSlot parkedSince;
    std::int32_t standNumber = 0;  // in g_parkStands, 1-based; 0 = none
    SimState simState = SimState::Buffer;
    std::int32_t throttleIndex = 5;  // last throttle index queued, 0 to 4; 5 = none yet
    std::int32_t flapsIndex = 4;     // last flaps index queued, 0 to 4
    bool standCargo = false;         // a parked aircraft on a cargo stand keeps its cabin lights off
    bool removeWhenCreated = false;  // remove the object as soon as its creation is reported
    bool eraseNeverCreated = false;  // erase the record: it never reached the simulator
    bool eraseWithdrawn = false;     // erase the record: its queued creation was withdrawn

    // Aircraft commands (client events queued under g_simConnectMutex; traffic/sim/aircraft_commands).
    // Spoilers extended (16383) or retracted (0); nothing for a rotorcraft.
    void setSpoilers(bool extended) const;
    // Gear down (1) or up (0); nothing for a rotorcraft.
    void setGear(bool down) const;
    // Throttle index 0 to 4 (0, 30, 50, 70, 100 percent); nothing when unchanged; any other index
    // sends nothing. The index is stored.
    void setThrottle(std::int32_t index);
    // Just come to rest at its stand: throttle 0, flaps 0, engines off, parked lights.
    void setUpParked();

    // Engine: removal. Takes the aircraft out of the simulator by its state: a buffered record is
    // marked to be erased, a queued creation withdrawn, an object queued for removal.
    void removeAircraftFromSim();
};

// The data of definition 402 (AiPosition) in its order: the values of the last position update.
struct SimPosition {
    double lat = 0.0;  // degrees
    double lon = 0.0;
    double pitch = 0.0;    // radians, negative = nose up
    double bank = 0.0;     // radians
    double heading = 0.0;  // radians, true
    double altitudeFt = 0.0;
    double verticalSpeedFps = 0.0;
    double trueAirspeedKt = 0.0;
};
static_assert(sizeof(SimPosition) == 64);

struct TrafficReport;

struct LiveAc : StaticAc {
    LiveAc() = default;
    // Takes the profile over; the stream holds exactly the first sample.
    LiveAc(const PositionSample& firstSample, AcProfile&& profile, double reportTime);

    // What every tick reads and writes, kept together after the position: the tick walks a
    // thousand records, and a record's fields scattered over all its lines keep the walk waiting for
    // memory. The rest follows, touched only when a sample falls due or an event arrives.
    SimPosition simPosition;
    SampleStream samples;  // oldest first; the front is the target
    FlightPhase phase = FlightPhase::Birth;
    std::int32_t flareStage = 0;
    std::int32_t rotationCounter = 1;
    bool onGroundInSim = false;
    bool approaching = false;
    bool derotating = false;
    bool turnInPlace = false;
    double latStep = 0.0;  // degrees per tick at the leg's even pace: its direction; 0 while it stands
    double lonStep = 0.0;
    StepTrack stepTrack;     // the direction of that step (gf_stepTrackRad)
    double pitchStep = 0.0;  // radians per tick
    double bankStep = 0.0;
    double headingRate = 0.0;  // radians per tick, in the air
    double altStep = 0.0;      // feet per tick
    // In the air, where the leg's altitude step ends (its sample's altitude); none on other legs.
    std::optional<double> altStopFt;
    double crabRad = 0.0;  // the nose's angle off its way in the air now (into the wind)
    double targetHeading = 0.0;
    double heightAboveGround = 2500.0;
    double curveT = 0.0;
    double curveStep = 0.0;  // set every tick from stepNowM
    // The speed flown, as the metres moved per tick: each tick it moves towards what reaches the leg's
    // sample on time, by no more than the category may change it. -1 until the first leg sets it.
    double stepNowM = -1.0;
    double legLeftM = 0.0;         // metres of the leg's way still to go
    double legFastestStepM = 0.0;  // the leg's catch-up limit (and the turns' flyable pace), per tick
    double legEndStepM = 0.0;      // the step to be slowed down to at the leg's sample
    double latPerM = 0.0;          // degrees per metre of a straight step towards the sample
    double lonPerM = 0.0;
    bool turningOnSpot = false;  // the way lay too far off the nose in the last tick: it brakes
    CurveSegment curve;
    AirPath airPath;  // the way flown in the air on the current leg

    double lastReportTime = 0.0;  // RealTraffic timestamp of the newest sample taken
    Lalo clearCheckPosition;
    std::int64_t parkedAt = 0;  // wall-clock time stamp in 100 ns units at which it parked

    // Motion state, first group.
    std::int32_t streamEndState = 0;  // 0 fed; n > 0 extrapolated samples left; -1 expired
    std::int32_t holdStartTick = 0;

    FlightPhase previousPhase = FlightPhase::Birth;
    bool parkedTimeExempt = false;
    bool hasFlightPlan = false;
    bool firstSampleSkipped = false;

    // Motion state, second group.
    bool holding = false;
    double targetVsFpm = 0.0;
    double speedKt = 0.0;  // sent as true airspeed; negative while pushing back
    double curveAngleDeg = 0.0;
    PositionSample pushbackOtherEnd;
    Lalo lastParkTryPosition;
    std::int32_t earlyLimit = 1000;
    std::int32_t lateLimit = 1000;
    std::int32_t pushbackCounter = 0;  // 2 pushback built, 1 curve started, 0 none
    std::int32_t moveCount = 0;
    double heightAboveField = 0.0;
    double touchdownHeading = 0.0;
    double pushbackLastDistance = 0.0;
    double standStartDistance = 0.0;
    double standMaxDistance = 0.0;
    double turnInPlaceDeg = 0.0;
    std::optional<double> respawnHeading;
    bool pushbackTurnsRight = false;
    bool pushbackTurnKnown = false;
    std::optional<double> fieldElevation;
    bool landed = false;
    bool quickTurnaround = false;
    bool goAroundDone = false;
    bool takeOffRoll = false;
    bool cruiseConfigured = false;
    bool lowConfigured = false;
    bool landingRoll = false;
    bool leavingStand = false;

    // Engine: intake, spawn, identity changes.
    void decideSpawn();
    bool spawnBlocked();
    void prepareCreatePosition();
    void parkAfterCreation();
    void setAiFlightPlan();
    bool respawnOnChange(const TrafficReport& report);
    void mergeIdentity(const TrafficReport& report);
    bool updateRoute(const TrafficReport& report);
    bool updateRegistration(const TrafficReport& report);
    bool checkRegistrationLivery(const TrafficReport& report);
    void resetLivery();
    void removeStaticInWay();
    // Its object gone for a new livery, the record waits in the buffer to be created anew.
    void returnToBuffer();
    // Stores the old phase in previousPhase when the phase really changes.
    void setPhase(FlightPhase newPhase);

    // Motion: sample stream, ground and air motion, stream end.
    // The limits a stream that is fed again starts with.
    void resetTimingLimits();
    // earlyLimit and lateLimit each drop by 100 towards 1000.
    void relaxTimingLimits();
    // Ticks of the leg to the sample after the front: its due tick minus now, at least 25.
    std::int32_t legTicks() const;

    // Sample stream and per-tick stepping.
    void nextPosMain();
    void advanceToNextSample();
    void stepTick();
    double headingErrorToNext() const;
    void decodeExisting(PositionSample& sample);

    // Ground motion.
    void nextPosGround();
    void stepGround();
    void startPushback();
    void startPullOut();
    void buildCurve();
    void insertMidSample();
    void splitOnSpeedChange();
    void timeGroundLeg();
    void setNextDue(std::int32_t ticks);
    double groundSpeedKt() const;
    void startTakeOffRoll();
    void drive2Stand(Lalo standLalo, double standHeading);
    void arriveAtStand();
    void updateStandCargoFlag();

    // Air motion.
    void stepAir();
    void stepAirborne();
    void configureLowAltitude();
    void configureApproach();
    double setTouchdownRate();
    void setClimbStep();
    bool skipToAirborneSample(std::size_t k);
    void setBankStep(double headingError, double ticks);
    // In the air: the turn rate and bank step that steer onto targetHeading (every tick).
    void steerInAir();
    void startTakeOff();
    bool reachesLiftOffSpeed() const;
    bool checkNewPosDuringLanding(PositionSample& sample);

    // Livery respawn and the user-path test (kind 0: active aircraft, 1: before a spawn).
    void liveryRespawn();
    bool removeIfInUserPath(int kind);

    // Stream end and new samples on the ground.
    bool onStreamEnd();
    void extrapolateSample(std::int32_t count);
    bool checkExtendingSituations(PositionSample& sample);
    bool acceptGroundSample(PositionSample& sample);
    void prepareDeparture(PositionSample& sample);

    // Stand choice. A taxiing aircraft (wide: after a landing) is given the nearest fitting stand and
    // driven onto it; an aircraft born on the ground gets a copy of its stand, or none.
    void try2Park(bool wide);
    std::optional<Stand> standForGroundBirth();
};

// A new profile from a copy of the identity, with the per-category values of its model.
AcProfile gf_makeAcProfile(const AircraftIdentity& identity);

// Names for the log (gf_categoryName: aircraft/ac_category.h); a value without a name throws
// std::out_of_range.
std::string_view gf_phaseName(FlightPhase phase);
std::string_view gf_simStateName(SimState state);

}  // namespace mrw
