#include "traffic/feed/exclusive_port_refusal.h"

#include "platform/winsock/winsock.h"

namespace mrwtest {

bool isPortHeldError(int error) {
    return error == WSAEADDRINUSE;
}

}  // namespace mrwtest
