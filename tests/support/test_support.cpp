#include "support/test_support.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace mrwtest {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("mrwtest-" + std::to_string(rd()));
        if (fs::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("TempDir: no free temporary folder name");
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

ScopedChdir::ScopedChdir(const fs::path& dir) : m_previous(fs::current_path()) {
    fs::current_path(dir);
}

ScopedChdir::~ScopedChdir() {
    std::error_code ec;
    fs::current_path(m_previous, ec);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const fs::path& path, std::string_view bytes) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("writeFile failed: " + path.string());
}

std::string nativePath(std::string_view generic) {
    const std::u8string text = fs::path(std::u8string(generic.begin(), generic.end())).make_preferred().u8string();
    return std::string(text.begin(), text.end());
}

std::string asTextFileBytes(std::string_view text) {
    const TempDir dir;
    const fs::path file = dir / "text.txt";
    {
        std::ofstream out(file, std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    return readFile(file);
}

std::vector<std::string> readLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace mrwtest
