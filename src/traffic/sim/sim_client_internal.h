#pragma once
// The client thread's parts the tests reach.

#include <exception>

#include "platform/simconnect/simconnect.h"

namespace mrw {

// Reserves the user's stand, clears MainWindow::simConnected and zeroes g_simConnect when it still
// holds this thread's own handle. The handle itself is closed afterwards by its SimConnectHandle.
void lf_simClientExit(HANDLE ownHandle);

// What the thread does with an exception that ended its connection: UserErrorException 2024 switches
// the simulator version, any other UserErrorException becomes the sticky error; any other exception
// becomes the sticky error and ends the run as SIM WAS CLOSED. The disconnect (g_simRunning cleared,
// gf_simDisconnected) runs at most once per `disconnected` flag.
void gf_handleClientException(std::exception_ptr exception, bool& disconnected);

}  // namespace mrw
