#pragma once
// The airports scan: finds the add-on airports installed in the simulator and gives each one that
// the airports database knows a link file to the maker's archive or a generated airport file, packs
// the generated files the archive lacks into tblo/tblo.zip and writes its report to
// output/info/AirportsScanLog.txt. Runs on the main worker at the run start.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace mrw {

// The files that were in tblo when the last scan packed tblo.zip; 0 when it found nothing to send.
// Written by the main worker, read by the window.
inline std::atomic<std::uint64_t> g_tbloFileCount{0};

// The whole scan. Its exceptions reach the caller; the facility connection is closed and the codes
// of input/ICAO_airports.txt are dropped on every way out.
void gf_scanAirports();
// Fills g_icaoAirportCodes from input/ICAO_airports.txt; UserErrorException 522 when it is
// missing, std::invalid_argument for a part that is not a code.
void gf_readIcaoAirports();
// The package folders to walk below the active simulator's install path: Official (2020) or
// StreamedPackages (2024), then Community.
std::vector<std::filesystem::path> gf_airportScanFolders();

}  // namespace mrw
