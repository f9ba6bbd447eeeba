#pragma once
// The matching summary: a block of Log.txt with the accepted live livery matches per matching step
// and the model-and-airline texts of the liveries the simulator refused to create.

namespace mrw {

// Writes nothing while every step counter is 0. Main worker only.
void gf_logMatchingSummary();

}  // namespace mrw
