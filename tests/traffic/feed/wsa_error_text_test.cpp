#include "traffic/feed/wsa_error_text.h"

#include <gtest/gtest.h>

namespace {

TEST(WsaErrorText, CodeThenItsText) {
    EXPECT_EQ(mrw::gf_wsaErrorText(10060), "10060 Connection timed out");
    EXPECT_EQ(mrw::gf_wsaErrorText(10004), "10004 Interrupted system call");
    EXPECT_EQ(mrw::gf_wsaErrorText(10048), "10048 Address already in use");
    EXPECT_EQ(mrw::gf_wsaErrorText(11004), "11004 No host data of that type was found");
    EXPECT_EQ(mrw::gf_wsaErrorText(10000), "10000 Unknown errror code");
    EXPECT_EQ(mrw::gf_wsaErrorText(10072), "10072 Unknown errror code");
    EXPECT_EQ(mrw::gf_wsaErrorText(-1), "-1 Unknown errror code");
}

}  // namespace
