#pragma once
// How the platform refuses a second socket on a port that one of our sockets holds: one file per
// platform (exclusive_port_refusal_posix.cpp, exclusive_port_refusal_windows.cpp).

namespace mrwtest {

// The error of the second socket's bind: Linux refuses a port in use as such; Windows refuses a
// port held with SO_EXCLUSIVEADDRUSE as permission denied.
extern const int kPortHeldError;

}  // namespace mrwtest
