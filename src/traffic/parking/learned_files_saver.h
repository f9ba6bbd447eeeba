#pragma once
// Writing the park airport's learned airport file when static parking leaves the airport. Main
// worker only.

namespace mrw {

// Writes the park airport's learned uses, changed stands, manual stands and per-airport settings
// (a handmade file: all its stands) to its learned file under airports/learned, and resets the
// update count. Nothing is written when the airport's stands could not be read completely or its
// publisher gives no folder name.
void lf_saveLearnedFiles();

}  // namespace mrw
