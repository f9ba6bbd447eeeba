#include "foundation/text_helpers.h"

#include "foundation/simulator_choice.h"

#include <gtest/gtest.h>
#include <gsl/narrow>

#include <climits>
#include <cstdint>

namespace mrw {
namespace {

using Parts = std::vector<std::string>;

TEST(TextHelpers, TrimRemovesOnlyTheFourTrimCharacters) {
    EXPECT_EQ(gf_trim(" \t x y \r\n"), "x y");
    EXPECT_EQ(gf_trim("\fx"), "\fx");  // a form feed is not in the trim set
    EXPECT_EQ(gf_trim(" \t\r\n"), "");
    EXPECT_EQ(gf_trim(""), "");
}

TEST(TextHelpers, SplitCommaKeepsEmptyPartsInOrder) {
    EXPECT_EQ(gf_splitComma(" a , b,,c,"), (Parts{"a", "b", "", "c", ""}));
    EXPECT_EQ(gf_splitComma(""), Parts{});
    EXPECT_EQ(gf_splitComma(" single "), Parts{"single"});
    EXPECT_EQ(gf_splitComma(","), (Parts{"", ""}));
}

TEST(TextHelpers, SplitCommaToListSortsAndDropsRepeats) {
    EXPECT_EQ(gf_splitCommaToList("b,a,b"), (std::list<std::string>{"a", "b"}));
    EXPECT_EQ(gf_splitCommaToList("B, a ,b"), (std::list<std::string>{"B", "a", "b"}));
}

TEST(TextHelpers, NormaliseCommaListOnlyWhenATrimCharacterOccurs) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"a, b ,c", "a,b,c"}, {"a,,b", "a,,b"}, {"a , ,b", "a,,b"}, {"x\ty", "x\ty"}, {"", ""},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        gf_normaliseCommaList(text);
        EXPECT_EQ(text, c.out) << "input '" << c.in << "'";
    }
}

TEST(TextHelpers, CaseBlindComparisonsAndStar) {
    EXPECT_TRUE(gf_upperEquals(".XML", ".xMl"));
    EXPECT_FALSE(gf_upperEquals(".XML", ".xm"));
    EXPECT_FALSE(gf_upperEquals(".XML", ".XMLX"));
    EXPECT_EQ(gf_toUpperChar('q'), 'Q');
    EXPECT_EQ(gf_toUpperChar('7'), '7');
    EXPECT_EQ(gf_toUpperChar('\xE9'), '\xE9');  // only ASCII letters change
    EXPECT_TRUE(gf_equalsWithStar("B738", "B738*"));
    EXPECT_FALSE(gf_equalsWithStar("B738", "B738"));
    EXPECT_FALSE(gf_equalsWithStar("B738", "B737*"));
    EXPECT_FALSE(gf_equalsWithStar("B738", "B738**"));
}

TEST(TextHelpers, PluralS) {
    EXPECT_EQ(gf_pluralS(0), "s");
    EXPECT_EQ(gf_pluralS(1), "");
    EXPECT_EQ(gf_pluralS(2), "s");
    EXPECT_EQ(gf_pluralS(-3), "");
    EXPECT_EQ(gf_pluralS(std::int64_t{-1}), "");
    EXPECT_EQ(gf_pluralS(std::uint64_t{1}), "");
    EXPECT_EQ(gf_pluralS(std::uint64_t{0}), "s");
    EXPECT_EQ(gf_pluralS(UINT64_MAX), "s");
}

TEST(TextHelpers, NumberTexts) {
    EXPECT_EQ(gf_numberText(2.0f), "2");
    EXPECT_EQ(gf_numberText(2.5f), "2.5");
    EXPECT_EQ(gf_numberText(0.5f), "0.5");
    EXPECT_EQ(gf_formatUnsigned("{:04}", 7u), "0007");
    EXPECT_EQ(gf_formatUnsigned("id {:x}", 255u), "id ff");
}

TEST(TextHelpers, IdTextFollowsTheSelectedSimulator) {
    const bool before = g_msfs2020.load();
    g_msfs2020 = true;
    EXPECT_EQ(gf_idText(255), "255");
    g_msfs2020 = false;
    EXPECT_EQ(gf_idText(255), "ff");
    g_msfs2020 = before;
}

TEST(TextHelpers, Percent) {
    EXPECT_EQ(gf_percent(1, 3), 33);
    EXPECT_EQ(gf_percent(2, 3), 67);
    EXPECT_EQ(gf_percent(1, 0), 0);
    EXPECT_EQ(gf_percent(1, -5), 0);
    EXPECT_EQ(gf_percent(1, 2), 50);
    EXPECT_EQ(gf_percent(1, 200), 1);    // 0.5 rounds away from zero
    EXPECT_EQ(gf_percent(-1, 200), -1);  // and so does -0.5
    EXPECT_THROW(gf_percent(INT64_MAX / 2, 1), gsl::narrowing_error);
}

TEST(TextHelpers, StarBanners) {
    EXPECT_EQ(gf_starBanner(20, 0, false, false, ""), std::string(20, '*'));
    EXPECT_EQ(gf_starBanner(20, 1, false, false, "x"), std::string(10, '*') + " x " + std::string(10, '*'));
    EXPECT_EQ(gf_starBanner(10, 0, true, true, "a long title"), "\na long title\n");
    const std::string opening = gf_starBanner(70, 0, true, false, "parameters");
    EXPECT_EQ(opening, "\n" + std::string(34, '*') + " parameters " + std::string(34, '*'));
    EXPECT_EQ(opening.size(), 81u);
    EXPECT_EQ(gf_starBanner(70, 10, false, true, ""), std::string(80, '*') + "\n");
}

}  // namespace
}  // namespace mrw
