#pragma once
// Finding an aircraft record of the engine's lists. Main worker only; a pointer is valid until the
// list changes.
//
// The simulator's events name their aircraft by object id, a thousand a second with many aircraft
// on the ground, so the live aircraft are found through an index of their object ids: object id ->
// position in g_liveAcs. A live record's object id is set through gf_setLiveObjectId, and a record
// moved to another place (lf_eraseLiveAc) is entered again, so that these cost no pass over the
// list. A position is checked against the record on use: one found stale (records moved or erased
// by other means) rebuilds the index from the list, so the index can be behind, never wrong.
//
// The reports and creations name their aircraft by hexid, several a tick: a second index, hexid ->
// position, is kept through appends (gf_indexAppendedLiveAc) and lf_eraseLiveAc. It is checked in
// the same way, and a list whose length it does not know (records appended or erased by other
// means) rebuilds it before it answers.

#include <cstdint>

#include "traffic/model/aircraft_records.h"

namespace mrw {

// The live aircraft with the hexid (one per hexid), or null.
LiveAc* gf_liveAcOfHexid(std::uint32_t hexid);
// The live aircraft with the simulator object id (not 0), or null.
LiveAc* gf_liveAcOfObject(std::uint32_t objectId);
// The first static aircraft with the number, or null.
StaticAc* gf_staticAcOfNumber(std::uint32_t number);
// The first static aircraft with the simulator object id (not 0), or null.
StaticAc* gf_staticAcOfObject(std::uint32_t objectId);

// Enters the record just appended to g_liveAcs under its hexid.
void gf_indexAppendedLiveAc();
// Before the record of g_liveAcs is erased by moving the last record into its place: the hexid
// index follows (lf_eraseLiveAc).
void gf_indexLiveAcErasure(const LiveAc& erased);
// Sets the objectId of a record of g_liveAcs (0: it has no object now), and the index with it.
void gf_setLiveObjectId(LiveAc& aircraft, std::uint32_t objectId);
// Enters a record of g_liveAcs under its objectId (0: nothing) at the place it was moved to.
void gf_indexLiveObject(const LiveAc& aircraft);
// Forgets every entry of both indexes; with g_liveAcs emptied.
void gf_clearLiveObjectIndex();

}  // namespace mrw
