#include "foundation/downloader.h"

#include "foundation/file_replace.h"
#include "foundation/log.h"
#include "foundation/run_state.h"
#include "foundation/text_encoding.h"
#include "foundation/version_data.h"

#include <curl/curl.h>
#include <fmt/format.h>

#include <cstdlib>
#include <exception>
#include <fstream>
#include <mutex>
#include <system_error>

namespace mrw {

namespace fs = std::filesystem;

namespace {

// libcurl's global set-up, once per process before the first handle.
void lf_initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The open temporary file of one download; removed unless it was renamed over the target. A stream
// opened by path: on Windows it takes the path's wide text, where fopen would take the ANSI code page.
class TemporaryDownload {
  public:
    TemporaryDownload(const fs::path& target, bool binary)
        : m_path(gf_temporarySibling(target)),
          m_file(m_path, binary ? std::ios::out | std::ios::trunc | std::ios::binary
                                : std::ios::out | std::ios::trunc) {}
    ~TemporaryDownload() {
        m_file.close();
        std::error_code ec;
        if (!m_renamed) fs::remove(m_path, ec);
    }
    TemporaryDownload(const TemporaryDownload&) = delete;
    TemporaryDownload& operator=(const TemporaryDownload&) = delete;

    bool isOpen() const { return m_file.is_open(); }
    std::ofstream* file() { return &m_file; }

    // Closes the file and renames it over the target; false when either fails.
    bool replace(const fs::path& target) {
        m_file.close();
        const bool closed = !m_file.fail();
        std::error_code ec;
        if (closed) fs::rename(m_path, target, ec);
        m_renamed = closed && !ec;
        return m_renamed;
    }

  private:
    fs::path m_path;
    std::ofstream m_file;
    bool m_renamed = false;
};

std::size_t lf_write(char* data, std::size_t size, std::size_t count, void* file) {
    // A short count makes libcurl stop with a write error.
    std::ofstream& out = *static_cast<std::ofstream*>(file);
    out.write(data, static_cast<std::streamsize>(size * count));
    return out ? size * count : 0;
}

int lf_stopCheck(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return gf_stopping() ? 1 : 0;
}

void lf_setOptions(CURL* curl, const std::string& url, std::ofstream* file, const DownloadLimits& limits) {
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "MRWV");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, lf_write);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytes);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, lf_stopCheck);
}

// libcurl's error text for a failed transfer, or the status of an answer that is no success
// (FAILONERROR catches 400 and above; a 3xx answer carries no file either). Empty on success.
std::string lf_transferError(CURL* curl, CURLcode result) {
    if (result != CURLE_OK) return curl_easy_strerror(result);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) return fmt::format("HTTP status {} is no success", status);
    return {};
}

}  // namespace

std::string gf_downloadsUrl() {
    const char* configured = std::getenv("MRW_DOWNLOAD_SITE");
    std::string site = configured && *configured ? configured : std::string(kDownloadSite);
    while (!site.empty() && site.back() == '/')
        site.pop_back();
    return site + "/downloads/";
}

Downloader::Downloader(DownloadLimits limits) : m_curl(nullptr), m_limits(limits) {
    lf_initCurlOnce();
    m_curl = curl_easy_init();
}

Downloader::~Downloader() {
    if (m_curl) curl_easy_cleanup(static_cast<CURL*>(m_curl));
}

bool Downloader::download(const std::string& url, const fs::path& target, bool binary) {
    if (!m_curl) return false;
    CURL* curl = static_cast<CURL*>(m_curl);
    try {
        TemporaryDownload temporary(target, binary);
        if (!temporary.isOpen()) {
            gf_logLine(fmt::format("Could not open output file: {}", path_to_utf8(target)));
            return false;
        }
        curl_easy_reset(curl);
        lf_setOptions(curl, url, temporary.file(), m_limits);
        const std::string error = lf_transferError(curl, curl_easy_perform(curl));
        if (!error.empty()) {
            gf_logLine(fmt::format("Download error: '{}' for {}", error, url));
            return false;
        }
        if (!temporary.replace(target)) {
            gf_logLine(fmt::format("Could not write output file: {}", path_to_utf8(target)));
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        gf_logLine(fmt::format("Downloader exception: '{}', {} => {}", e.what(), url, path_to_utf8(target)));
        return false;
    }
}

bool gf_downloadFromSite(std::string_view name, const fs::path& target) {
    const std::string url = fmt::format("{}{}/{}", gf_downloadsUrl(), g_programVersion.major, name);
    Downloader downloader;
    const bool ok = downloader.download(url, target, true);
    if (ok) {
        gf_logLine(fmt::format("Downloaded '{}' to '{}'", url, path_to_utf8(target)));
    } else {
        gf_logError(fmt::format("Downloading '{}' failed !", url));
    }
    return ok;
}

}  // namespace mrw
