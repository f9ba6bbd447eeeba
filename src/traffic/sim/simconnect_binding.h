#pragma once
// The program's SimConnect library, bound before a run starts its client.

namespace mrw {

// Binds SimConnect once per process (Windows: SimConnect.dll beside the program, else in the
// simulator SDK's folder). Throws a UserErrorException that names the missing file and where it was
// looked for, or the missing function and its file: the run then does not start.
void gf_bindSimConnect();

}  // namespace mrw
