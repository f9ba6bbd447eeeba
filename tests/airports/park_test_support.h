#pragma once
// Helpers of the park-airport tests: a main window with the controls of the per-airport settings,
// a data directory of the test process's own, airport files built in the test, and emptying the
// park airport's state.

#include <gtest/gtest.h>

#include <string>

#include "airports_test_support.h"
#include "config/control_parameters.h"
#include "support/recording_control_surface.h"

namespace mrwtest {

// The main window's controls (recorded, without a window) for every setting that reading a park
// airport's file changes: check boxes, combo boxes filled with their choices, and buttons.
class ParkWindow {
  public:
    ParkWindow();

    bool checked(const mrw::CheckBoxParameter& setting);
    // The selected entry's text; empty when none is selected.
    std::string selection(const mrw::ControlBinding& combo);
    bool enabled(const mrw::ControlBinding& binding);

  private:
    RecordingControlSurface m_surface;
};

// parameters.xml of the process's own data directory; empty when there is none.
std::string parametersText();

// Every setting at its default and the park airport's state empty (no park airport, no stands).
void resetParkState();

// An airport file with a meta element of the version, the parameters (name, value pairs as XML
// attributes text, e.g. "altitude|-11") and the <parkpos> elements given as XML text.
std::string apfText(const std::string& version,
                    std::initializer_list<std::pair<const char*, std::string>> parameters,
                    const std::string& stands);

// A program folder with Log.txt and the airport-file folders, EHAM (s = 2) in the airports database
// as the park airport, the park window, default settings and no parameters.xml.
class ParkAirportTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Reads EHAM's file the way static parking does: gf_apfFileName, then gf_readApf.
    std::string readParkFile();
    std::string log() const { return folder.logText(); }

    LoggedProgramFolder folder;
    ParkWindow window;
};

}  // namespace mrwtest
