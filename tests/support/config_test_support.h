#pragma once
// Shared set-up of the configuration tests: a data directory of the test process's own (so test
// processes that run at the same time never share a parameters.xml), a program folder with an open
// Log.txt, and every setting back at its default.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/process_data_directory.h"
#include "support/settings_reset.h"
#include "support/test_support.h"

namespace mrwtest {

// A program folder with Log.txt open, a data directory without parameters.xml, and default settings.
class ConfigTest : public ::testing::Test {
  protected:
    ConfigTest();
    ~ConfigTest() override;

    std::string log() const { return readFile(folder / "Log.txt"); }
    std::string parametersText() const;
    static const std::filesystem::path& parametersFile();
    static std::filesystem::path keptGeneration();  // parameters0.xml

    ProgramFolder folder;
};

}  // namespace mrwtest
