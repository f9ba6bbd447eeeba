#include "traffic/feed/exclusive_port_refusal.h"

#include "platform/winsock/winsock.h"

namespace mrwtest {

const int kPortHeldError = WSAEACCES;

}  // namespace mrwtest
