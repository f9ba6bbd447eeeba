#include "foundation/data_decryption.h"

#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "support/test_support.h"
#include "tools/encrypt-data/data_encryption.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::readFile;
using mrwtest::writeFile;

// Plain text of a given length with a pattern that shows shifted or lost bytes.
std::string lf_plain(std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>('a' + (i * 7 + i / 4096) % 26);
    return text;
}

class DataDecryptionTest : public ::testing::Test {
  protected:
    DataDecryptionTest() { gf_openLog(); }

    // Decrypts the given file content into input/dbase.xml and returns the result.
    bool decrypt(const std::string& encrypted) {
        writeFile(folder / g_dbaseEncFile, encrypted);
        return gf_streamDecrypt(g_dbaseEncFile, g_dbaseXmlFile);
    }
    bool logHas(const std::string& line) const {
        return readFile(folder / "Log.txt").find(line + "\n") != std::string::npos;
    }
    // A failure logs its reason and leaves no plain file, not even the one of an earlier run.
    void expectFailure(const std::string& encrypted, const std::string& reason) {
        writeFile(folder / g_dbaseXmlFile, "stale plain text");
        EXPECT_FALSE(decrypt(encrypted)) << reason;
        EXPECT_TRUE(logHas("gf_streamDecrypt exception: " + reason)) << readFile(folder / "Log.txt");
        EXPECT_FALSE(fs::exists(folder / g_dbaseXmlFile)) << reason;
        EXPECT_EQ(fs::directory_iterator(folder / g_inputFolder)->path().filename(), "dbase.enc")
            << "no temporary file may stay behind";
    }

    mrwtest::ProgramFolder folder;
};

TEST_F(DataDecryptionTest, RoundTripGivesExactlyThePlainText) {
    for (const FinalChunk finalChunk : {FinalChunk::LastPiece, FinalChunk::Empty}) {
        for (const std::size_t size : {0UL, 1UL, 4095UL, 4096UL, 4097UL, 8192UL, 3 * 4096UL + 123}) {
            const std::string plain = lf_plain(size);
            ASSERT_TRUE(decrypt(gf_encryptData(plain, kDataPlainChunkBytes, finalChunk))) << size;
            EXPECT_EQ(readFile(folder / g_dbaseXmlFile), plain) << size;
        }
    }
}

TEST_F(DataDecryptionTest, ReplacesAnExistingPlainFile) {
    writeFile(folder / g_dbaseXmlFile, std::string(10000, 'x'));
    ASSERT_TRUE(decrypt(gf_encryptData("<root/>")));
    EXPECT_EQ(readFile(folder / g_dbaseXmlFile), "<root/>");
}

TEST_F(DataDecryptionTest, BytesAfterAFullFinalChunkAreIgnored) {
    const std::string plain = lf_plain(2 * 4096);
    ASSERT_TRUE(decrypt(gf_encryptData(plain) + "trailing bytes"));
    EXPECT_EQ(readFile(folder / g_dbaseXmlFile), plain);
    ASSERT_TRUE(decrypt(gf_encryptData(plain) + std::string(5000, 'x')));
    EXPECT_EQ(readFile(folder / g_dbaseXmlFile), plain);
}

TEST_F(DataDecryptionTest, BytesGluedToAShortFinalChunkBreakIt) {
    // Chunks carry no length: bytes read together with a short final chunk make it a damaged chunk.
    expectFailure(gf_encryptData(lf_plain(5000)) + "trailing bytes", "Decryption failed");
}

TEST_F(DataDecryptionTest, MissingInputFileFails) {
    writeFile(folder / g_dbaseXmlFile, "stale");
    EXPECT_FALSE(gf_streamDecrypt(g_dbaseEncFile, g_dbaseXmlFile));
    EXPECT_TRUE(logHas("gf_streamDecrypt exception: Could not open input file: " + path_to_utf8(g_dbaseEncFile)));
    EXPECT_FALSE(fs::exists(folder / g_dbaseXmlFile));
}

TEST_F(DataDecryptionTest, OutputInAMissingFolderFails) {
    writeFile(folder / g_dbaseEncFile, gf_encryptData("<root/>"));
    EXPECT_FALSE(gf_streamDecrypt(g_dbaseEncFile, "nowhere/dbase.xml"));
    EXPECT_TRUE(logHas("gf_streamDecrypt exception: Could not open output file: nowhere/dbase.xml"));
}

TEST_F(DataDecryptionTest, ChangedByteInAnyChunkFails) {
    const std::string encrypted = gf_encryptData(lf_plain(2 * 4096 + 100));
    // In the header, the first chunk, a middle chunk and the final chunk.
    for (const std::size_t offset :
         std::initializer_list<std::size_t>{5, 24 + 10, 24 + 4113 + 4000, encrypted.size() - 1}) {
        std::string damaged = encrypted;
        damaged[offset] = static_cast<char>(damaged[offset] ^ 0x01);
        expectFailure(damaged, "Decryption failed");
    }
}

TEST_F(DataDecryptionTest, IncompleteFilesFail) {
    const std::string encrypted = gf_encryptData(lf_plain(2 * 4096 + 100));
    ASSERT_EQ(encrypted.size(), 24 + 2 * 4113 + 117);
    expectFailure("", "Input file is shorter than its header");
    expectFailure(encrypted.substr(0, 23), "Input file is shorter than its header");
    expectFailure(encrypted.substr(0, 24), "Input file ends without a final chunk");
    // Cut right after a full chunk: every chunk read decrypts, but the final one never comes.
    expectFailure(encrypted.substr(0, 24 + 4113), "Input file ends without a final chunk");
    expectFailure(encrypted.substr(0, 24 + 2 * 4113), "Input file ends without a final chunk");
    // Cut inside a chunk.
    expectFailure(encrypted.substr(0, 24 + 4113 + 50), "Decryption failed");
}

TEST_F(DataDecryptionTest, OtherChunkSizeFailsAtTheFirstChunk) {
    expectFailure(gf_encryptData(lf_plain(10000), 1024), "Decryption failed");
    expectFailure(gf_encryptData(lf_plain(10000), 8192), "Decryption failed");
}

TEST_F(DataDecryptionTest, FileOfAnotherKeyFails) {
    std::string encrypted = gf_encryptData("<root/>");
    // A file made with another key: same layout, different header and authentication.
    for (std::size_t i = 0; i < 24; ++i)
        encrypted[i] = static_cast<char>(i);
    expectFailure(encrypted, "Decryption failed");
}

TEST(DataKey, AssembledFromItsPartsTheSameEveryTime) {
    DataKey first{};
    DataKey second{};
    gf_assembleDataKey(first);
    gf_assembleDataKey(second);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, DataKey{});
}

}  // namespace
}  // namespace mrw
