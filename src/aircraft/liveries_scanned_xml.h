#pragma once
// output/LiveriesScanned.xml: the lasting result of a liveries scan, read back into
// g_scannedLiveries at every start-up to build the livery catalogue.

namespace mrw {

// Writes g_scannedLiveries in its order, replacing the file. An empty list writes nothing and is
// no failure. False, with an error line, when the file could not be written (the old file stays).
bool gf_writeLiveriesScanned();

// Replaces g_scannedLiveries with the file's liveries, sorted, each with priority 0. Throws
// UserErrorException 51 (not loadable), 52 (no <liveries>), 999 (a missing a, m or t attribute)
// or 533 (no livery); the list then holds what was read so far.
void gf_readLiveriesScanned();

}  // namespace mrw
