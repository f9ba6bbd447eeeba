#include "platform/simconnect/dll/sim_world_exports.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "platform/simconnect/sim_world.h"

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

void lf_copyText(char* to, std::size_t size, const std::string& text) {
    const std::size_t length = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(to, text.data(), length);
    to[length] = '\0';
}

void lf_fill(const standin::SimObject& object, SimWorldObjectInfo* info) {
    info->id = object.id;
    info->kind = static_cast<DWORD>(object.kind);
    info->latitudeDeg = object.latitudeDeg;
    info->longitudeDeg = object.longitudeDeg;
    info->altitudeFeet = object.altitudeFeet;
    info->headingDeg = object.headingRad * kDegreesPerRadian;
    info->groundSpeedKnots = object.groundSpeedKnots;
    info->onGround = object.onGround ? TRUE : FALSE;
    lf_copyText(info->title, sizeof info->title, object.title);
    lf_copyText(info->atcId, sizeof info->atcId, object.atcId);
}

}  // namespace

extern "C" {

void SimWorld_Reset() {
    standin::resetWorld();
}
void SimWorld_StartSimulator() {
    standin::startSimulator();
}
void SimWorld_QuitSimulator() {
    standin::quitSimulator();
}
void SimWorld_Step(double seconds) {
    standin::step(seconds);
}
void SimWorld_StartFreeRunning() {
    standin::startFreeRunning();
}
void SimWorld_StopFreeRunning() {
    standin::stopFreeRunning();
}

void SimWorld_PlaceUser(double latitudeDeg, double longitudeDeg, double headingDeg) {
    standin::modifyUser([&](standin::SimObject& user) {
        user.latitudeDeg = latitudeDeg;
        user.longitudeDeg = longitudeDeg;
        user.headingRad = headingDeg / kDegreesPerRadian;
        user.onGround = true;
    });
}

void SimWorld_User(SimWorldObjectInfo* info) {
    if (info != nullptr) lf_fill(standin::user(), info);
}

DWORD SimWorld_ObjectCount() {
    return static_cast<DWORD>(standin::objects().size());
}

BOOL SimWorld_ObjectAt(DWORD index, SimWorldObjectInfo* info) {
    const std::vector<standin::SimObject> objects = standin::objects();
    if (info == nullptr || index >= objects.size()) return FALSE;
    lf_fill(objects[index], info);
    return TRUE;
}

}  // extern "C"
