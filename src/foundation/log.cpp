#include "foundation/log.h"

#include "foundation/file_names.h"
#include "foundation/file_replace.h"
#include "foundation/text_encoding.h"
#include "foundation/thread_safety.h"
#include "foundation/time_texts.h"
#include "foundation/version_data.h"

#include <fmt/format.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

namespace mrw {

namespace fs = std::filesystem;

std::ofstream& g_logStream() {
    static auto* stream = new std::ofstream();  // never destroyed: see the header
    return *stream;
}

Mutex& g_logMutex() {
    static auto* mutex = new Mutex();  // never destroyed: see the header
    return *mutex;
}

namespace {

void lf_writeLine(std::string_view prefix, std::string_view text) {
    MutexLock lock(g_logMutex());
    std::ofstream& out = g_logStream();
    if (!out.is_open()) return;
    out << prefix << text << '\n';
    out.flush();
}

// The path text with `insert` placed before its last '.', or nothing when it has no dot.
std::optional<std::string> lf_generationName(const std::string& pathText, std::string_view insert) {
    const auto dot = pathText.rfind('.');
    if (dot == std::string::npos) return std::nullopt;
    std::string name = pathText;
    name.insert(dot, insert);
    return name;
}

enum class CopyResult { copied, sourceMissing, failed };

CopyResult lf_copyGeneration(const std::string& source, const std::string& target) {
    std::error_code ec;
    const auto status = fs::status(utf8_to_path(source), ec);
    if (ec && ec != std::errc::no_such_file_or_directory) {
        gf_logError(fmt::format("exists({}): {}", source, ec.message()));
        return CopyResult::failed;
    }
    if (!fs::exists(status)) return CopyResult::sourceMissing;
    gf_copyFileOver(utf8_to_path(source), utf8_to_path(target), ec);
    if (ec) {
        gf_logError(fmt::format("copy {} -> {} failed: {}", source, target, ec.message()));
        return CopyResult::failed;
    }
    return CopyResult::copied;
}

}  // namespace

void gf_logLine(std::string_view text) {
    lf_writeLine({}, text);
}
void gf_logError(std::string_view text) {
    lf_writeLine("==> ", text);
}
void gf_logIndented(std::string_view text) {
    lf_writeLine("          ", text);
}

void gf_openLog() {
    gf_saveUpto3GenerationsOf(g_logFile);
    {
        MutexLock lock(g_logMutex());
        if (g_logStream().is_open()) g_logStream().close();  // the process opens it once; tests reopen it
        g_logStream().open(g_logFile, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!g_logStream().is_open())
            throw std::runtime_error("Failed to write file " + path_to_utf8(g_logFile));
    }
    gf_logLine(fmt::format("{} (utc) {} version {} for {}", gf_ctimeUtc(gf_wallClockSeconds()), "Merrowvale",
                           g_programVersion.toString(), "MSFS 2020/2024"));
}

bool gf_save1GenerationOf(const fs::path& path) {
    const std::string text = path_to_utf8(path);
    const auto target = lf_generationName(text, "0");
    if (!target) {
        gf_logError(fmt::format("gf_save1GenerationOf: no dot in filename: {}", text));
        return false;
    }
    return lf_copyGeneration(text, *target) != CopyResult::failed;
}

bool gf_saveUpto3GenerationsOf(const fs::path& path) {
    const std::string text = path_to_utf8(path);
    const auto gen0 = lf_generationName(text, "0");
    if (!gen0) {
        gf_logError(fmt::format("gf_saveUpto3GenerationsOf: no dot in filename: {}", text));
        return false;
    }
    const std::string gen00 = *lf_generationName(text, "00");
    const std::string gen000 = *lf_generationName(text, "000");
    bool ok = true;
    ok &= lf_copyGeneration(gen00, gen000) != CopyResult::failed;
    ok &= lf_copyGeneration(*gen0, gen00) != CopyResult::failed;
    ok &= lf_copyGeneration(text, *gen0) != CopyResult::failed;
    return ok;
}

}  // namespace mrw
