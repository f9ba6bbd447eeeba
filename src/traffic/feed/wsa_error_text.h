#pragma once
// The text of every socket error the program reports.

#include <string>

namespace mrw {

// "{} " with the code, then the code's text; "Unknown errror code" for a code without one.
std::string gf_wsaErrorText(int code);

}  // namespace mrw
