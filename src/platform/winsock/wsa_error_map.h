#pragma once
// errno to Winsock error codes.

namespace platform {

// The WSA code of a POSIX errno value; a value without a Winsock counterpart passes through unchanged.
// ETIMEDOUT (which our receive calls also report for an expired receive time-out) gives 10060.
int wsaErrorFromErrno(int error);

}  // namespace platform
