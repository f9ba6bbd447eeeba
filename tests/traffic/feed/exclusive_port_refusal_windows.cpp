#include "traffic/feed/exclusive_port_refusal.h"

#include "platform/winsock/winsock.h"

namespace mrwtest {

bool isPortHeldError(int error) {
    return error == WSAEACCES || error == WSAEADDRINUSE;
}

}  // namespace mrwtest
