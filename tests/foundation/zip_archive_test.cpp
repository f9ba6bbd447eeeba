#include "foundation/zip_archive.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::readFile;
using mrwtest::writeFile;

constexpr std::size_t kBound = 1 << 20;
const std::string kBinary("\x00PK\x03\x04\xff\r\n", 8);

// The message of the exception the call throws, or "no exception".
template <typename Call>
std::string lf_error(Call&& call) {
    try {
        call();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no exception";
}

class ZipArchiveTest : public ::testing::Test {
  protected:
    // An archive with a text entry in a folder, a binary entry and an empty one.
    void createSample(const fs::path& path) {
        ZipArchive archive = ZipArchive::create(path);
        archive.add("EHAM.xml", "<root/>");
        archive.add("dir/EGLL.xml", std::string(50000, 'g'));
        archive.add("binary.bin", kBinary);
        archive.add("empty.txt", "");
        archive.add("EHAM.xml", "<root>replaced</root>");
        archive.close();
    }

    mrwtest::ProgramFolder folder;
};

TEST_F(ZipArchiveTest, CreatedArchiveReadsBackEntryByEntry) {
    createSample("sample.zip");
    const ZipArchive archive = ZipArchive::openForReading("sample.zip");
    EXPECT_EQ(archive.entryNames(),
              (std::vector<std::string>{"EHAM.xml", "dir/EGLL.xml", "binary.bin", "empty.txt"}));
    EXPECT_EQ(archive.read("EHAM.xml", kBound), "<root>replaced</root>");
    EXPECT_EQ(archive.read("dir/EGLL.xml", kBound), std::string(50000, 'g'));
    EXPECT_EQ(archive.read("binary.bin", kBound), kBinary);
    EXPECT_EQ(archive.read("empty.txt", kBound), "");
    EXPECT_EQ(archive.read("missing.xml", kBound), std::nullopt);
    EXPECT_LT(fs::file_size(folder / "sample.zip"), 50000U) << "entries are compressed";
}

TEST_F(ZipArchiveTest, ExtractWritesTheEntryWhole) {
    createSample("sample.zip");
    const ZipArchive archive = ZipArchive::openForReading("sample.zip");
    writeFile(folder / "binary.bin", "old content that is longer than the entry");
    archive.extract("binary.bin", "binary.bin", kBound);
    EXPECT_EQ(readFile(folder / "binary.bin"), kBinary);
    EXPECT_EQ(lf_error([&] { archive.extract("missing.xml", "out.xml", kBound); }),
              "Zip archive sample.zip: no entry missing.xml");
    EXPECT_EQ(lf_error([&] { archive.extract("EHAM.xml", "nowhere/EHAM.xml", kBound); }),
              "Could not write output file: nowhere/EHAM.xml");
}

TEST_F(ZipArchiveTest, CreateReplacesAnExistingArchiveOnlyWhenClosed) {
    createSample("sample.zip");
    {
        ZipArchive discarded = ZipArchive::create("sample.zip");
        discarded.add("other.txt", "x");
    }  // not closed: nothing written
    EXPECT_EQ(ZipArchive::openForReading("sample.zip").entryNames().size(), 4U);

    ZipArchive archive = ZipArchive::create("sample.zip");
    archive.add("other.txt", "x");
    archive.close();
    EXPECT_EQ(ZipArchive::openForReading("sample.zip").entryNames(), std::vector<std::string>{"other.txt"});
    EXPECT_NE(lf_error([&] { archive.add("late.txt", "x"); }).find("already closed"), std::string::npos);
}

TEST_F(ZipArchiveTest, FailuresNameTheArchive) {
    const std::string missing = lf_error([] { ZipArchive::openForReading("missing.zip"); });
    EXPECT_EQ(missing.rfind("Zip archive missing.zip: ", 0), 0U) << missing;

    writeFile(folder / "not.zip", "this is no archive at all");
    const std::string notZip = lf_error([] { ZipArchive::openForReading("not.zip"); });
    EXPECT_EQ(notZip.rfind("Zip archive not.zip: ", 0), 0U) << notZip;

    // A missing folder shows when the archive is written (Linux) or already when it is made (libzip
    // on Windows): either way the error names the archive.
    const std::string writeError = lf_error([] {
        ZipArchive unwritable = ZipArchive::create("nowhere/out.zip");
        unwritable.add("a.txt", "a");
        unwritable.close();
    });
    EXPECT_EQ(writeError.rfind("Zip archive nowhere/out.zip: ", 0), 0U) << writeError;
    EXPECT_FALSE(fs::exists(folder / "nowhere"));
}

TEST_F(ZipArchiveTest, DamagedEntryIsReportedNotReturned) {
    {
        ZipArchive archive = ZipArchive::create("damaged.zip");
        archive.add("data.txt", std::string(20000, 'd') + "end");
        archive.close();
    }
    std::string bytes = readFile(folder / "damaged.zip");
    // The compressed data begins after the 30-byte local header and the entry's name.
    const std::size_t dataStart = 30 + std::string("data.txt").size();
    bytes[dataStart + 5] = static_cast<char>(bytes[dataStart + 5] ^ 0x55);
    writeFile(folder / "damaged.zip", bytes);

    const ZipArchive archive = ZipArchive::openForReading("damaged.zip");
    const std::string error = lf_error([&] { archive.read("data.txt", kBound); });
    EXPECT_EQ(error.rfind("Zip archive damaged.zip: ", 0), 0U) << error;
}

void lf_putUint32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A small archive whose entry declares far more bytes than it holds (720 MiB), and one that holds
// more than its reader allows: each is refused without reserving the declared size first.
TEST_F(ZipArchiveTest, EntrySizeIsBoundedByTheCaller) {
    {
        ZipArchive archive = ZipArchive::create("sizes.zip");
        archive.add("data.txt", std::string(2000, 's'));
        archive.close();
    }
    const std::string bytes = readFile(folder / "sizes.zip");
    EXPECT_EQ(lf_error([&] { ZipArchive::openForReading("sizes.zip").read("data.txt", 1999); }),
              "Zip archive sizes.zip: entry data.txt is larger than 1999 bytes");
    EXPECT_EQ(ZipArchive::openForReading("sizes.zip").read("data.txt", 2000), std::string(2000, 's'));

    std::string lying = bytes;
    constexpr std::uint32_t kDeclared = 720u << 20;
    lf_putUint32(lying, 22, kDeclared);  // the local header's uncompressed size
    const std::size_t central = lying.find(std::string("PK\x01\x02", 4));
    ASSERT_NE(central, std::string::npos);
    lf_putUint32(lying, central + 24, kDeclared);  // the central directory's
    writeFile(folder / "lying.zip", lying);
    const ZipArchive archive = ZipArchive::openForReading("lying.zip");
    EXPECT_EQ(lf_error([&] { archive.read("data.txt", 100); }),
              "Zip archive lying.zip: entry data.txt is larger than 100 bytes");
    const std::string error = lf_error([&] { archive.read("data.txt", std::size_t{1} << 30); });
    EXPECT_EQ(error.rfind("Zip archive lying.zip: entry data.txt is damaged: ", 0), 0U) << error;
}

}  // namespace
}  // namespace mrw
