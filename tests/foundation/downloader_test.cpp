#include "foundation/downloader.h"

#include "foundation/log.h"
#include "foundation/run_state.h"
#include "support/http_test_server.h"
#include "support/scoped_environment.h"
#include "support/test_support.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::HttpTestServer;
using mrwtest::readFile;
using mrwtest::writeFile;

const std::string kBinary("\x00\x01\r\n\xff\xfe\x1a end", 11);

HttpTestServer::Answer lf_ok(std::string body) {
    HttpTestServer::Answer answer;
    answer.body = std::move(body);
    return answer;
}

class DownloaderTest : public ::testing::Test {
  protected:
    DownloaderTest() { gf_openLog(); }
    ~DownloaderTest() override {
        g_stopRequested = false;
        g_windowClosing = false;
    }
    std::string log() const { return readFile(folder / "Log.txt"); }
    bool logHas(const std::string& line) const { return log().find(line + "\n") != std::string::npos; }
    // Only the files the test made: no temporary file may stay behind.
    std::size_t filesInFolder() const {
        std::size_t count = 0;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            count += entry.is_regular_file() ? 1 : 0;
        return count;
    }

    mrwtest::ProgramFolder folder;
    HttpTestServer server{{
        {"/text.xml", lf_ok("<root>\n  <a/>\n</root>\n")},
        {"/binary.bin", lf_ok(kBinary)},
        {"/moved", {301, "moved", "Location: /text.xml\r\n", false, false}},
        {"/broken", {500, "server error", {}, false, false}},
        {"/cut", {200, std::string(10000, 'c'), {}, false, true}},
        {"/stall", {200, {}, {}, true, false}},
        {"/downloads/12/versions.json", lf_ok("{\"major\": 12}")},
    }};
};

// Text mode writes the platform's line ends, as every text file of the platform; binary mode the bytes.
TEST_F(DownloaderTest, DownloadsTextAndBinaryFilesUnchanged) {
    Downloader downloader;
    ASSERT_TRUE(downloader.download(server.url("/text.xml"), "text.xml", false));
    EXPECT_EQ(readFile(folder / "text.xml"), mrwtest::asTextFileBytes("<root>\n  <a/>\n</root>\n"));
    ASSERT_TRUE(downloader.download(server.url("/binary.bin"), "binary.bin", true));
    EXPECT_EQ(readFile(folder / "binary.bin"), kBinary);
    EXPECT_NE(server.lastRequestHeaders().find("User-Agent: MRWV\r\n"), std::string::npos);

    // A second download replaces the file whole.
    ASSERT_TRUE(downloader.download(server.url("/text.xml"), "binary.bin", true));
    EXPECT_EQ(readFile(folder / "binary.bin"), "<root>\n  <a/>\n</root>\n");
    EXPECT_EQ(filesInFolder(), 3U);  // Log.txt, text.xml, binary.bin
}

TEST_F(DownloaderTest, FailedDownloadLeavesTheTargetAsItWas) {
    struct Case {
        const char* path;
        const char* error;
    };
    const Case cases[] = {
        {"/missing", "HTTP response code said error"},
        {"/broken", "HTTP response code said error"},
        {"/moved", "HTTP status 301 is no success"},
        {"/cut", "Transferred a partial file"},
    };
    for (const Case& c : cases) {
        writeFile(folder / "target.xml", "the file that was there");
        Downloader downloader;
        EXPECT_FALSE(downloader.download(server.url(c.path), "target.xml", false)) << c.path;
        EXPECT_EQ(readFile(folder / "target.xml"), "the file that was there") << c.path;
        EXPECT_TRUE(logHas(fmt::format("Download error: '{}' for {}", c.error, server.url(c.path)))) << log();
        EXPECT_EQ(filesInFolder(), 2U) << c.path;  // Log.txt and the target
    }
    // Without a file before, a failure leaves none.
    EXPECT_FALSE(Downloader().download(server.url("/missing"), "new.xml", false));
    EXPECT_FALSE(fs::exists(folder / "new.xml"));
}

TEST_F(DownloaderTest, TargetInAMissingFolderRequestsNothing) {
    EXPECT_FALSE(Downloader().download(server.url("/text.xml"), "missing/text.xml", false));
    EXPECT_TRUE(logHas("Could not open output file: missing/text.xml"));
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(DownloaderTest, StalledTransferEndsAtTheLowSpeedLimit) {
    Downloader downloader({5, 1, 1});
    EXPECT_FALSE(downloader.download(server.url("/stall"), "stall.bin", true));
    EXPECT_NE(log().find("Download error: 'Timeout was reached' for " + server.url("/stall")),
              std::string::npos)
        << log();
    EXPECT_FALSE(fs::exists(folder / "stall.bin"));
}

TEST_F(DownloaderTest, StopFlagsAbortAStalledTransfer) {
    for (std::atomic<bool>* flag : {&g_stopRequested, &g_windowClosing}) {
        const std::size_t before = server.requests().size();
        std::thread stopper([&] {
            if (server.waitForRequests(before + 1)) *flag = true;
        });
        EXPECT_FALSE(Downloader().download(server.url("/stall"), "stall.bin", true));
        stopper.join();
        *flag = false;
        EXPECT_TRUE(logHas("Download error: 'Operation was aborted by an application callback' for " +
                           server.url("/stall")))
            << log();
        EXPECT_FALSE(fs::exists(folder / "stall.bin"));
    }
}

TEST_F(DownloaderTest, DownloadFromSiteUsesTheMajorVersionFolder) {
    mrwtest::ScopedEnvironment environment;
    environment.set("MRW_DOWNLOAD_SITE", server.site() + "/");
    EXPECT_EQ(gf_downloadsUrl(), server.site() + "/downloads/");
    const std::string url = server.url("/downloads/12/versions.json");
    EXPECT_TRUE(gf_downloadFromSite("versions.json", "versions.json"));
    EXPECT_EQ(readFile(folder / "versions.json"), "{\"major\": 12}");
    EXPECT_TRUE(logHas("Downloaded '" + url + "' to 'versions.json'")) << log();

    EXPECT_FALSE(gf_downloadFromSite("dbase.enc", "dbase.enc"));
    EXPECT_TRUE(logHas("==> Downloading '" + server.url("/downloads/12/dbase.enc") + "' failed !")) << log();
    EXPECT_EQ(server.requests(),
              (std::vector<std::string>{"/downloads/12/versions.json", "/downloads/12/dbase.enc"}));
}

TEST(DownloadSite, OursUnlessTheEnvironmentNamesAnother) {
    mrwtest::ScopedEnvironment environment;
    environment.set("MRW_DOWNLOAD_SITE", std::nullopt);
    EXPECT_EQ(gf_downloadsUrl(), "https://downloads.merrowvale.example/downloads/");
    environment.set("MRW_DOWNLOAD_SITE", "");
    EXPECT_EQ(gf_downloadsUrl(), "https://downloads.merrowvale.example/downloads/");
    environment.set("MRW_DOWNLOAD_SITE", "http://127.0.0.1:9");
    EXPECT_EQ(gf_downloadsUrl(), "http://127.0.0.1:9/downloads/");
}

}  // namespace
}  // namespace mrw
