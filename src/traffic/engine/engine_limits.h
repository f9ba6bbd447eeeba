#pragma once
// The removal of the farthest live aircraft that keeps the count within its limit, and
// ObjectIdList.txt. Main worker only.

namespace mrw {

// Removes one active live aircraft beyond d + 0.1 nm from the user, the farthest for d < 0; true
// when none was removed.
bool gf_removeFarthestLiveAc(double distanceNm);
// Writes output/info/ObjectIdList.txt: one line per active live aircraft.
void lf_writeObjectIdList();

}  // namespace mrw
