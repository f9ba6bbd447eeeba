#pragma once
// The real main window on the test's thread, which acts as the UI thread: a program folder with an
// open Log.txt, the process's own data directory, the window class and initInstance, pumped by hand.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/win32/standin.h"
#include "platform/win32/win32.h"
#include "support/logged_program_folder.h"

namespace mrwtest {

// What the window's tests share in this process back as a fresh process has it: every setting at
// its default, the main-window object as constructed, an empty data directory (no parameters.xml),
// no run flags, exit reason, airports, park airports or aircraft.
void resetAppState();

// Registers the main window's class ("Merrowvale") once for the test program; true when it is.
bool registerMainWindowClass();

// Each test starts from resetAppState and leaves it behind again.
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The window (created by SetUp unless createWindowInSetUp is false).
    HWND window() const { return m_window; }
    void createWindow();

    // The TextOut items of the window's last paint with exactly this text.
    std::vector<standin::PaintOp> textOuts(std::u16string_view text) const;
    // The one TextOut of the last paint at the point, if any.
    std::optional<standin::PaintOp> textAt(int x, int y) const;
    // Repaints the whole window and pumps until the paint is done.
    void repaint();

    bool createWindowInSetUp = true;
    std::optional<LoggedProgramFolder> folder;

  private:
    HWND m_window = nullptr;
};

// The primary monitor's work area: the stand-in's default layout, or the screen the test runs on.
RECT primaryWorkArea();

// The saved value of an int setting in parameters.xml, if any.
std::optional<std::int32_t> savedInt(const std::string& name);
// The saved value of a text setting in parameters.xml, if any.
std::optional<std::string> savedText(const std::string& name);
// The saved value of a bool setting in parameters.xml, if any.
std::optional<bool> savedBool(const std::string& name);
// The message line's normal text.
std::string messageLine();
// Writes parameters.xml with these int settings.
void writeSavedInts(const std::vector<std::pair<std::string, std::int32_t>>& settings);

}  // namespace mrwtest
