#include "traffic/run/run_end.h"

#include <fmt/format.h>

#include "app/message_line.h"

namespace mrw {

void lf_switchSimVersion() {
    gf_stopWithReason(ExitReason::NewSettings, 3);
}

void gf_simDisconnected(bool switchVersion) {
    if (switchVersion)
        lf_switchSimVersion();
    else
        gf_stopWithReason(ExitReason::SimWasClosed, 0);
}

void gf_readerStopped(std::string_view readerName, std::string_view errorText) {
    gf_setMessage(fmt::format("The {} has stopped with error: {}", readerName, errorText), true);
    gf_stopWithReason(ExitReason::ReaderError, 15);
}

}  // namespace mrw
