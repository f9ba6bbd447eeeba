#pragma once
// The extra exports of our simulated simulator built as SimConnect.dll: controls that only tests
// and the demo use (the program calls the SimConnect_* functions alone). Plain C, so that a test
// program finds them with GetProcAddress as the program finds the SimConnect functions.

#include "platform/windows_types.h"

#pragma pack(push, 8)
struct SimWorldObjectInfo {
    DWORD id;
    DWORD kind;  // 0 the user aircraft, 1 an AI object, 2 another client's object
    double latitudeDeg;
    double longitudeDeg;
    double altitudeFeet;
    double headingDeg;
    double groundSpeedKnots;
    BOOL onGround;
    char title[256];
    char atcId[32];
};
#pragma pack(pop)

extern "C" {

// A fresh world with no simulator running; then the simulator starts, or quits.
void SimWorld_Reset();
void SimWorld_StartSimulator();
void SimWorld_QuitSimulator();
// Time: whole frames within `seconds`, or a thread stepping in real time.
void SimWorld_Step(double seconds);
void SimWorld_StartFreeRunning();
void SimWorld_StopFreeRunning();
// The user aircraft on the ground there.
void SimWorld_PlaceUser(double latitudeDeg, double longitudeDeg, double headingDeg);
// The user aircraft; the objects in id order (false past the last).
void SimWorld_User(SimWorldObjectInfo* info);
DWORD SimWorld_ObjectCount();
BOOL SimWorld_ObjectAt(DWORD index, SimWorldObjectInfo* info);

}  // extern "C"
