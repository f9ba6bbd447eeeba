#pragma once

#include <string>

#include "support/test_support.h"

namespace mrwtest {

// A program folder that is the working folder, with Log.txt open in it while the object lives.
class LoggedProgramFolder : public ProgramFolder {
  public:
    LoggedProgramFolder();
    ~LoggedProgramFolder();
    std::string logText() const;
};

}  // namespace mrwtest
