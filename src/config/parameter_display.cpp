#include "config/parameter_display.h"

#include <atomic>

namespace mrw {

namespace {

// Set once by the window floor, read by any thread.
std::atomic<void (*)(const IntComboParameter&)> g_showInt{nullptr};
std::atomic<void (*)(const ControlParameter&)> g_showString{nullptr};

}  // namespace

void gf_setParameterDisplay(ParameterDisplay display) {
    g_showInt = display.showInt;
    g_showString = display.showString;
}

void gf_showIntParameter(const IntComboParameter& parameter) {
    if (auto show = g_showInt.load()) show(parameter);
}

void gf_showStringParameter(const ControlParameter& parameter) {
    if (auto show = g_showString.load()) show(parameter);
}

}  // namespace mrw
