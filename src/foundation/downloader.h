#pragma once
// Downloads from the maker's download site with libcurl's easy interface.
//
// The site is kDownloadSite unless the environment variable MRW_DOWNLOAD_SITE names another one
// (tests point it at a server on 127.0.0.1); the variable is read at every download, so a test may set
// it at any time before the call.

#include <filesystem>
#include <string>
#include <string_view>

namespace mrw {

inline constexpr std::string_view kDownloadSite = "https://downloads.merrowvale.example";

// The site's downloads folder URL, ending in "/downloads/".
std::string gf_downloadsUrl();

// When a transfer gives up: no connection within the connect time-out, or less than
// `lowSpeedBytes` a second for `lowSpeedSeconds` seconds. A set stop latch (g_stopRequested) or
// window-closing flag (g_windowClosing) aborts a transfer too, within about a second.
struct DownloadLimits {
    long connectTimeoutSeconds = 30;
    long lowSpeedBytes = 1;
    long lowSpeedSeconds = 60;
};

// One libcurl easy handle; serves one download at a time. Callers make one for each download.
class Downloader {
  public:
    explicit Downloader(DownloadLimits limits = {});
    ~Downloader();
    Downloader(const Downloader&) = delete;
    Downloader& operator=(const Downloader&) = delete;

    // Downloads the URL into the file; true when the transfer ended without error with a 2xx answer
    // (redirects are not followed). The bytes go to a temporary file beside the target that replaces
    // it only on success: a failed download leaves the target as it was. `binary` chooses the file
    // mode: text mode writes the platform's line ends (unchanged on Linux, LF as CR LF on Windows).
    bool download(const std::string& url, const std::filesystem::path& target, bool binary);

  private:
    void* m_curl;  // CURL*, kept out of this header
    DownloadLimits m_limits;
};

// Downloads the named file of this program version ("{downloads URL}{major version}/{name}") into
// the target, binary; logs the result.
bool gf_downloadFromSite(std::string_view name, const std::filesystem::path& target);

}  // namespace mrw
