#include "aircraft/dbase_reader.h"
#include "aircraft/ac_category.h"
#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "aircraft/dbase_lookups.h"
#include "aircraft/prefix_groups.h"
#include "aircraft/publishers.h"
#include "aircraft/wingspans.h"
#include "foundation/file_names.h"
#include "foundation/user_error_exception.h"
#include "tools/encrypt-data/data_encryption.h"

#include "aircraft_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using mrw::AcCategory;
using mrw::AcDesignation;
using mrw::CodeIndex;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// The sections of a small database (real ICAO codes), by name; tests drop or replace sections.
std::map<std::string, std::string> fullSections() {
    return {
        {"aircrafts", R"(<aircraft types="B738,A320,A321,A319"/><aircraft types=" B744 , B77W,,C172"/>
                         <aircraft types="C25A,CONC,EC35,H60,A388"/><aircraft/>)"},
        {"cargo_types", R"(<cargo_type types="B77L,B744"/>)"},
        {"heavy", R"(<hvy types="B744,B77W,A388,B77L,H60"/>)"},
        {"large", R"(<lar types="A319,A320,A321,B738,A388"/>)"},
        {"buzjet", R"(<bzj types="C25A"/>)"},
        {"high_performance", R"(<hpf types="CONC"/>)"},
        {"rotorcraft", R"(<rot types="EC35,H60"/>)"},
        {"similar_types", R"(<similar types="A321, A320,A319"/><similar types=" A320 , A321,,A320"/>)"},
        {"prefixes", R"(<similar types="PH, D"/><similar types="G, EI, M"/><similar types="N"/>)"},
        {"ICAO_airlines", R"(<ICAO codes="KLM,DLH,BAW"/><ICAO codes="AFR,ZZZ,CLH"/>)"},
        {"cargo_operators", R"(<ICAO codes="FDX,UPS,KLM"/>)"},
        {"publishers", R"(<pub names="Beta Sim,BS"/><pub names="Alpha,AL"/><pub names="Beta Sim,BS"/>
                          <pub names=", Orbx ,"/><pub names=""/>)"},
        {"wingspans", R"(<wingspan type="B738" meters="35.8"/><wingspan type="A320" meters="36"/>
                         <wingspan type="B738" meters="40"/><wingspan type="ZZZZ" meters="30"/>)"},
        {"fixes", R"(<fx wro="B73X" cor="B738"/><fx wro="B73X" cor="A320"/><fx wro="A32X" cor="XXXX"/>)"},
        {"simaddons20", R"(<simaddon20 arpts="EHAM,EGLL"/>)"},
        {"simaddons24", R"(<simaddon24 arpts="EHAM,KJFK"/><simaddon24 arpts="LFPG"/>)"},
        {"thirdparties20",
         R"(<thirdpartie20 pub="Orbx" arpts="EGLC, EGKK"/><thirdpartie20 pub="Orbx" arpts=""/>)"},
        {"thirdparties24", R"(<thirdpartie24 pub="BS" arpts="EHRD"/>)"},
        {"dbase", R"(<d r="PH-BXA" a="KLM" m="B738"/>
                     <d r="D-ABCD" a="DLH" o="CLH" m="A320" c="true"/>
                     <d r="PH-BXA" a="KLM" m="B77W"/>
                     <d r="N123AB" a="FDX" m="B77L" c="1"/>
                     <d r="" a="KLM" m="A320"/>
                     <d r="PH-EXA" a="KLM"/>
                     <d r="F-HBXA" a="AFR" m="B73X"/>
                     <d r="HB-JXA" a="SWR" o="EDW" m="A20N"/>)"},
    };
}

std::string documentText(const std::map<std::string, std::string>& sections) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n";
    for (const auto& [name, body] : sections)
        text += "<" + name + ">" + body + "</" + name + ">\n";
    return text + "</root>\n";
}

class DbaseReaderTest : public ::testing::Test {
  protected:
    void SetUp() override { mrwtest::resetAircraftData(); }
    void TearDown() override { mrwtest::resetAircraftData(); }

    void writeEncrypted(const std::string& plain) {
        mrwtest::writeFile(folder / mrw::g_dbaseEncFile, mrw::gf_encryptData(plain));
    }
    bool plainFileExists() const { return fs::exists(folder / mrw::g_dbaseXmlFile); }
    static CodeIndex model(const char* code) { return *mrw::g_modelCodes().find(code); }
    static CodeIndex airline(const char* code) { return *mrw::g_airlineCodes().find(code); }

    mrwtest::LoggedProgramFolder folder;
};

TEST_F(DbaseReaderTest, ReadsEverySectionAndSeedsTheTables) {
    writeEncrypted(documentText(fullSections()));
    ASSERT_TRUE(mrw::gf_readDbase());
    EXPECT_FALSE(plainFileExists());
    EXPECT_TRUE(fs::exists(folder / mrw::g_dbaseEncFile));

    // Model table: empty code, aircrafts in byte order, then cargo models not yet present.
    EXPECT_EQ(mrw::g_icaoModels().size(), 12u);
    EXPECT_EQ(mrw::gf_modelIndex(""), 0);
    EXPECT_EQ(model("A319"), 1);
    EXPECT_EQ(model("H60"), 12);
    EXPECT_EQ(model("B744"), 6);  // listed in cargo_types too: keeps its aircrafts index
    EXPECT_EQ(model("B77L"), 13);
    EXPECT_TRUE(mrw::g_modelCodes().isLoaded());

    // Categories: large wins over heavy; heavy over rotorcraft.
    const std::vector<std::pair<const char*, AcCategory>> categories{
        {"A388", AcCategory::Large},      {"B744", AcCategory::Heavy},   {"H60", AcCategory::Heavy},
        {"EC35", AcCategory::Rotorcraft}, {"C25A", AcCategory::Buzjets}, {"CONC", AcCategory::HighPerf},
        {"C172", AcCategory::Light},
    };
    for (const auto& [code, category] : categories)
        EXPECT_EQ(mrw::gf_acCategory(model(code)), category) << code;

    // Groups keep empty parts and repeats, sorted.
    EXPECT_THAT(mrw::g_similarTypeGroups(),
                ElementsAre(ElementsAre("A319", "A320", "A321"), ElementsAre("", "A320", "A320", "A321")));
    EXPECT_THAT(mrw::g_prefixPeers().at("EI"), ElementsAre("G", "M"));

    // Airline table: empty code, ICAO_airlines in byte order, then cargo operators not yet present.
    EXPECT_EQ(airline("AFR"), 1);
    EXPECT_EQ(airline("ZZZ"), 6);
    EXPECT_EQ(airline("KLM"), 5);
    EXPECT_EQ(airline("FDX"), 7);
    EXPECT_EQ(airline("UPS"), 8);
    EXPECT_TRUE(mrw::g_airlineCodes().isLoaded());

    // Publishers: distinct texts in byte order; empty names and empty groups dropped.
    EXPECT_THAT(mrw::g_publisherGroups(),
                ElementsAre(ElementsAre("Orbx"), ElementsAre("Alpha", "AL"), ElementsAre("Beta Sim", "BS")));
    EXPECT_EQ(mrw::gf_publisherOfPath("Community/some-other-scenery"), std::nullopt);

    EXPECT_DOUBLE_EQ(mrw::gf_halfWingspanNm(model("A320")), 36 * 0.5 * mrw::kNmPerMetre);
    EXPECT_DOUBLE_EQ(mrw::gf_halfWingspanNm(model("B738")), 35.8 * 0.5 * mrw::kNmPerMetre);
    EXPECT_DOUBLE_EQ(mrw::g_maxHalfWingspan.load(), 40 * 0.5 * mrw::kNmPerMetre);

    EXPECT_EQ(mrw::g_modelFixes(), (std::map<std::string, std::string>{{"B73X", "B738"}}));
    EXPECT_EQ(mrw::g_simaddons20(), (mrw::CodeSet{"EGLL", "EHAM"}));
    EXPECT_EQ(mrw::g_simaddons24(), (mrw::CodeSet{"EHAM", "KJFK", "LFPG"}));
    ASSERT_EQ(mrw::g_thirdParties20().size(), 2u);
    EXPECT_THAT(mrw::g_thirdParties20()[0].airportCodes, ElementsAre("EGLC", "EGKK"));
    EXPECT_TRUE(mrw::g_thirdParties20()[1].airportCodes.empty());
    EXPECT_TRUE(mrw::gf_isThirdPartyAirport(false, "BS", "EHRD"));

    const std::string log = folder.logText();
    for (const char* line :
         {"\n\n   12 ICAO model codes\n", "\n    3 prefixes\n", "\n    6 ICAO airline codes\n",
          "\n    3 cargo operators\n", "\n    3 publishers\n", "\n    1 fixes\n", "\n3 simaddons24\n",
          "\n    5 dbase records read\n", "==> wingspan model ZZZZ is not valid, skipped\n",
          "==> wrong part of fix: 'B73X', already exists, skipped\n",
          "==> wrong fix A32X -> XXXX, the latter is not valid\n"}) {
        EXPECT_THAT(log, HasSubstr(line));
    }
}

TEST_F(DbaseReaderTest, RegistrationRecordsAreSortedCheckedAndTheFirstOfARegistrationWins) {
    writeEncrypted(documentText(fullSections()));
    ASSERT_TRUE(mrw::gf_readDbase());

    std::vector<std::string> registrations;
    for (const auto& record : mrw::g_dbaseRecords())
        registrations.push_back(record.registration);
    EXPECT_THAT(registrations, ElementsAre("D-ABCD", "F-HBXA", "HB-JXA", "N123AB", "PH-BXA"));

    EXPECT_EQ(mrw::gf_findDbaseRecord("PHBXA"), (AcDesignation{airline("KLM"), 0, model("B738"), 0, 1}));
    EXPECT_EQ(mrw::gf_findDbaseRecord("D-ABCD"),
              (AcDesignation{airline("DLH"), airline("CLH"), model("A320"), 1, 1}));
    EXPECT_EQ(mrw::gf_findDbaseRecord("N123AB"), (AcDesignation{airline("FDX"), 0, model("B77L"), 1, 1}));
    // The fix applies to record models; unknown codes are appended in the order a, o, m.
    EXPECT_EQ(mrw::gf_findDbaseRecord("FHBXA")->model, model("B738"));
    EXPECT_EQ(mrw::g_modelCodes().find("B73X"), std::nullopt);
    EXPECT_EQ(airline("EDW"), airline("SWR") + 1);
    EXPECT_EQ(model("A20N"), 14);

    // Records without registration or model are dropped: an empty key would be in every text.
    EXPECT_EQ(mrw::gf_findKeyInText("KLM Boeing 737-800"), std::nullopt);
    const std::string log = folder.logText();
    EXPECT_THAT(log, HasSubstr("==> dbase record r='' m='A320' is incomplete, skipped\n"));
    EXPECT_THAT(log, HasSubstr("==> dbase record r='PH-EXA' m='' is incomplete, skipped\n"));
}

TEST_F(DbaseReaderTest, OptionalSectionsMayBeAbsent) {
    auto sections = fullSections();
    for (const char* name : {"similar_types", "prefixes", "publishers", "wingspans", "fixes",
                             "thirdparties20", "thirdparties24", "dbase"}) {
        sections.erase(name);
    }
    writeEncrypted(documentText(sections));
    ASSERT_TRUE(mrw::gf_readDbase());

    EXPECT_TRUE(mrw::g_similarTypeGroups().empty());
    EXPECT_TRUE(mrw::g_dbaseRecords().empty());
    EXPECT_TRUE(mrw::gf_prefixGroup("PH").empty());
    EXPECT_EQ(mrw::g_maxHalfWingspan.load(), 0.0);
    const std::string log = folder.logText();
    EXPECT_THAT(log, HasSubstr("\n    0 prefixes\n"));
    EXPECT_THAT(log, HasSubstr("\n    0 publishers\n"));
    EXPECT_THAT(log, HasSubstr("\n    0 dbase records read\n"));
    EXPECT_THAT(log, Not(HasSubstr(" fixes\n")));
}

// Every way out of the reader leaves no plain dbase.xml behind.
TEST_F(DbaseReaderTest, FailuresReportTheirErrorAndRemoveThePlainFile) {
    struct Case {
        std::string name;
        std::string plain;
        std::string error;
    };
    auto withoutHeavy = fullSections();
    withoutHeavy.erase("heavy");
    auto emptyAircrafts = fullSections();
    emptyAircrafts["aircrafts"] = R"(<aircraft types=""/><aircraft types=" , "/><other types="A320"/>)";
    auto emptyRotorcraft = fullSections();
    emptyRotorcraft["rotorcraft"] = "";
    const std::vector<Case> cases{
        {"no root", "<?xml version=\"1.0\"?><base/>", "61: XML root missing: root"},
        {"no heavy", documentText(withoutHeavy), "61: Missing section: heavy"},
        {"empty aircrafts", documentText(emptyAircrafts),
         "61: In XML file section [aircrafts], element [aircraft], attribute [types] is empty."},
        {"empty rotorcraft", documentText(emptyRotorcraft),
         "61: In XML file section [rotorcraft], element [rot], attribute [types] is empty."},
    };
    for (const auto& c : cases) {
        mrwtest::resetAircraftData();
        writeEncrypted(c.plain);
        try {
            mrw::gf_readDbase();
            ADD_FAILURE() << c.name << ": no exception";
        } catch (const mrw::UserErrorException& e) {
            EXPECT_EQ(std::string(e.what()), c.error) << c.name;
        }
        EXPECT_FALSE(plainFileExists()) << c.name;
    }

    // Sections read before the missing one keep what they received.
    mrwtest::resetAircraftData();
    writeEncrypted(documentText(withoutHeavy));
    EXPECT_THROW(mrw::gf_readDbase(), mrw::UserErrorException);
    EXPECT_EQ(model("A319"), 1);
    EXPECT_EQ(model("B77L"), 13);
}

TEST_F(DbaseReaderTest, UnparsableFileGivesFalseAndLeavesEverythingEmpty) {
    writeEncrypted("<root><aircrafts><aircraft types=\"A320\"/></root>");
    EXPECT_FALSE(mrw::gf_readDbase());
    EXPECT_FALSE(plainFileExists());
    EXPECT_TRUE(mrw::g_icaoModels().empty());
    EXPECT_EQ(mrw::g_modelCodes().size(), 0u);
    EXPECT_EQ(mrw::g_airlineCodes().size(), 0u);
    EXPECT_THAT(folder.logText(),
                HasSubstr("==> '" + mrwtest::nativePath("input/dbase.xml") + "' not read because of "));
}

TEST_F(DbaseReaderTest, MissingOrUndecryptableEncryptedFileThrows) {
    try {
        mrw::gf_readDbase();
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), mrwtest::nativePath("input/dbase.enc") + " not available");
    }

    // Chunks of another size cannot be decrypted.
    mrwtest::writeFile(folder / mrw::g_dbaseEncFile, mrw::gf_encryptData(documentText(fullSections()), 1000));
    try {
        mrw::gf_readDbase();
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), mrwtest::nativePath("input/dbase.enc") + " stream decrypt failed");
    }
    EXPECT_FALSE(plainFileExists());
    EXPECT_TRUE(mrw::g_icaoModels().empty());
}

}  // namespace
