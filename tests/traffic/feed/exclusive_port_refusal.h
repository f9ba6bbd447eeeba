#pragma once
// How the platform refuses a second socket on a port that one of our sockets holds: one file per
// platform (exclusive_port_refusal_posix.cpp, exclusive_port_refusal_windows.cpp).

namespace mrwtest {

// The error is the platform's refusal of a port in use: Linux's "in use"; on Windows also
// "permission denied", as a port held with SO_EXCLUSIVEADDRUSE is refused (Wine gives either).
bool isPortHeldError(int error);

}  // namespace mrwtest
