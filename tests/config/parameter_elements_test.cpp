#include "config/parameter_elements.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace mrw {
namespace {

TEST(ParameterElements, ReadersAndAppendersServeDocumentsWithoutRoot) {
    // An airport file keeps the same elements under its own `parameters`, without root.
    pugi::xml_document document;
    pugi::xml_node parameters = document.append_child("parameters");
    EXPECT_TRUE(gf_appendIntParameter(parameters, "RANGE", -5));
    EXPECT_TRUE(gf_appendBoolParameter(parameters, "WEEK", true));
    pugi::xml_node nameless = parameters.append_child("parameter");
    nameless.append_attribute("value").set_value("9");
    EXPECT_EQ(gf_readIntParameter(document, "RANGE"), -5);
    EXPECT_EQ(gf_readBoolParameter(document, "WEEK"), true);
    EXPECT_EQ(gf_readStringParameter(document, "RANGE"), "-5");
    EXPECT_EQ(gf_readIntParameter(document, "range"), std::nullopt);  // names match exactly
    EXPECT_EQ(gf_readIntParameter(document, ""), 9);                  // a missing name is the empty text
    const pugi::xml_node first = parameters.first_child();
    EXPECT_STREQ(first.first_attribute().name(), "name");
    EXPECT_STREQ(first.last_attribute().name(), "value");
}

TEST(ParameterElements, LookupPrefersTheParametersUnderRoot) {
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(
        "<root><parameters><parameter name=\"WEEK\" value=\"yes\"/><parameter name=\"WEEK\" value=\"no\"/>"
        "<parameter name=\"RANGE\"/></parameters></root>"
        "<parameters><parameter name=\"AIRP_RANGE\" value=\"5\"/></parameters>"));
    EXPECT_EQ(gf_readBoolParameter(document, "WEEK"), true);  // the first match counts
    EXPECT_EQ(gf_readIntParameter(document, "RANGE"), 0);     // found without a value
    EXPECT_EQ(gf_readStringParameter(document, "RANGE"), "");
    EXPECT_EQ(gf_readIntParameter(document, "AIRP_RANGE"), std::nullopt);  // not under root
    EXPECT_EQ(gf_readIntParameter(document, "MISSING"), std::nullopt);
}

}  // namespace
}  // namespace mrw
