// Dies of an unhandled access violation: the Windows test run must count such a program as failed
// (Wine's wine exits with 0 after its debugger has ended a crashed program).
#include <cstdio>

int main() {
    std::puts("about to crash");
    std::fflush(stdout);
    volatile int* nowhere = nullptr;
    return *nowhere;
}
