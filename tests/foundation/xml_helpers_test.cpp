#include "foundation/xml_helpers.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace mrw {
namespace {

namespace fs = std::filesystem;

TEST(XmlHelpers, AttributeStringOfPresentAndMissingAttributes) {
    pugi::xml_document document;
    pugi::xml_node node = document.append_child("info");
    node.append_attribute("name") = "sim";
    EXPECT_EQ(gf_attributeString(node, "name"), "sim");
    EXPECT_EQ(gf_attributeString(node, "value"), "");
    EXPECT_EQ(gf_attributeString(pugi::xml_node(), "name"), "");
}

TEST(XmlHelpers, AppendAddsASecondAttributeWhereSetChangesTheFirst) {
    pugi::xml_document document;
    pugi::xml_node node = document.append_child("info");
    ASSERT_TRUE(gf_setOrAppendAttribute(node, "value", "1"));
    ASSERT_TRUE(gf_appendAttribute(node, "value", std::string("2")));
    ASSERT_TRUE(gf_appendAttribute(node, "value", std::string_view("3x").substr(0, 1)));
    ASSERT_TRUE(gf_setOrAppendAttribute(node, "value", "first"));

    std::vector<std::string> values;
    for (pugi::xml_attribute a : node.attributes())
        values.push_back(std::string(a.name()) + "=" + a.value());
    EXPECT_EQ(values, (std::vector<std::string>{"value=first", "value=2", "value=3"}));

    pugi::xml_node none;
    EXPECT_FALSE(gf_appendAttribute(none, "value", std::string("x")));
    EXPECT_FALSE(gf_setOrAppendAttribute(none, "value", "x"));
}

TEST(XmlHelpers, SaveWritesTheDeclarationAndIndentsByTwoBlanks) {
    const mrwtest::ProgramFolder folder;
    struct Case {
        const char* source;
        const char* expected;
    };
    const Case cases[] = {
        {"<root><meta a=\"1\"/></root>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n  <meta a=\"1\" />\n</root>\n"},
        {"<?xml version=\"1.1\"?><root/>", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root />\n"},
        {"<?xml version=\"1.1\" encoding=\"ISO-8859-1\" standalone=\"yes\"?><root>\xC3\xA9</root>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<root>\xC3\xA9</root>\n"},
    };
    for (const Case& c : cases) {
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(c.source, pugi::parse_default | pugi::parse_declaration))
            << c.source;
        ASSERT_TRUE(gf_saveXmlWithDeclaration(document, "out.xml"));
        EXPECT_EQ(mrwtest::readFile(folder / "out.xml"), c.expected);
    }
}

TEST(XmlHelpers, FailedSaveIsReportedAndLeavesNoFile) {
    const mrwtest::ProgramFolder folder;
    pugi::xml_document document;
    document.append_child("root");
    EXPECT_FALSE(gf_saveXmlWithDeclaration(document, "missing/out.xml"));
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

}  // namespace
}  // namespace mrw
