#pragma once
// The file and folder names that more than one place of the program uses. All are relative to the
// working folder, which is the program folder; composed names are built from their parts, so each
// folder name stands in one place.
//
// The constants are inline variables: a file that includes this header before defining its own
// statics sees them constructed first, so static initialisers elsewhere may use them safely.

#include <filesystem>

namespace mrw {

// The log and the manual's folder, which must exist in the program folder.
inline const std::filesystem::path g_logFile{"Log.txt"};
inline const std::filesystem::path g_docsFolder{"docs"};

// Data files. The bare .enc names are what the updater downloads into the input folder.
inline const std::filesystem::path g_inputFolder{"input"};
inline const std::filesystem::path g_dbaseEncName{"dbase.enc"};
inline const std::filesystem::path g_airportsEncName{"airports.enc"};
inline const std::filesystem::path g_aigRegcodesEncName{"AIG-regcodes.enc"};
inline const std::filesystem::path g_dbaseEncFile{g_inputFolder / g_dbaseEncName};
inline const std::filesystem::path g_dbaseXmlFile{g_inputFolder / "dbase.xml"};
inline const std::filesystem::path g_airportsEncFile{g_inputFolder / g_airportsEncName};
inline const std::filesystem::path g_airportsXmlFile{g_inputFolder / "airports.xml"};
inline const std::filesystem::path g_aigRegcodesEncFile{g_inputFolder / g_aigRegcodesEncName};
inline const std::filesystem::path g_aigRegcodesXmlFile{g_inputFolder / "AIG-regcodes.xml"};
inline const std::filesystem::path g_icaoAirportsFile{g_inputFolder / "ICAO_airports.txt"};
inline const std::filesystem::path g_myRegcodesFolder{g_inputFolder / "my_regcodes"};

// Generated results and the reports of the scans.
inline const std::filesystem::path g_outputFolder{"output"};
inline const std::filesystem::path g_liveriesScannedFile{g_outputFolder / "LiveriesScanned.xml"};
inline const std::filesystem::path g_infoFolder{g_outputFolder / "info"};
inline const std::filesystem::path g_objectIdListFile{g_infoFolder / "ObjectIdList.txt"};
inline const std::filesystem::path g_airportsScanLogFile{g_infoFolder / "AirportsScanLog.txt"};
inline const std::filesystem::path g_noFltsimSectionFile{g_infoFolder / "AircraftCfgWithNoFltsimSection.txt"};
inline const std::filesystem::path g_errorsFolder{g_outputFolder / "errors"};
inline const std::filesystem::path g_inlineRegcodesFile{g_errorsFolder / "InlineRegcodes.txt"};
inline const std::filesystem::path g_invalidAirlineCodesFile{g_errorsFolder / "InvalidAirlineCodes.txt"};
inline const std::filesystem::path g_invalidAircraftCodesFile{g_errorsFolder / "InvalidAircraftCodes.txt"};
inline const std::filesystem::path g_fixesFile{g_errorsFolder / "Fixes.txt"};
inline const std::filesystem::path g_invalidAircraftCfgFilesFile{g_errorsFolder /
                                                                 "InvalidAircraftCfgFiles.txt"};
// The file name is spelled "Incomple..." on purpose: users and tools know it by that name.
inline const std::filesystem::path g_incompleteFltsimSectionsFile{g_errorsFolder /
                                                                  "IncompleFltsimSections.txt"};

// Airport files, the generated and linked ones, and the learned ones by the kind of their file.
inline const std::filesystem::path g_airportsFolder{"airports"};
inline const std::filesystem::path g_mySimaddonFolder{g_airportsFolder / "my_simaddon"};
inline const std::filesystem::path g_myThirdpartyFolder{g_airportsFolder / "my_thirdparty"};
inline const std::filesystem::path g_learnedFolder{g_airportsFolder / "learned"};
inline const std::filesystem::path g_learnedStockFolder{g_learnedFolder / "stock"};
inline const std::filesystem::path g_learnedSimaddonFolder{g_learnedFolder / "simaddon"};
inline const std::filesystem::path g_learnedThirdpartyFolder{g_learnedFolder / "thirdparty"};
inline const std::filesystem::path g_myParkAirportsFile{g_airportsFolder / "my_park_airports.txt"};

// Airport files collected for packing, and the archive they are packed into.
inline const std::filesystem::path g_tbloFolder{"tblo"};
inline const std::filesystem::path g_tbloZipFile{g_tbloFolder / "tblo.zip"};

// A new version's installer and release notes, downloaded into their own folder.
inline const std::filesystem::path g_newVersionFolder{"new_version"};
inline const std::filesystem::path g_installerName{"install_new_version.exe"};
inline const std::filesystem::path g_releaseNotesName{"ReleaseNotes.pdf"};

// Folder names inside the simulator's packages folder and the roaming application-data folder.
inline const std::filesystem::path g_communityName{"Community"};
inline const std::filesystem::path g_officialName{"Official"};
inline const std::filesystem::path g_official2024Name{"Official2024"};
inline const std::filesystem::path g_streamedPackagesName{"StreamedPackages"};
// A part of folder paths that marks the simulator's base package.
inline const std::filesystem::path g_fsBaseName{"fs-base"};
// RealTraffic's folder; RealTraffic.jar in it shows that RealTraffic is installed on this PC.
inline const std::filesystem::path g_insideSystemsName{"InsideSystems"};

}  // namespace mrw
