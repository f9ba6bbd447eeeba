#pragma once

namespace mrwtest {

// The main-window object as its constructor leaves it: no message, empty texts, zero counters,
// no park airport, the lamps' states of a program that has not connected yet. The window handle and
// the brushes stay.
void resetMainWindowState();

}  // namespace mrwtest
