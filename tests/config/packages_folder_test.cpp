#include "config/packages_folder.h"

#include "config/parameter_catalogue.h"
#include "config/parameters_xml.h"
#include "foundation/simulator_choice.h"
#include "foundation/text_encoding.h"
#include "support/config_test_support.h"
#include "support/scoped_environment.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::writeFile;

// Known folders of the test's own. The data directory (parameters.xml) was fixed before, at first
// use, by the base fixture; the known folders themselves are read afresh at every lookup.
class PackagesFolder : public mrwtest::ConfigTest {
  protected:
    PackagesFolder() {
        m_env.set("MRW_ROAMING_APPDATA", roaming().string());
        m_env.set("MRW_LOCAL_APPDATA", local().string());
        fs::create_directories(roaming());
        fs::create_directories(local());
        m_msfs2020Before = g_msfs2020.load();
        g_msfs2020 = true;
    }
    ~PackagesFolder() override { g_msfs2020 = m_msfs2020Before; }

    fs::path roaming() const { return m_known.path() / "roaming"; }
    fs::path local() const { return m_known.path() / "local"; }
    fs::path steamPackages(const char* simFolder = "Microsoft Flight Simulator") const {
        return roaming() / simFolder / "Packages";
    }
    fs::path storeUserCfg() const {
        return local() / "Packages" / "Microsoft.FlightSimulator_8wekyb3d8bbwe" / "LocalCache" /
               "UserCfg.opt";
    }
    // A packages folder with Community and the given official folder.
    fs::path makePackages(const fs::path& where, const char* official = "Official") const {
        fs::create_directories(where / "Community");
        fs::create_directories(where / official);
        return where;
    }
    static std::string storedValue(const std::string& name) {
        pugi::xml_document document;
        gf_loadParametersDocument(document);
        return gf_readStringParameter(document, name).value_or("<missing>");
    }

    mrwtest::TempDir m_known;
    mrwtest::ScopedEnvironment m_env;
    bool m_msfs2020Before = true;
};

TEST_F(PackagesFolder, ValidSteamFolderWinsAndIsStored) {
    const fs::path steam = makePackages(steamPackages());
    const fs::path other = makePackages(m_known / "Other");
    writeFile(storeUserCfg(), "InstalledPackagesPath \"" + other.string() + "\"\n");
    ASSERT_TRUE(gf_detectPackagesPath());
    const ParameterCatalogue& p = g_parameters();
    EXPECT_EQ(p.MSFS_INSTALL_PATH.current.get(), path_to_utf8(steam));
    EXPECT_EQ(p.ALL_INSTALL_PATH.current.get(), path_to_utf8(steam));
    EXPECT_EQ(p.MSFS_2024_INSTALL_PATH.current.get(), "");
    EXPECT_EQ(storedValue("MSFS_INSTALL_PATH"), path_to_utf8(steam));
    EXPECT_EQ(storedValue("ALL_INSTALL_PATH"), "<missing>");  // shown, never saved
    EXPECT_NE(log().find("Steam packages: " + path_to_utf8(steam) + "\n"), std::string::npos);
    EXPECT_EQ(log().find("UserCfg.opt"), std::string::npos);
    EXPECT_EQ(gf_installPathOf("Community"), steam / "Community");
}

// A stored install path beyond ASCII (a Windows user's name may be "M\u00fcller_\u65e5\u672c") names its
// folder: read as UTF-8, never through Windows' ANSI code page, which has no "\u65e5\u672c".
TEST_F(PackagesFolder, AStoredPathBeyondAsciiNamesItsFolder) {
    const fs::path packages = makePackages(m_known / utf8_to_path("M\u00fcller_\u65e5\u672c") / "Packages");
    g_parameters().MSFS_INSTALL_PATH.setAndSave(path_to_utf8(packages));
    ASSERT_EQ(storedValue("MSFS_INSTALL_PATH"), path_to_utf8(packages));
    EXPECT_EQ(gf_installPathOf("Community"), packages / "Community");
    EXPECT_TRUE(fs::is_directory(gf_installPathOf("Community")));
    EXPECT_TRUE(gf_isPackagesPath(gf_installPathOf("")));
}

TEST_F(PackagesFolder, InvalidSteamFolderFallsBackToUserCfg) {
    fs::create_directories(steamPackages() / "Community");  // no Official
    const fs::path other = makePackages(m_known / "Other Folder");
    writeFile(storeUserCfg(), "[Graphics]\nInstalledPackagesPath \"" + other.string() + "\"\n");
    ASSERT_TRUE(gf_detectPackagesPath());
    EXPECT_EQ(g_parameters().MSFS_INSTALL_PATH.current.get(), path_to_utf8(other));
    const std::string log = this->log();
    EXPECT_NE(log.find("Steam packages: " + path_to_utf8(steamPackages()) + "\n"), std::string::npos);
    EXPECT_NE(log.find("UserCfg.opt: InstalledPackagesPath=" + path_to_utf8(other) + "\n"),
              std::string::npos);
}

TEST_F(PackagesFolder, UserCfgLineRules) {
    const fs::path target = makePackages(m_known / "Pkgs");
    const std::string quoted = "InstalledPackagesPath \"" + target.string() + "\"";
    struct Case {
        const char* what;
        std::string content;
        bool found;
    };
    const Case cases[] = {
        {"a quoted folder", "Version 1\n" + quoted + "\n", true},
        {"an unquoted value is the whole line", "InstalledPackagesPath " + target.string() + "\n", false},
        {"a 21-byte key line qualifies and ends the walk", "InstalledPackagesPath\n" + quoted + "\n", false},
        {"short lines without the key are skipped", "x\n\n" + quoted + "\n", true},
        {"the key is case-sensitive", "installedpackagespath \"/nowhere/at/all\"\n" + quoted + "\n", true},
        {"only the first qualifying line counts",
         "InstalledPackagesPath \"/no/such/folder\"\n" + quoted + "\n", false},
        {"a missing closing quote gives the empty value", "InstalledPackagesPath \"" + target.string() + "\n",
         false},
        {"empty quotes", "InstalledPackagesPath \"\"" + std::string(5, ' ') + "\n", false},
        {"no key at all", "[Video]\nFullscreen 1\n", false},
        // A name longer than the system takes: looking at it fails, which is no folder, not an error.
        {"a folder name too long to look at", "InstalledPackagesPath \"/" + std::string(5000, 'n') + "\"\n",
         false},
    };
    for (const Case& c : cases) {
        writeFile(storeUserCfg(), c.content);
        EXPECT_EQ(gf_installedPackagesPath(), c.found ? target : fs::path()) << c.what;
    }
    writeFile(storeUserCfg(), "no key here, but longer than twenty bytes\n");
    gf_installedPackagesPath();
    EXPECT_NE(log().find("UserCfg.opt: InstalledPackagesPath=???\n"), std::string::npos);
}

TEST_F(PackagesFolder, CandidatesAreTriedInOrderForTheActiveSimulator) {
    const fs::path dashboard =
        local() / "Packages" / "Microsoft.FlightDashboard_8wekyb3d8bbwe" / "LocalCache" / "UserCfg.opt";
    const fs::path msfsPackages = local() / "MSFSPackages" / "UserCfg.opt";
    const fs::path steam2024 = roaming() / "Microsoft Flight Simulator 2024" / "UserCfg.opt";
    writeFile(msfsPackages, "");
    EXPECT_EQ(gf_findUserCfg(), msfsPackages);
    writeFile(dashboard, "");
    EXPECT_EQ(gf_findUserCfg(), dashboard);
    writeFile(steam2024, "");
    EXPECT_EQ(gf_findUserCfg(), dashboard);  // the 2024 simulator's Steam file is not the 2020 one's
    g_msfs2020 = false;
    EXPECT_EQ(gf_findUserCfg(), steam2024);
    EXPECT_EQ(gf_storePackageFamily(), "Microsoft.Limitless_8wekyb3d8bbwe");
}

TEST_F(PackagesFolder, NothingFoundLogsEveryCandidate) {
    EXPECT_FALSE(gf_detectPackagesPath());
    const std::string log = this->log();
    const std::string first = "MSFS detection, not found: " + path_to_utf8(storeUserCfg()) + "\n";
    const std::string last =
        "MSFS detection, not found: " + path_to_utf8(local() / "MSFSPackages" / "UserCfg.opt") +
        "\nNo UserCfg.opt found?\n";
    EXPECT_NE(log.find(first), std::string::npos) << log;
    EXPECT_NE(log.find(last), std::string::npos) << log;
    std::size_t count = 0;
    for (auto at = log.find("MSFS detection, not found: "); at != std::string::npos;
         at = log.find("MSFS detection, not found: ", at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(g_parameters().MSFS_INSTALL_PATH.current.get(), "");
    EXPECT_FALSE(fs::exists(parametersFile()));  // nothing stored
}

// Community and Official must both be folders: one missing, or a file in a folder's place, is no
// packages folder.
TEST_F(PackagesFolder, CommunityAndOfficialMustBothBeFolders) {
    const struct {
        const char* name;
        bool community;  // a folder, else a file of that name
        bool official;
        bool isPackages;
    } cases[] = {{"Both", true, true, true},
                 {"CommunityFile", false, true, false},
                 {"OfficialFile", true, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path where = m_known / c.name;
        fs::create_directories(where);
        for (const auto& [name, folder] :
             {std::pair{"Community", c.community}, std::pair{"Official", c.official}}) {
            if (folder) {
                fs::create_directories(where / name);
            } else {
                mrwtest::writeFile(where / name, "a file");
            }
        }
        EXPECT_EQ(gf_isPackagesPath(where), c.isPackages);
    }
    fs::create_directories(m_known / "NoOfficial" / "Community");
    EXPECT_FALSE(gf_isPackagesPath(m_known / "NoOfficial"));
    fs::create_directories(m_known / "NoCommunity" / "Official");
    EXPECT_FALSE(gf_isPackagesPath(m_known / "NoCommunity"));
    EXPECT_FALSE(gf_isPackagesPath(m_known / std::string(5000, 'n')));  // too long to look at
}

TEST_F(PackagesFolder, OfficialFolderDependsOnTheSimulator) {
    const fs::path only2024 = makePackages(m_known / "P", "Official2024");
    EXPECT_FALSE(gf_isPackagesPath(only2024));
    EXPECT_FALSE(gf_isPackagesPath(""));
    g_msfs2020 = false;
    EXPECT_TRUE(gf_isPackagesPath(only2024));
    const fs::path steam = makePackages(steamPackages("Microsoft Flight Simulator 2024"), "Official2024");
    ASSERT_TRUE(gf_detectPackagesPath());
    EXPECT_EQ(g_parameters().MSFS_2024_INSTALL_PATH.current.get(), path_to_utf8(steam));
    EXPECT_EQ(g_parameters().MSFS_INSTALL_PATH.current.get(), "");
    EXPECT_EQ(gf_installPathOf("Community"), steam / "Community");
}

}  // namespace
}  // namespace mrw
