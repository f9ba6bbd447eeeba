#include "app/updater.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "config/parameter_catalogue.h"
#include "platform/win32/standin.h"
#include "platform/win32/user32.h"
#include "support/test_support.h"
#include "support/test_window.h"
#include "run/run_end.h"
#include "updater_test_support.h"

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::HttpTestServer;
using mrwtest::notFound;
using mrwtest::ok;
using mrwtest::readFile;
using mrwtest::writeFile;

const std::string kVersionsPath = "/downloads/versions.json";
const std::string kAirportsPath = "/downloads/12/airports.enc";
const std::string kArchivePath = "/downloads/release/Merrowvale/latest_version.zip";

std::string lf_member(const std::string& key, const std::string& major, const std::string& minor,
                      const std::string& patch) {
    return "\"" + key + "\": {\"major\": " + major + ", \"minor\": " + minor + ", \"patch\": " + patch + "}";
}

// A program folder with its data files and a site that serves a versions.json and newer data files.
class CheckVersions : public mrwtest::UpdaterTest {
  protected:
    CheckVersions() {
        fs::create_directories(path("input"));
        fs::create_directories(path("output"));
        writeFile(path("input/airports.enc"), "old airports");
        writeFile(path("input/AIG-regcodes.enc"), "old regcodes");
        writeFile(path("input/dbase.enc"), "old dbase");
        writeFile(path("output/LiveriesScanned.xml"), "<liveries/>");
    }
    void serveVersions(const std::string& json, HttpTestServer::Answer airports = ok("new airports")) {
        serve({{kVersionsPath, ok(json)},
               {kAirportsPath, std::move(airports)},
               {"/downloads/12/AIG-regcodes.enc", ok("new regcodes")},
               {"/downloads/12/dbase.enc", ok("new dbase")}});
    }
    std::vector<std::string> inputFiles() const {
        return {readFile(path("input/airports.enc")), readFile(path("input/AIG-regcodes.enc")),
                readFile(path("input/dbase.enc"))};
    }
};

struct ProgramVersionCase {
    const char* name;
    const char* major;
    const char* minor;
    const char* patch;
    const char* readAs;
    bool newer;
};

class ProgramVersion : public CheckVersions, public ::testing::WithParamInterface<ProgramVersionCase> {};

TEST_P(ProgramVersion, IsComparedInMajorMinorPatchOrder) {
    const ProgramVersionCase& c = GetParam();
    serveVersions("{" + lf_member("msfs_app", c.major, c.minor, c.patch) + "}");
    // The site has no archive: a newer version fails to be prepared and the run goes on.
    EXPECT_TRUE(gf_checkVersions());
    EXPECT_TRUE(logHas(std::string("msfs_app program version at web = ") + c.readAs + "\n"));
    EXPECT_EQ(requested(kArchivePath), c.newer);
    EXPECT_EQ(logHas("msfs_app version up-to-date\n"), !c.newer);
    EXPECT_EQ(g_exitReason.load(), ExitReason::NotYetSet);
    EXPECT_FALSE(fs::exists(path("versions.json")));
    // The data sets are looked at in either case.
    EXPECT_TRUE(logHas("==> airports version not found\n"));
    EXPECT_TRUE(logHas("==> dbase version not found\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Updater, ProgramVersion,
    ::testing::Values(ProgramVersionCase{"PatchNewer", "12", "6", "1", "12.6.1", true},
                      ProgramVersionCase{"MajorNewer", "13", "0", "0", "13.0.0", true},
                      ProgramVersionCase{"Same", "12", "6", "0", "12.6.0", false},
                      ProgramVersionCase{"Older", "12", "5", "9", "12.5.9", false},
                      ProgramVersionCase{"OlderMajorHigherMinor", "11", "99", "99", "11.99.99", false},
                      ProgramVersionCase{"FloatCutTowardsZero", "12", "6.9", "0", "12.6.0", false},
                      ProgramVersionCase{"BoolAsOne", "12.0", "6", "true", "12.6.1", true}),
    [](const auto& info) { return std::string(info.param.name); });

struct MalformedCase {
    const char* name;
    std::string json;
    const char* warning;
};

class MalformedVersions : public CheckVersions, public ::testing::WithParamInterface<MalformedCase> {};

// Nothing is downloaded, switched or replaced for the bad key (or the bad file); the other keys and
// the run go on.
TEST_P(MalformedVersions, AreSkippedWithAWarning) {
    const MalformedCase& c = GetParam();
    g_parameters().AIRPORTS_VERSION.setAndSave("12.0.0");
    const std::string parameters = parametersText();
    const std::vector<std::string> input = inputFiles();
    serveVersions(c.json);
    EXPECT_TRUE(gf_checkVersions());
    EXPECT_TRUE(logHas(c.warning)) << log();
    EXPECT_EQ(parametersText(), parameters);
    EXPECT_EQ(inputFiles(), input);
    EXPECT_FALSE(requested(kAirportsPath));
    EXPECT_FALSE(requested(kArchivePath));
    EXPECT_FALSE(fs::exists(path("versions.json")));
    EXPECT_EQ(g_exitReason.load(), ExitReason::NotYetSet);
    if (c.json.front() == '{') {
        EXPECT_TRUE(logHas("addons version up-to-date\n"));
    }
}

const std::string kGoodAddons = lf_member("addons", "0", "0", "0");

INSTANTIATE_TEST_SUITE_P(
    Updater, MalformedVersions,
    ::testing::Values(
        MalformedCase{"HtmlPage", "<html><body>Moved</body></html>",
                      "==> versions.json skipped: [json.exception.parse_error"},
        MalformedCase{
            "MajorAString", "{" + lf_member("airports", "\"13\"", "0", "0") + ", " + kGoodAddons + "}",
            "==> airports version in versions.json skipped: [json.exception.type_error.302] type must be "
            "number, but is string\n"},
        MalformedCase{
            "PatchMissing", "{\"airports\": {\"major\": 13, \"minor\": 0}, " + kGoodAddons + "}",
            "==> airports version in versions.json skipped: [json.exception.out_of_range.403] key 'patch' "
            "not found\n"},
        MalformedCase{
            "MajorBeyondInt", "{" + lf_member("airports", "1e300", "0", "0") + ", " + kGoodAddons + "}",
            "==> airports version in versions.json skipped: \"major\" 1e+300 is outside 0 to 999999\n"},
        MalformedCase{"Negative", "{" + lf_member("airports", "13", "-1", "0") + ", " + kGoodAddons + "}",
                      "==> airports version in versions.json skipped: \"minor\" -1 is outside 0 to 999999\n"},
        MalformedCase{"PatchNull", "{" + lf_member("airports", "13", "0", "null") + ", " + kGoodAddons + "}",
                      "type must be number, but is null\n"},
        MalformedCase{"NotAnObject", "{\"airports\": 13, " + kGoodAddons + "}",
                      "==> airports version in versions.json skipped: [json.exception.type_error.304]"},
        MalformedCase{
            "ProgramVersionBeyondInt",
            "{" + lf_member("msfs_app", "12", "1e20", "0") + ", " + kGoodAddons + "}",
            "==> msfs_app version in versions.json skipped: \"minor\" 1e+20 is outside 0 to 999999\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DataFileCase {
    const char* name;
    const char* stored;  // AIRPORTS_VERSION
    bool filePresent;
    const char* web;
    bool downloaded;
};

class DataFile : public CheckVersions, public ::testing::WithParamInterface<DataFileCase> {};

TEST_P(DataFile, IsDownloadedWhenNewerOrMissing) {
    const DataFileCase& c = GetParam();
    g_parameters().AIRPORTS_VERSION.setAndSave(c.stored);
    if (!c.filePresent) fs::remove(path("input/airports.enc"));
    serveVersions("{\"airports\": " + std::string(c.web) + "}");
    EXPECT_TRUE(gf_checkVersions());
    EXPECT_EQ(requested(kAirportsPath), c.downloaded);
    if (c.downloaded) {
        EXPECT_EQ(readFile(path("input/airports.enc")), "new airports");
        EXPECT_TRUE(logHas("airports updated to 12.6.0\n"));
        EXPECT_EQ(storedValue("AIRPORTS_VERSION"), "12.6.0");
    } else {
        EXPECT_EQ(readFile(path("input/airports.enc")), "old airports");
        EXPECT_TRUE(logHas("airports version up-to-date\n"));
        EXPECT_EQ(storedValue("AIRPORTS_VERSION"), c.stored);
    }
    EXPECT_EQ(readFile(path("input/dbase.enc")), "old dbase");  // no key: untouched
}

INSTANTIATE_TEST_SUITE_P(Updater, DataFile,
                         ::testing::Values(DataFileCase{"SameVersionFilePresent", "12.6.0", true,
                                                        R"({"major": 12, "minor": 6, "patch": 0})", false},
                                           DataFileCase{"SameVersionFileMissing", "12.6.0", false,
                                                        R"({"major": 12, "minor": 6, "patch": 0})", true},
                                           DataFileCase{"FirstRunEmptyVersion", "", true,
                                                        R"({"major": 12, "minor": 6, "patch": 0})", true},
                                           DataFileCase{"NewerMinor", "12.5.99", true,
                                                        R"({"major": 12, "minor": 6, "patch": 0})", true},
                                           DataFileCase{"OlderOnTheSite", "12.7.0", true,
                                                        R"({"major": 12, "minor": 6, "patch": 0})", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckVersions, AFailedDataDownloadKeepsTheFileAndTheStoredVersion) {
    HttpTestServer::Answer truncated = ok(std::string(4000, 'n'));
    truncated.truncate = true;
    for (const HttpTestServer::Answer& answer : {notFound(), truncated}) {
        SCOPED_TRACE(answer.status);
        g_parameters().AIRPORTS_VERSION.setAndSave("12.0.0");
        const std::string parameters = parametersText();
        serveVersions("{" + lf_member("airports", "12", "6", "0") + "}", answer);
        EXPECT_TRUE(gf_checkVersions());
        EXPECT_TRUE(requested(kAirportsPath));
        EXPECT_EQ(readFile(path("input/airports.enc")), "old airports");
        EXPECT_EQ(g_parameters().AIRPORTS_VERSION.current.get(), "12.0.0");
        EXPECT_EQ(parametersText(), parameters);
        EXPECT_TRUE(logHas("==> Downloading '" + server().url(kAirportsPath) + "' failed !\n"));
    }
}

TEST_F(CheckVersions, EveryDataSetIsHandledInItsOrder) {
    auto& s = g_parameters();
    s.AIG_VERSION.setAndSave("12.6.0");
    s.LIV_SCAN_VERSION.setAndSave("12.6.0");
    s.ADDONS_SCAN_VERSION.setAndSave("12.6.0");
    s.DBASE_VERSION.setAndSave("12.6.0");
    s.SCAN_LIVERIES.current = false;
    s.SCAN_AIRPORTS.current = false;
    fs::remove(path("output/LiveriesScanned.xml"));
    serveVersions("{" + lf_member("aig", "12", "6", "1") + ", " + lf_member("liveries", "12", "6", "0") +
                  ", " + lf_member("addons", "12", "6", "0") + ", " + lf_member("dbase", "12", "6", "0") +
                  "}");
    EXPECT_TRUE(gf_checkVersions());
    EXPECT_EQ(readFile(path("input/AIG-regcodes.enc")), "new regcodes");
    EXPECT_EQ(readFile(path("input/dbase.enc")), "old dbase");
    // LiveriesScanned.xml is missing: the scan runs and the version is stored again.
    EXPECT_TRUE(s.SCAN_LIVERIES.current.load());
    EXPECT_EQ(storedValue("SCAN_LIVERIES"), "true");
    // The same add-on scan version switches nothing, even though no scan was ever made.
    EXPECT_FALSE(s.SCAN_AIRPORTS.current.load());
    const std::string log = this->log();
    const std::vector<std::string> lines = {"msfs_app version not found\n", "airports version not found\n",
                                            "aig updated to 12.6.1\n",      "liveries updated to 12.6.0\n",
                                            "addons version up-to-date\n",  "dbase version up-to-date\n"};
    std::size_t from = 0;
    for (const std::string& line : lines) {
        const std::size_t at = log.find(line, from);
        ASSERT_NE(at, std::string::npos) << line << log;
        from = at;
    }
}

TEST_F(CheckVersions, UnreachableOrMissingVersionsFileLetsTheRunGoOn) {
    serve({});
    writeFile(path("versions.json"), "stale");
    EXPECT_TRUE(gf_checkVersions());
    EXPECT_TRUE(logHas("==> Downloading version info from my web site failed!\n"));
    EXPECT_FALSE(fs::exists(path("versions.json")));
    EXPECT_EQ(server().requests(), std::vector<std::string>{kVersionsPath});  // not the major's folder
}

LRESULT lf_checkBoxParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The main worker checks the versions while the UI thread owns the window: a newer liveries scan
// version checks the scan's box and repaints the panel.
TEST_F(CheckVersions, NewerScanVersionsCheckTheBoxesOfTheWindow) {
    auto& s = g_parameters();
    HWND window = mrwtest::createTestWindow(u"MrwUpdaterTest", lf_checkBoxParent, WS_VISIBLE);
    ASSERT_NE(window, nullptr);
    g_mainWindowView().hwnd = window;
    const auto checkBox = [window](CheckBoxParameter& parameter) {
        return parameter.hwnd = CreateWindowExW(
                   0, u"button", u"", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, 0, parameter.rowY, 20, 20, window,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(parameter.controlId)), nullptr, nullptr);
    };
    HWND liveries = checkBox(s.SCAN_LIVERIES);
    HWND addons = checkBox(s.SCAN_AIRPORTS);
    s.SCAN_LIVERIES.current = false;
    s.SCAN_AIRPORTS.current = false;
    s.SCAN_LIVERIES.showCheck();
    s.SCAN_AIRPORTS.showCheck();
    s.LIV_SCAN_VERSION.setAndSave("12.6.0");
    s.ADDONS_SCAN_VERSION.setAndSave("12.6.0");
    serveVersions("{" + lf_member("liveries", "12", "7", "0") + ", " + lf_member("addons", "13", "0", "0") +
                  "}");

    std::future<bool> worker = std::async(std::launch::async, [] { return gf_checkVersions(); });
    EXPECT_TRUE(standin::pumpUntil(
        [&worker] { return worker.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    EXPECT_TRUE(worker.get());
    EXPECT_EQ(SendMessageW(liveries, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(addons, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(storedValue("LIV_SCAN_VERSION"), "12.7.0");
    EXPECT_EQ(storedValue("ADDONS_SCAN_VERSION"), "13.0.0");
    EXPECT_EQ(storedValue("SCAN_AIRPORTS"), "true");
    EXPECT_TRUE(logHas("liveries updated to 12.7.0\n"));

    s.SCAN_LIVERIES.hwnd = nullptr;
    s.SCAN_AIRPORTS.hwnd = nullptr;
    g_mainWindowView().hwnd = nullptr;
    standin::destroyAllWindows();
}

}  // namespace
}  // namespace mrw
