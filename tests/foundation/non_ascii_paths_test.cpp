// Folders with names beyond ASCII (Japanese, German): the program's UTF-8 path text must name the
// same folder on every platform. On Windows, path(std::string) and path::string() use the ANSI code
// page instead, which garbles these names; the tests catch a return to them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "foundation/file_replace.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"
#include "foundation/zip_archive.h"
#include "support/test_support.h"

namespace mrw {
namespace {

namespace fs = std::filesystem;

// "日本語のフォルダ" and "Müller": three-byte and two-byte UTF-8.
const std::string kFolderNames[] = {
    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x95\xE3\x82\xA9"
    "\xE3\x83\xAB\xE3\x83\x80",
    "M\xC3\xBCller"};

TEST(NonAsciiPaths, TheUtf8TextNamesTheFolderOnDisk) {
    for (const std::string& name : kFolderNames) {
        const mrwtest::TempDir dir;
        const fs::path folder = dir / utf8_to_path(name);
        ASSERT_TRUE(fs::create_directories(folder)) << name;
        EXPECT_EQ(path_to_utf8(folder.filename()), name);
        EXPECT_EQ(utf8_to_path(path_to_utf8(folder)), folder) << name;
        // The name as the file system lists it.
        const fs::directory_iterator first(dir.path());
        ASSERT_NE(first, fs::directory_iterator());
        EXPECT_EQ(path_to_utf8(first->path().filename()), name);
    }
}

TEST(NonAsciiPaths, FilesAreWrittenAndReadInTheFolder) {
    for (const std::string& name : kFolderNames) {
        const mrwtest::TempDir dir;
        const fs::path folder = dir / utf8_to_path(name);
        fs::create_directories(folder);

        ASSERT_TRUE(gf_replaceFile(folder / "parameters.xml", "<x/>")) << name;
        EXPECT_EQ(mrwtest::readFile(folder / "parameters.xml"), "<x/>");

        ASSERT_TRUE(gf_writeTextLine("line", folder / utf8_to_path(name + ".txt"))) << name;
        LineList lines;
        ASSERT_TRUE(gf_readTextLines(kCharsetUtf8, folder / utf8_to_path(name + ".txt"), lines)) << name;
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines.front(), "line");

        ZipArchive created = ZipArchive::create(folder / "tblo.zip");
        created.add("KLAX.xml", "<airport/>");
        created.close();
        const ZipArchive read = ZipArchive::openForReading(folder / "tblo.zip");
        EXPECT_EQ(read.read("KLAX.xml", 100), "<airport/>") << name;
    }
}

}  // namespace
}  // namespace mrw
