#pragma once
// The platform's own calls behind the system layer's seams: each platform's folder
// (system/linux/, windows/system/) implements them; the seams in system/ decide when to call them.

#include <filesystem>
#include <string_view>

namespace platform::native {

bool isProcessElevated();
// A result in the manner of ShellExecute: above 32 is success.
int openFolder(const std::filesystem::path& folder);
// The warning with an OK button and no owner; returns the button pressed.
int showWarningMessageBox(std::string_view text, std::string_view caption);
unsigned beginTimerPeriod(unsigned milliseconds);
unsigned endTimerPeriod(unsigned milliseconds);
// Creates `<folder>/.write_test.tmp` so that it goes away when closed, writes one zero byte, closes.
bool tryWriteInFolder(const std::filesystem::path& folder);

}  // namespace platform::native
