#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "airports/airports_database.h"
#include "app/edit_fields.h"
#include "app/main_window.h"
#include "app/main_window_fixture.h"
#include "app/window_procedure.h"
#include "config/parameter_catalogue.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "run/main_worker.h"
#include "run/run_end.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/parking/park_airports_list.h"

namespace {

namespace fs = std::filesystem;
using mrwtest::MainWindowTest;
using mrwtest::messageLine;

class EditFieldsTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        auto& p = mrw::g_parameters();
        for (mrw::ControlParameter* field : {&p.BLOCK_CALLSIGN, &p.DESTINATION, &p.ALL_INSTALL_PATH})
            EnableWindow(field->hwnd, TRUE);  // as the run's control set-up does
        EnableWindow(p.rereadButton.hwnd, TRUE);
    }
    void TearDown() override {
        mrw::g_stopRequested = false;
        mrw::g_exitReason = mrw::ExitReason::NotYetSet;
        MainWindowTest::TearDown();  // the airports and park airports go too
    }
    // Replaces the field's text by typing, then Enter.
    static void enter(const mrw::ControlParameter& field, const std::string& text) {
        SetWindowTextW(field.hwnd, u"");
        ASSERT_TRUE(standin::typeChars(field.hwnd, mrw::utf8_to_wide(text) + u"\r"));
    }
    // A real field takes typing only while the text fits its width: a longer text is set, then
    // Enter is typed.
    static void setAndEnter(const mrw::ControlParameter& field, const std::string& text) {
        SetWindowTextW(field.hwnd, mrw::utf8_to_wide(text).c_str());
        ASSERT_TRUE(standin::typeChars(field.hwnd, u"\r"));
    }
    static std::string fieldText(const mrw::ControlParameter& field) {
        return mrw::lf_getTextFromId(field).value_or("<unreadable>");
    }
};

TEST_F(EditFieldsTest, CallsignsMustBeFourToEightLettersOrDigits) {
    auto& p = mrw::g_parameters();
    struct Case {
        std::string typed;
        std::string message;  // "" = none
        std::string stored;
        bool fitsTheField = true;
    };
    const std::string tooLong(10000, 'K');
    const Case cases[] = {
        {"abcd", "", "ABCD"},
        {"abcdefgh", "", "ABCDEFGH"},
        {"klm123", "", "KLM123"},
        {"KLM123", "callsign 'KLM123' was already set ...", "KLM123"},
        {"ABC", "callsign 'ABC' is not valid", "KLM123"},
        {"ABCDEFGHI", "callsign 'ABCDEFGHI' is not valid", "KLM123"},
        {"KL M1", "callsign 'KL M1' is not valid", "KLM123"},
        {"KLM-12", "callsign 'KLM-12' is not valid", "KLM123"},
        {"\xc3\x84"
         "BC1",
         "callsign '\xc3\x84"
         "BC1' is not valid",
         "KLM123"},
        {tooLong, "callsign '" + tooLong + "' is not valid", "KLM123", false},
        {"", "no more blocking of live aircraft 'KLM123'", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.substr(0, 12));
        mrw::g_blockCallsignRequest = false;
        if (c.fitsTheField) {
            enter(p.BLOCK_CALLSIGN, c.typed);
        } else {
            setAndEnter(p.BLOCK_CALLSIGN, c.typed);
        }
        EXPECT_EQ(messageLine(), c.message);
        EXPECT_EQ(p.BLOCK_CALLSIGN.current.get(), c.stored);
        EXPECT_EQ(mrwtest::savedText("BLOCK_CALLSIGN").value_or(""), c.stored);
        EXPECT_EQ(fieldText(p.BLOCK_CALLSIGN), c.stored) << "the field shows the stored value";
        if (!c.message.empty()) {
            EXPECT_NE(folder->logText().find(c.message + "\n"), std::string::npos);
        }
    }
    EXPECT_FALSE(IsWindowEnabled(p.unblockButton.hwnd));
}

TEST_F(EditFieldsTest, ABlockedCallsignThatIsSelectedClearsTheSelection) {
    auto& p = mrw::g_parameters();
    p.CALLSIGN_2_OBJECTID.current.set("DAL45");
    mrw::g_selectedObjectId = 301;
    enter(p.BLOCK_CALLSIGN, "dal45");
    EXPECT_EQ(p.BLOCK_CALLSIGN.current.get(), "DAL45");
    EXPECT_EQ(mrw::g_selectedObjectId, 0u);
    EXPECT_TRUE(IsWindowEnabled(p.unblockButton.hwnd));
    EXPECT_TRUE(mrw::g_blockCallsignRequest);
}

TEST_F(EditFieldsTest, DestinationsMustBeKnownAirports) {
    auto& p = mrw::g_parameters();
    mrw::Airport eham;
    eham.code = mrw::FixedCode<4>("EHAM");
    eham.iata = mrw::g_noIataCode;
    eham.latitude = 52.31;
    eham.longitude = 4.76;
    mrw::g_airports.push_back(eham);
    struct Case {
        std::string typed;
        std::string message;
        std::string stored;
        bool rereadEnabled;
    };
    const Case cases[] = {
        {"eham", "New destination: EHAM", "EHAM", false},
        {"eham", "destination 'EHAM' was already set ...", "EHAM", false},
        {"EH1", "destination 'EH1' is not valid", "EHAM", false},
        {"EH-M", "destination 'EH-M' is not valid", "EHAM", false},
        {"ZZZZ", "destination 'ZZZZ' is unknown ...", "EHAM", false},
        {"", "destination set to empty", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        enter(p.DESTINATION, c.typed);
        EXPECT_EQ(messageLine(), c.message);
        EXPECT_NE(folder->logText().find(c.message + "\n"), std::string::npos);
        EXPECT_EQ(p.DESTINATION.current.get(), c.stored);
        EXPECT_EQ(mrwtest::savedText("DESTINATION").value_or(""), c.stored);
        EXPECT_EQ(IsWindowEnabled(p.rereadButton.hwnd) != FALSE, c.rereadEnabled);
        if (!c.stored.empty()) {
            EXPECT_EQ(fieldText(p.DESTINATION), c.stored);
        }
    }
    std::lock_guard lock(mrw::g_parkAirportsMutex);
    ASSERT_FALSE(mrw::g_parkAirports.empty());
    EXPECT_EQ(mrw::g_parkAirports.front().code.str(), "EHAM")
        << "the destination became the first park airport";
}

// A folder named beyond ASCII: the typed UTF-8 text must name it on every platform.
constexpr const char* kPackagesBeyondAscii = "Pakete \xc3\xbc";

class InstallPathTest : public EditFieldsTest {
  protected:
    void SetUp() override {
        EditFieldsTest::SetUp();
        fs::create_directories(tree / "Packages" / "Community");
        fs::create_directories(tree / mrw::utf8_to_path(kPackagesBeyondAscii) / "Community");
        fs::create_directories(tree / "Other" / "community");
        mrwtest::writeFile(tree / "file.txt", "x");
        mrw::g_msfs2020 = true;
    }
    mrwtest::TempDir tree;
};

// A path through a file exists no more than a missing one, but Linux refuses to look (the path is
// not a directory) where Windows finds nothing there.
std::string throughAFileMessage(const std::string& path) {
    std::error_code error;
    static_cast<void>(fs::status(path, error));
    if (error == std::errc::not_a_directory)
        return "Cannot access install path '" + path + "': " + error.message();
    return "This install path does not exist: " + path;
}

TEST_F(InstallPathTest, ATypedPackagesFolderIsCheckedAndRestartsTheRun) {
    auto& p = mrw::g_parameters();
    const std::string packages = (tree / "Packages").string();
    const std::string throughAFile = (tree / "file.txt" / "Community").string();
    const std::string packagesBeyondAscii = mrw::path_to_utf8(tree / mrw::utf8_to_path(kPackagesBeyondAscii));
    struct Case {
        std::string typed;
        std::string message;
        std::string stored;  // MSFS_INSTALL_PATH afterwards
    };
    const Case cases[] = {
        {packages + "/Community", "Community path found, Merrowvale will restart ...", packages},
        {packages, "Community path found, Merrowvale will restart ...", packages},
        {packages + "/", "Community path found, Merrowvale will restart ...", packages + "/"},
        {packagesBeyondAscii, "Community path found, Merrowvale will restart ...", packagesBeyondAscii},
        {(tree / "Other" / "community").string(), "This path exists but is not a path to Community ...", ""},
        {(tree / "missing").string(), "This install path does not exist: " + (tree / "missing").string(), ""},
        {(tree / "file.txt").string(), "This path exists but is not a path to Community ...", ""},
        {throughAFile, throughAFileMessage(throughAFile), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        p.MSFS_INSTALL_PATH.current.set("");
        mrw::g_stopRequested = false;
        mrw::g_exitReason = mrw::ExitReason::NotYetSet;
        mrw::g_packagesFolderFound = false;
        enter(p.ALL_INSTALL_PATH, c.typed);
        EXPECT_EQ(messageLine(), c.message);
        EXPECT_NE(folder->logText().find(c.message + "\n"), std::string::npos);
        EXPECT_EQ(p.MSFS_INSTALL_PATH.current.get(), c.stored);
        const bool found = !c.stored.empty();
        EXPECT_EQ(mrw::g_packagesFolderFound.load(), found);
        EXPECT_EQ(mrw::g_exitReason, found ? mrw::ExitReason::NewSettings : mrw::ExitReason::NotYetSet);
        if (found) {
            EXPECT_EQ(mrw::g_restartDelay, 3);
            EXPECT_EQ(mrwtest::savedText("MSFS_INSTALL_PATH"), c.stored);
        }
    }
}

TEST_F(InstallPathTest, EnterClearsTheStickyErrorThatAskedForThePath) {
    auto& p = mrw::g_parameters();
    mrw::gf_setErrorMessage("150: No install path detected");
    p.MSFS_INSTALL_PATH.setAndSave("old");
    enter(p.ALL_INSTALL_PATH, "");
    {
        std::lock_guard lock(mrw::g_mainWindow().messageMutex);
        EXPECT_EQ(mrw::g_mainWindow().errorMessage, "");
        EXPECT_EQ(mrw::g_mainWindow().message, "");
    }
    EXPECT_EQ(p.MSFS_INSTALL_PATH.current.get(), "") << "an empty field empties the active simulator's path";
    EXPECT_EQ(mrwtest::savedText("MSFS_INSTALL_PATH"), "");
    EXPECT_FALSE(mrw::g_stopRequested);
}

TEST_F(EditFieldsTest, OtherKeysEditTheFieldAndEnterWorksAfterARunReset) {
    auto& p = mrw::g_parameters();
    ASSERT_TRUE(standin::typeChars(p.BLOCK_CALLSIGN.hwnd, u"dlh4"));
    EXPECT_EQ(fieldText(p.BLOCK_CALLSIGN), "dlh4") << "a plain edit control without Enter";
    EXPECT_EQ(p.BLOCK_CALLSIGN.current.get(), "");
    mrw::g_hwndCurrent = nullptr;  // as the run reset leaves it
    ASSERT_TRUE(standin::typeChars(p.BLOCK_CALLSIGN.hwnd, u"\r"));
    EXPECT_EQ(p.BLOCK_CALLSIGN.current.get(), "DLH4");
}

}  // namespace
