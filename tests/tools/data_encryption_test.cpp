#include "tools/encrypt-data/data_encryption.h"

#include "foundation/data_decryption.h"
#include "foundation/log.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace mrw {
namespace {

namespace fs = std::filesystem;

TEST(DataEncryption, LayoutIsHeaderFullChunksAndFinalRemainder) {
    struct Case {
        std::size_t plainSize;
        std::size_t chunkSize;
        FinalChunk finalChunk;
        std::size_t encryptedSize;
    };
    const Case cases[] = {
        {0, 4096, FinalChunk::LastPiece, 24 + 17},
        {100, 4096, FinalChunk::LastPiece, 24 + 117},
        {4096, 4096, FinalChunk::LastPiece, 24 + 4113},
        {2 * 4096 + 5, 4096, FinalChunk::LastPiece, 24 + 2 * 4113 + 22},
        {9, 3, FinalChunk::LastPiece, 24 + 3 * 20},
        {10, 3, FinalChunk::LastPiece, 24 + 3 * 20 + 18},
        {0, 4096, FinalChunk::Empty, 24 + 17},
        {100, 4096, FinalChunk::Empty, 24 + 117},
        {4096, 4096, FinalChunk::Empty, 24 + 4113 + 17},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gf_encryptData(std::string(c.plainSize, 'p'), c.chunkSize, c.finalChunk).size(),
                  c.encryptedSize)
            << c.plainSize << " in chunks of " << c.chunkSize;
    }
}

TEST(DataEncryption, EachEncryptionIsFresh) {
    // A new header (nonce) each time: equal plain texts never give equal files.
    EXPECT_NE(gf_encryptData("<root/>"), gf_encryptData("<root/>"));
}

TEST(DataEncryption, ZeroChunkSizeIsRefused) {
    EXPECT_THROW(gf_encryptData("x", 0), std::runtime_error);
}

TEST(DataEncryption, FileRoundTripThroughTheProgramsDecryption) {
    const mrwtest::ProgramFolder folder;
    gf_openLog();
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n  <a code=\"\xC3\x84\"/>\n</root>\n";
    mrwtest::writeFile(folder / "plain.xml", xml);
    gf_encryptDataFile("plain.xml", "data.enc");
    ASSERT_TRUE(gf_streamDecrypt("data.enc", "decrypted.xml"));
    EXPECT_EQ(mrwtest::readFile(folder / "decrypted.xml"), xml);
}

TEST(DataEncryption, FileErrorsNameTheFile) {
    const mrwtest::ProgramFolder folder;
    try {
        gf_encryptDataFile("missing.xml", "data.enc");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Could not open input file: missing.xml");
    }
    mrwtest::writeFile(folder / "plain.xml", "<root/>");
    try {
        gf_encryptDataFile("plain.xml", "nowhere/data.enc");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Could not write output file: nowhere/data.enc");
    }
    EXPECT_FALSE(fs::exists(folder / "data.enc"));
}

}  // namespace
}  // namespace mrw
