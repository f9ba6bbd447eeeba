#include "config/first_run.h"

#include "config/parameter_catalogue.h"
#include "config/parameters_xml.h"
#include "foundation/file_names.h"
#include "foundation/log.h"
#include "support/config_test_support.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <string>

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::writeFile;

const std::string kLongVersion = "1.1." + std::string(25000, '7');

class FirstRun : public mrwtest::ConfigTest {
  protected:
    FirstRun() { placeFiles(); }

    // The decrypted and encrypted data files and a downloaded new version, as an older run left them.
    static void placeFiles() {
        for (const fs::path* file : {&g_airportsXmlFile, &g_aigRegcodesXmlFile, &g_dbaseXmlFile,
                                     &g_airportsEncFile, &g_aigRegcodesEncFile, &g_dbaseEncFile}) {
            writeFile(*file, "data");
        }
        writeFile(g_newVersionFolder / "install_new_version.exe", "installer");
    }

    static std::string storedVersion() {
        pugi::xml_document document;
        gf_loadParametersDocument(document);
        return gf_readStringParameter(document, "PROGRAM_VERSION").value_or("<missing>");
    }
    static bool decryptedPresent() {
        return fs::exists(g_airportsXmlFile) && fs::exists(g_aigRegcodesXmlFile) &&
               fs::exists(g_dbaseXmlFile);
    }
    static bool decryptedGone() {
        return !fs::exists(g_airportsXmlFile) && !fs::exists(g_aigRegcodesXmlFile) &&
               !fs::exists(g_dbaseXmlFile);
    }
    static bool encryptedPresent() {
        return fs::exists(g_airportsEncFile) && fs::exists(g_aigRegcodesEncFile) &&
               fs::exists(g_dbaseEncFile);
    }
    static bool encryptedGone() {
        return !fs::exists(g_airportsEncFile) && !fs::exists(g_aigRegcodesEncFile) &&
               !fs::exists(g_dbaseEncFile);
    }
};

TEST_F(FirstRun, NoParametersFileSwitchesBothScansOn) {
    ParameterCatalogue& p = g_parameters();
    p.SCAN_LIVERIES.current = false;  // e.g. switched off by an earlier run of this process
    p.SCAN_AIRPORTS.current = false;
    lf_prepareParameters();
    EXPECT_TRUE(p.SCAN_LIVERIES.current);
    EXPECT_TRUE(p.SCAN_AIRPORTS.current);
    pugi::xml_document document;
    gf_loadParametersDocument(document);
    EXPECT_EQ(gf_readBoolParameter(document, "SCAN_LIVERIES"), true);
    EXPECT_EQ(gf_readBoolParameter(document, "SCAN_AIRPORTS"), true);
    EXPECT_EQ(storedVersion(), "12.6.0");
    // No version comparison in a first run: nothing is removed and no update is logged.
    EXPECT_TRUE(decryptedPresent());
    EXPECT_TRUE(fs::exists(g_newVersionFolder));
    EXPECT_EQ(log().find("version update"), std::string::npos);
}

TEST_F(FirstRun, StoredVersionDecidesWhatIsRemoved) {
    struct Case {
        std::string stored;
        std::string storedAfter;
        std::string logLine;  // empty: no update line
        bool decryptedRemoved;
        bool encryptedRemoved;
        bool newVersionRemoved;
    };
    const Case cases[] = {
        {"12.6.0", "12.6.0", "", true, false, false},
        {"12.5.3", "12.6.0", "This is a version update from 12.5.3 -> 12.6.0", true, false, true},
        {"11.9.9", "12.6.0", "This is a version update from 11.9.9 -> 12.6.0", true, true, true},
        {"12.0.0", "12.6.0", "This is a version update from 12.0.0 -> 12.6.0", true, false, true},
        {"13.0.0", "12.6.0", "", true, false, false},
        {"12.06.0", "12.06.0", "", true, false, false},
        {"", "12.6.0", "", false, false, false},  // equal to the default: no version stored yet
        // A text that is no version is an update from an unknown version: the shipped encrypted
        // files stay.
        {"twelve", "12.6.0", "This is a version update from twelve -> 12.6.0", true, false, true},
        // Far longer than any version: refused before the pattern match, which recurses per character.
        {kLongVersion, "12.6.0", "This is a version update from " + kLongVersion + " -> 12.6.0", true, false,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("stored '" + c.stored + "'");
        placeFiles();
        mrwtest::resetSettings();
        fs::remove(parametersFile());
        gf_openLog();  // a fresh Log.txt for this case
        writeFile(parametersFile(), "<root><parameters><parameter name=\"PROGRAM_VERSION\" value=\"" +
                                        c.stored + "\"/></parameters></root>");
        lf_prepareParameters();
        EXPECT_EQ(storedVersion(), c.storedAfter);
        EXPECT_EQ(g_parameters().PROGRAM_VERSION.current.get(), c.storedAfter);
        EXPECT_EQ(c.decryptedRemoved ? decryptedGone() : decryptedPresent(), true);
        EXPECT_EQ(c.encryptedRemoved ? encryptedGone() : encryptedPresent(), true);
        EXPECT_EQ(fs::exists(g_newVersionFolder), !c.newVersionRemoved);
        const std::string log = this->log();
        if (c.logLine.empty()) {
            EXPECT_EQ(log.find("This is a version update"), std::string::npos);
        } else {
            EXPECT_NE(log.find("\n" + c.logLine + "\n"), std::string::npos) << log;
        }
    }
}

}  // namespace
}  // namespace mrw
