#include "foundation/network_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(NetworkTexts, QuotedTextsStopAfterTwoHundredBytesOnACharacterBoundary) {
    EXPECT_EQ(mrw::gf_quotedNetworkText("METAR KLAX"), "METAR KLAX");
    const std::string exact(200, 'a');
    EXPECT_EQ(mrw::gf_quotedNetworkText(exact), exact);
    EXPECT_EQ(mrw::gf_quotedNetworkText(exact + "b"), exact + "...");
    // A two-byte character across the limit is left out whole.
    const std::string split = std::string(199, 'a') + "\xC3\xA9" + "z";
    EXPECT_EQ(mrw::gf_quotedNetworkText(split), std::string(199, 'a') + "...");
}

}  // namespace
