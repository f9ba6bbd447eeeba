#pragma once
// The common set-up of the run tests: a program folder with Log.txt, a data directory of the test
// process's own, a manual steady clock, every setting and run flag at its start value, and a
// stand-in main window that records the run end's WM_APP_START_RUN and WM_APP_QUIT.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/clock.h"
#include "platform/win32/win32_types.h"
#include "support/logged_program_folder.h"

namespace mrwtest {

class RunTest : public ::testing::Test {
  protected:
    RunTest();
    ~RunTest() override;

    // The private messages the run end posted to the main window, in order (pumps the queue first).
    std::vector<UINT> postedRunMessages();
    std::string log() const { return m_folder.logText(); }
    static std::string messageLine();
    static std::string errorLine();

    LoggedProgramFolder m_folder;
    mrw::SteadyClockForTests m_clock;
    HWND m_window = nullptr;
};

// Holds RealTraffic's fixed UDP ports 49004 and 49005 for this process: test processes of other
// builds on the same machine, Linux builds and Windows builds under Wine alike, take the same lock
// (a record lock on a file in the Linux machine's /tmp), so no two runs bind the ports at once. One
// file per platform holds the lock.
class RealTrafficPortsLock {
  public:
    RealTrafficPortsLock();
    ~RealTrafficPortsLock();
    RealTrafficPortsLock(const RealTrafficPortsLock&) = delete;
    RealTrafficPortsLock& operator=(const RealTrafficPortsLock&) = delete;

  private:
    struct Held;
    std::unique_ptr<Held> m_held;
};

// Copies what the folder `from` holds into the existing folder `into`, sub-folders too. (MinGW's
// std::filesystem::copy refuses a folder copied onto an existing one: "File exists".)
void copyFolderInto(const std::filesystem::path& from, const std::filesystem::path& into);

// Every setting back at its default and the run's shared flags cleared.
void resetRunSettings();

// As resetRunSettings, and every per-run value back at its start as the restart puts it: the
// readers, the SimConnect client, the engine and the main window.
void resetRun();

// The aircraft and airports databases and the livery catalogue as a fresh process has them: empty
// and not read or built yet, so that the next start-up reads and builds them again.
void forgetDatabases();

}  // namespace mrwtest
