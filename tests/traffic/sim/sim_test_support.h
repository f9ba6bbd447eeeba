#pragma once
// A connected SimConnect client for the tests of the client's parts: a fresh simulated world with
// the simulator running, a Log.txt program folder, the connection published in g_simConnect and
// registered, and every client global, queue, latch and message back at its start.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/simconnect/sim_world.h"
#include "support/logged_program_folder.h"

namespace mrwtest {

inline constexpr const char* kClientName = "Merrowvale";

// Back to the state of a fresh run: queues, pending creations, user data, flags, latch, messages.
void resetSimClientState();

std::string messageLine();  // the normal message line
std::string stickyError();  // the sticky error text

class SimClientTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Opens, publishes and registers a connection (done by SetUp).
    void connect(const standin::SimWorldConfig& config = {});

    // The calls of the connection's journal made since the last mark, optionally of one function.
    std::vector<standin::JournalEntry> calls(std::string_view function = {}) const;
    void markJournal();

    std::string message() const { return messageLine(); }
    std::string errorMessage() const { return stickyError(); }
    std::string logText() const { return m_folder.logText(); }

    LoggedProgramFolder m_folder;
    HANDLE m_handle = nullptr;

  private:
    std::size_t m_mark = 0;
};

}  // namespace mrwtest
