#pragma once

namespace mrwtest {

// Test processes run side by side: points the roaming application-data folder at a temporary folder
// of this process before the data directory is first used (it is fixed at first use), so that no two
// processes share a parameters.xml, and creates the data directory. Idempotent; the folder is
// removed when the process ends.
void useProcessDataDirectory();

// The process's data directory (see above) emptied: no parameters.xml or other file that an earlier
// test of this process wrote.
void emptyProcessDataDirectory();

}  // namespace mrwtest
