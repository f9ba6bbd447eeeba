#include "config/parameters_xml.h"

#include "config/parameter_catalogue.h"
#include "config/parameter_registries.h"
#include "foundation/run_state.h"
#include "foundation/text_encoding.h"
#include "support/config_test_support.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::writeFile;

// The (name, value) pairs of root/parameters/parameter in file order; `root` tells whether the file
// has the new form.
struct StoredFile {
    bool root = false;
    std::vector<std::pair<std::string, std::string>> parameters;
};

StoredFile lf_readStored(const fs::path& path) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_file(path.c_str())) << path;
    StoredFile stored;
    stored.root = static_cast<bool>(document.child("root"));
    const pugi::xml_node parameters =
        stored.root ? document.child("root").child("parameters") : document.child("parameters");
    for (pugi::xml_node p : parameters.children("parameter")) {
        stored.parameters.emplace_back(p.attribute("name").value(), p.attribute("value").value());
    }
    return stored;
}

std::string lf_value(const StoredFile& stored, const std::string& name) {
    for (const auto& [n, v] : stored.parameters) {
        if (n == name) return v;
    }
    return "<missing>";
}

std::string lf_oneParameterFile(const std::string& element) {
    return "<?xml version=\"1.0\"?>\n<root><parameters>" + element + "</parameters></root>\n";
}

using ParametersXml = mrwtest::ConfigTest;

TEST_F(ParametersXml, MissingFileWritesTheSixtyOneDefaults) {
    ParameterCatalogue& p = g_parameters();
    p.RANGE.current = 8;  // a save-all with defaults writes defaults, whatever the current values are
    EXPECT_TRUE(gf_loadParameters());

    const std::string text = parametersText();
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text;
    const StoredFile stored = lf_readStored(parametersFile());
    EXPECT_TRUE(stored.root);
    ASSERT_EQ(stored.parameters.size(), 61u);
    EXPECT_EQ(stored.parameters.front(), (std::pair<std::string, std::string>{"RANDOM", "true"}));
    EXPECT_EQ(stored.parameters[22].first, "MAIN_WINDOW_X");
    EXPECT_EQ(stored.parameters.back(), (std::pair<std::string, std::string>{"SIM_CHOICE", "MSFS 2020"}));
    EXPECT_EQ(lf_value(stored, "RANGE"), "40");
    EXPECT_EQ(lf_value(stored, "CUSTOM_PARKING_PERCENTAGE"), "-1");
    EXPECT_EQ(lf_value(stored, "LAST_EPOCH_TIME:"), "0");
    EXPECT_EQ(lf_value(stored, "PROGRAM_VERSION"), "12.6.0");
    EXPECT_EQ(lf_value(stored, "parking_percentage"), "<missing>");
    // The in-memory values stay as they were.
    EXPECT_EQ(p.PROGRAM_VERSION.current.get(), "");
    EXPECT_EQ(p.PROGRAM_VERSION.defaultValue.get(), "12.6.0");
    EXPECT_EQ(p.RANGE.current, 8);

    const std::string log = this->log();
    const std::string opening = "\n" + std::string(34, '*') + " parameters " + std::string(34, '*') + "\n";
    const std::string created =
        path_to_utf8(parametersFile()) + " not found, creating new with default values:\n";
    EXPECT_NE(log.find(opening + created), std::string::npos) << log;
    EXPECT_NE(log.find("\nRANDOM=true\nALWAYS_ON_TOP=false\n"), std::string::npos);
    EXPECT_NE(log.find("\nLAST_EPOCH_TIME:=0\n"), std::string::npos);
    EXPECT_NE(log.find("\nRANGE=8\n"), std::string::npos);  // value lines show the current value
    EXPECT_NE(log.find("\nPORT_NUMBER=\"10747\"\n"), std::string::npos);
    EXPECT_NE(log.find("\nSIM_CHOICE=\"MSFS 2020\"\n"), std::string::npos);
    const std::string closing = std::string(80, '*') + "\n\n";
    EXPECT_EQ(log.substr(log.size() - closing.size()), closing) << log;
    EXPECT_EQ(log.find("from '"), std::string::npos);
}

TEST_F(ParametersXml, LoadConvertsClampsAndAddsMissingSettings) {
    struct Case {
        std::string element;
        std::string setting;
        std::string expected;  // the current value after the load, as text
    };
    const Case cases[] = {
        {R"(<parameter name="RANGE" value="500"/>)", "RANGE", "100"},
        {R"(<parameter name="RANGE" value="1"/>)", "RANGE", "2"},
        {R"(<parameter name="RANGE" value="7"/>)", "RANGE", "7"},  // no choice, but inside the limits
        {R"(<parameter name="MAX_HOLDING_MINUTES" value="abc"/>)", "MAX_HOLDING_MINUTES", "1"},
        {R"(<parameter name="MAIN_WINDOW_X" value="abc"/>)", "MAIN_WINDOW_X", "0"},
        {R"(<parameter name="MAIN_WINDOW_Y" value="-99999"/>)", "MAIN_WINDOW_Y", "-30000"},
        {R"(<parameter name="OBJECTID_LIST" value="yes"/>)", "OBJECTID_LIST", "true"},
        {R"(<parameter name="OBJECTID_LIST" value="Tru"/>)", "OBJECTID_LIST", "true"},
        {R"(<parameter name="RANDOM" value="no"/>)", "RANDOM", "false"},
        {R"(<parameter name="RANDOM" value=""/>)", "RANDOM", "false"},
        {R"(<parameter name="RANDOM"/>)", "RANDOM", "false"},  // found without a value
        {R"(<parameter name="DESTINATION" value=" EHAM "/>)", "DESTINATION", " EHAM "},
        {R"(<parameter name="SIM_CHOICE"/>)", "SIM_CHOICE", ""},
    };
    ParameterCatalogue& p = g_parameters();
    const auto currentText = [&](const std::string& name) -> std::string {
        if (name == "RANGE") return std::to_string(p.RANGE.current);
        if (name == "MAX_HOLDING_MINUTES") return std::to_string(p.MAX_HOLDING_MINUTES.current);
        if (name == "MAIN_WINDOW_X") return std::to_string(g_parameters().mainWindowX.current);
        if (name == "MAIN_WINDOW_Y") return std::to_string(g_parameters().mainWindowY.current);
        if (name == "OBJECTID_LIST") return p.OBJECTID_LIST.current ? "true" : "false";
        if (name == "RANDOM") return p.RANDOM.current ? "true" : "false";
        if (name == "DESTINATION") return p.DESTINATION.current.get();
        return p.SIM_CHOICE.current.get();
    };
    for (const Case& c : cases) {
        mrwtest::resetSettings();
        writeFile(parametersFile(), lf_oneParameterFile(c.element));
        EXPECT_FALSE(gf_loadParameters()) << c.element;
        EXPECT_EQ(currentText(c.setting), c.expected) << c.element;
        // Every missing setting was added with its default; the found one was not added again.
        const StoredFile stored = lf_readStored(parametersFile());
        EXPECT_EQ(stored.parameters.size(), 61u) << c.element;
        EXPECT_EQ(stored.parameters.front().first, c.setting) << c.element;
    }
    EXPECT_NE(log().find("from '" + path_to_utf8(parametersFile()) + "'\n"), std::string::npos);
}

TEST_F(ParametersXml, LoadKeepsUnknownElementsAndAddsTheColonName) {
    writeFile(parametersFile(), lf_oneParameterFile(R"(<parameter name="LAST_EPOCH_TIME" value="77"/>)"
                                                    R"(<parameter name="MY_OWN" value="x"/><note a="1"/>)"));
    gf_loadParameters();
    EXPECT_EQ(g_parameters().LAST_EPOCH_TIME.current, 0);  // the name without the colon is not the setting
    const StoredFile stored = lf_readStored(parametersFile());
    EXPECT_EQ(lf_value(stored, "LAST_EPOCH_TIME"), "77");
    EXPECT_EQ(lf_value(stored, "LAST_EPOCH_TIME:"), "0");
    EXPECT_EQ(lf_value(stored, "MY_OWN"), "x");
    EXPECT_NE(parametersText().find("<note a=\"1\""), std::string::npos);
}

TEST_F(ParametersXml, DuplicateSettingLoadsTheFirstAndSavesBoth) {
    writeFile(parametersFile(), lf_oneParameterFile(R"(<parameter name="RANGE" value="10"/>)"
                                                    R"(<parameter name="RANGE" value="20"/>)"));
    gf_loadParameters();
    IntComboParameter& range = g_parameters().RANGE;
    EXPECT_EQ(range.current, 10);
    range.current = 65;
    range.save();
    const StoredFile stored = lf_readStored(parametersFile());
    int found = 0;
    for (const auto& [name, value] : stored.parameters) {
        if (name != "RANGE") continue;
        EXPECT_EQ(value, "65");
        ++found;
    }
    EXPECT_EQ(found, 2);
    EXPECT_NE(log().find("\nRANGE=65\n"), std::string::npos);
}

// The old format has `parameters` at the top. A load reads it and saves it back unchanged in form;
// the first save of one value wraps everything the file holds under a new root, with the new value.
TEST_F(ParametersXml, OldFormatIsReadAndRewrittenKeepingEveryElement) {
    writeFile(parametersFile(),
              "<parameters><parameter name=\"RANGE\" value=\"12\"/><parameter name=\"MY_OWN\" value=\"x\"/>"
              "<parameter name=\"DESTINATION\" value=\"EDDF\"/></parameters>\n");
    // A save before any load (the in-memory values are still defaults) must not lose the stored ones.
    g_parameters().AEROWINX.current = true;
    g_parameters().AEROWINX.save();
    StoredFile stored = lf_readStored(parametersFile());
    EXPECT_TRUE(stored.root);
    EXPECT_EQ(stored.parameters,
              (std::vector<std::pair<std::string, std::string>>{
                  {"RANGE", "12"}, {"MY_OWN", "x"}, {"DESTINATION", "EDDF"}, {"AEROWINX", "true"}}));
    EXPECT_NE(
        log().find("\nPlacing a root level around a new parameters.xml to make it 100% xml compliance\n"),
        std::string::npos);

    // A load of an old-format file keeps its form.
    writeFile(parametersFile(), "<parameters><parameter name=\"RANGE\" value=\"12\"/></parameters>\n");
    EXPECT_FALSE(gf_loadParameters());
    EXPECT_EQ(g_parameters().RANGE.current, 12);
    stored = lf_readStored(parametersFile());
    EXPECT_FALSE(stored.root);
    EXPECT_EQ(stored.parameters.size(), 61u);
}

TEST_F(ParametersXml, UnparsableFileIsKeptAsGenerationZero) {
    const std::string broken = "<root><parameters><parameter name=\"RANGE\" value=\"12\"";
    writeFile(parametersFile(), broken);
    EXPECT_TRUE(gf_loadParameters());
    EXPECT_EQ(mrwtest::readFile(keptGeneration()), broken);
    EXPECT_EQ(lf_readStored(parametersFile()).parameters.size(), 61u);
    EXPECT_NE(log().find("==> " + path_to_utf8(parametersFile()) + " failed to load ("), std::string::npos);

    // A save of one value into an unparsable file keeps it too, then holds only that value.
    fs::remove(keptGeneration());
    writeFile(parametersFile(), broken);
    g_parameters().BLOCK_CALLSIGN.setAndSave("KLM123");
    EXPECT_EQ(mrwtest::readFile(keptGeneration()), broken);
    EXPECT_EQ(lf_readStored(parametersFile()).parameters,
              (std::vector<std::pair<std::string, std::string>>{{"BLOCK_CALLSIGN", "KLM123"}}));
}

TEST_F(ParametersXml, SaveOfOneValueIntoAMissingFileAndWhileClosing) {
    g_parameters().mainWindowX.current = -120;
    g_parameters().mainWindowX.save();
    EXPECT_EQ(lf_readStored(parametersFile()).parameters,
              (std::vector<std::pair<std::string, std::string>>{{"MAIN_WINDOW_X", "-120"}}));
    EXPECT_NE(log().find("\nMAIN_WINDOW_X=-120\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(keptGeneration()));  // a missing file is nothing to keep

    g_windowClosing = true;
    g_parameters().DESTINATION.setAndSave("");
    g_windowClosing = false;
    EXPECT_EQ(lf_value(lf_readStored(parametersFile()), "DESTINATION"), "");
    EXPECT_EQ(log().find("DESTINATION="), std::string::npos);
}

TEST_F(ParametersXml, SaveAllWritesCurrentValuesAndDropsUnknownElements) {
    writeFile(parametersFile(), lf_oneParameterFile(R"(<parameter name="MY_OWN" value="x"/>)"));
    g_parameters().WEEK.current = true;
    g_parameters().lfolder[3].current.set("D:\\liveries");
    gf_saveParameters(false);
    const StoredFile stored = lf_readStored(parametersFile());
    EXPECT_EQ(stored.parameters.size(), 61u);
    EXPECT_EQ(lf_value(stored, "WEEK"), "true");
    EXPECT_EQ(lf_value(stored, "lfolder3"), "D:\\liveries");
    EXPECT_EQ(lf_value(stored, "MY_OWN"), "<missing>");
    EXPECT_EQ(lf_value(stored, "PROGRAM_VERSION"), "");  // only a save-all with defaults sets it
}

// The UI thread and the main worker save single values at the same time: no save may read a
// half-written file, and no setting may be lost.
TEST_F(ParametersXml, ConcurrentSavesNeverLoseASetting) {
    gf_loadParameters();
    constexpr int kRounds = 60;
    // Only this thread writes its setting, so after its own save the file must hold its value until
    // it saves again, whatever the other thread saves meanwhile.
    const auto saveAndCheck = [](auto& setting, auto value, const std::string& text) {
        setting.current = value;
        setting.save();
        pugi::xml_document document;
        EXPECT_TRUE(gf_loadParametersDocument(document));
        EXPECT_EQ(gf_readStringParameter(document, setting.name), text);
    };
    std::thread ui([&] {
        for (int i = 0; i < kRounds; ++i) {
            const bool on = (i % 2) == 0;
            saveAndCheck(g_parameters().ALWAYS_ON_TOP, on, on ? "true" : "false");
        }
    });
    std::thread worker([&] {
        for (int i = 0; i < kRounds; ++i)
            saveAndCheck(g_parameters().MAX_FIT, i % 48, std::to_string(i % 48));
    });
    ui.join();
    worker.join();
    const StoredFile stored = lf_readStored(parametersFile());
    EXPECT_EQ(stored.parameters.size(), 61u);
    EXPECT_EQ(lf_value(stored, "ALWAYS_ON_TOP"), "false");
    EXPECT_EQ(lf_value(stored, "MAX_FIT"), std::to_string((kRounds - 1) % 48));
    EXPECT_EQ(lf_value(stored, "PORT_NUMBER"), "10747");
    EXPECT_FALSE(fs::exists(keptGeneration()));
}

}  // namespace
}  // namespace mrw
