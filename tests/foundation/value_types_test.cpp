#include "foundation/fixed_code.h"
#include "foundation/log.h"
#include "foundation/user_error_exception.h"
#include "foundation/version_data.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace mrw {
namespace {

TEST(FixedCodeTest, BuildsUpperCaseCodeFromExactLengthText) {
    EXPECT_EQ(FixedCode<4>("abcd").view(), "ABCD");
    EXPECT_EQ(FixedCode<3>("k7x").view(), "K7X");
    EXPECT_EQ(FixedCode<4>("EHAM"), "EHAM");
}

TEST(FixedCodeTest, RejectsWrongLengthOrCharset) {
    for (const char* text : {"EHAM ", "EHA", "EH_M", "", "EHä"}) {
        EXPECT_THROW(FixedCode<4>{text}, std::invalid_argument) << text;
    }
    try {
        FixedCode<4> code("EHAM ");
        FAIL();
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "'EHAM ' FixedCode: invalid string (length/charset)");
    }
}

TEST(FixedCodeTest, EmptyCodePrintsCompareAndHashesAsBlanks) {
    const FixedCode<4> empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.view(), "    ");
    EXPECT_TRUE(empty == "    ");
    EXPECT_EQ(fmt::format("[{}]", empty), "[    ]");
    EXPECT_LT(empty, FixedCode<4>("0000"));

    std::uint64_t blanksHash = 0xcbf29ce484222325ULL;
    for (int i = 0; i < 4; ++i)
        blanksHash = (blanksHash ^ ' ') * 0x100000001b3ULL;
    EXPECT_EQ(empty.hash(), blanksHash);
}

TEST(FixedCodeTest, OrdersByteByByteAndWorksInHashSets) {
    EXPECT_LT(FixedCode<4>("EHAM"), FixedCode<4>("EHBK"));
    EXPECT_GT(FixedCode<4>("EHAM"), FixedCode<4>("EGLL"));
    std::unordered_set<FixedCode<4>> set{FixedCode<4>("EHAM"), FixedCode<4>("eham"), FixedCode<4>("EGLL")};
    EXPECT_EQ(set.size(), 2u);
}

TEST(UserErrorExceptionTest, TextCarriesTheNumberUnless99) {
    struct Case {
        int number;
        std::string message;
        std::string expected;
    };
    for (const Case& c : {Case{41, "x", "41: x"}, Case{99, "x", "x"}, Case{2024, "", "2024: "}}) {
        const UserErrorException e(c.number, c.message);
        EXPECT_EQ(std::string(e.what()), c.expected);
    }
    EXPECT_TRUE(gf_isUserError(UserErrorException(2024, ""), 2024));
    EXPECT_FALSE(gf_isUserError(UserErrorException(202, "4"), 2024));
    EXPECT_FALSE(gf_isUserError(UserErrorException(41, "x"), 4));
}

class VersionDataTest : public ::testing::Test {
  protected:
    VersionDataTest() { gf_openLog(); }
    mrwtest::ProgramFolder folder;

    std::string log() const { return mrwtest::readFile(folder / "Log.txt"); }
};

TEST_F(VersionDataTest, ParsesTextAndJsonForms) {
    struct Case {
        std::string text;
        VersionData expected;
        std::string logLine;  // empty: no exception line expected
    };
    const std::vector<Case> cases = {
        {"12.6.0", {12, 6, 0}, ""},
        {"", {0, 0, 0}, ""},
        {" 12.6.0", {0, 0, 0}, "VersionData exception: invalid version format"},
        {"12.6", {0, 0, 0}, "VersionData exception: invalid version format"},
        {"12.6.0.1", {0, 0, 0}, "VersionData exception: invalid version format"},
        {"v12.6.0", {0, 0, 0}, "VersionData exception: invalid version format"},
        {"99999999999.1.1", {0, 0, 0}, "VersionData exception: parse error in version string"},
        {" {\"major\": 11, \"minor\": 10, \"patch\": 0}\n", {11, 10, 0}, ""},
        {"{\"major\": 11, \"minor\": 10.5, \"patch\": 0}", {11, 0, 0}, ""},
        {"{\"major\": 11, \"minor\": \"10\"}", {11, 0, 0}, ""},
        {"[1, 2, 3]", {0, 0, 0}, "VersionData exception: invalid version format"},
        {"{not json", {0, 0, 0}, "VersionData exception: invalid version format"},
    };
    for (const Case& c : cases) {
        const auto before = log().size();
        const VersionData version(c.text);
        EXPECT_EQ(version, c.expected) << c.text;
        const std::string added = log().substr(before);
        if (c.logLine.empty()) {
            EXPECT_EQ(added, "") << c.text;
        } else {
            EXPECT_EQ(added, c.logLine + "\n") << c.text;
        }
    }
}

TEST(VersionDataOrderTest, ComparesAsTriples) {
    EXPECT_LT(VersionData(11, 10, 0), VersionData(12, 6, 0));
    EXPECT_LT(VersionData(12, 6, 0), VersionData(12, 6, 1));
    EXPECT_LT(VersionData(12, 6, 0), VersionData(12, 10, 0));
    EXPECT_EQ(g_programVersion.toString(), "12.6.0");
}

}  // namespace
}  // namespace mrw
