#include "airports/airport_file.h"
#include "support/half_hours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "airports/airport_file_reader.h"
#include "airports/learned_airport_files.h"
#include "airports/park_airport_data.h"
#include "airports_test_support.h"
#include "config/data_file_meta.h"
#include "config/parameter_catalogue.h"

namespace mrw {
namespace {

namespace fs = std::filesystem;

using mrwtest::slots;

StandOption use(const char* registration, std::int32_t sequence, std::int32_t day, HalfHourSet halfHours,
                const char* callsign = "KLM1") {
    StandOption option;
    option.designation = {gf_airlineIndex("KLM"), 0, gf_modelIndex("B738"), 0, 1};
    option.registration = registration;
    option.callsign = callsign;
    option.halfHours = halfHours;
    option.sequence = sequence;
    option.day = day;
    option.origin = 1;
    return option;
}

Stand stand(const char* id, std::vector<StandOption> options = {}) {
    return Stand(std::move(options), id, 52.3086, 4.7639, std::numbers::pi / 2, 0.0108 / kNmPerMetre, 9, false, false,
                 false);
}

// name="value" of every attribute, in document order, joined by blanks.
std::string attributesOf(const pugi::xml_node& node) {
    std::string text;
    for (const pugi::xml_attribute attribute : node.attributes()) {
        if (!text.empty()) text += ' ';
        text += std::string(attribute.name()) + "=\"" + attribute.value() + "\"";
    }
    return text;
}

// name=value of every parameter, in document order, joined by blanks.
std::string parametersOf(const pugi::xml_document& document) {
    std::string text;
    for (const pugi::xml_node parameter : document.child("root").child("parameters").children("parameter")) {
        if (!text.empty()) text += ' ';
        text += std::string(parameter.attribute("name").value()) + "=" + parameter.attribute("value").value();
    }
    return text;
}

class AirportFileTest : public mrwtest::AirportsDataTest {
  protected:
    void TearDown() override {
        mrwtest::AirportsDataTest::TearDown();
        auto& settings = g_parameters();
        settings.RANGE.current = settings.RANGE.defaultValue;
        settings.AUTO_RANGE.current = settings.AUTO_RANGE.defaultValue;
        settings.WEEK.current = settings.WEEK.defaultValue;
        settings.PARK_SOFT.current = settings.PARK_SOFT.defaultValue;
        settings.parking_percentage.current = settings.parking_percentage.defaultValue;
        settings.INITIAL_LOAD_ONLY.current = settings.INITIAL_LOAD_ONLY.defaultValue;
        settings.MAX_FIT_FL.current = settings.MAX_FIT_FL.defaultValue;
        settings.MAX_LIVE_SEL.current = settings.MAX_LIVE_SEL.defaultValue;
    }

    pugi::xml_document saveAndLoad(const AirportFile& file, int mode, int sim = 1) {
        const fs::path path = folder / "airports" / "learned" / "stock" / "EHAM.xml";
        EXPECT_TRUE(file.save(path, mode, sim));
        pugi::xml_document document;
        EXPECT_TRUE(document.load_file(path.c_str()));
        return document;
    }

    AirportFile amsterdam() {
        AirportFile file;
        file.code = FixedCode<4>("EHAM");
        file.airportName = "Amsterdam Airport Schiphol";
        file.altitude = -11;
        return file;
    }
};

TEST_F(AirportFileTest, GeneratedFileHoldsMetaParametersAndFullStandDescriptions) {
    AirportFile file = amsterdam();
    file.bglPathText = "Community/eham-scenery/scenery/EHAM.bgl";
    file.manifest = ManifestData{"Schiphol", "1.2.3", "Maker", "Creator"};
    file.Facilities = true;
    file.stands.push_back(stand("A1", {use("PH-BXA", 1, 1, slots({14}))}));
    file.stands.push_back(Stand({}, "H1", 52.31, 4.76, 0.0, 10.0, 0, true, true, true));
    file.stands.back().manual = true;

    const fs::path path = folder / "airports" / "my_simaddon" / "EHAM.xml";
    ASSERT_TRUE(file.save(path, kApfGenerated, 2));
    const std::string text = mrwtest::readFile(path);
    EXPECT_EQ(text.substr(0, 22), "<?xml version=\"1.0\"?>\n");
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(text.c_str()));

    const std::optional<DataFileMeta> meta = gf_readMeta(document, false);
    ASSERT_TRUE(meta.has_value());
    EXPECT_EQ(meta->version, "12.6.0");
    EXPECT_EQ(meta->sim, 2);
    EXPECT_EQ(parametersOf(document),
              "icao=EHAM airport_name=Amsterdam Airport Schiphol publisher= version=1.2.3 altitude=-11 "
              "num_parkpos=2 Facilities=true BGLpath=Community/eham-scenery/scenery/EHAM.bgl "
              "manufacturer=Maker creator=Creator");
    const pugi::xml_node a1 = document.child("root").child("parkpositions").child("parkpos");
    EXPECT_EQ(attributesOf(a1),
              R"(id="A1" latitude="52.308600" longitude="4.763900" heading="90.0" radius="20.0" type="9" )"
              R"(cargo="false" ramp="false")");
    EXPECT_FALSE(a1.child("opt"));
    EXPECT_EQ(attributesOf(a1.next_sibling("parkpos")),
              R"(id="H1" latitude="52.310000" longitude="4.760000" heading="0.0" radius="10.0" type="0" )"
              R"(cargo="true" ramp="true" heli="true" manual="true")");
}

TEST_F(AirportFileTest, ParametersFollowPublisherHandmadeAndMode) {
    auto& settings = g_parameters();
    settings.RANGE.current = 25;
    settings.AUTO_RANGE.current = false;
    settings.WEEK.current = true;
    settings.PARK_SOFT.current = true;
    settings.parking_percentage.current = 50;
    settings.INITIAL_LOAD_ONLY.current = true;
    settings.MAX_FIT_FL.current = 2.5F;
    settings.MAX_LIVE_SEL.current = 75;
    const std::string learned =
        " RANGE=25 AUTO_RANGE=false WEEK=true PARK_SOFT=true parking_percentage=50 INITIAL_LOAD_ONLY=true "
        "MAX_FIT=4 MAX_LIVE_SEL=75";

    AirportFile stock = amsterdam();
    stock.publisher = "stock";
    stock.manifest = ManifestData{"t", "1.0.0", "m", "c"};
    EXPECT_EQ(parametersOf(saveAndLoad(stock, kApfLearned)),
              "icao=EHAM airport_name=Amsterdam Airport Schiphol publisher=stock" + learned);

    AirportFile thirdParty = stock;
    thirdParty.publisher = "orbx";
    thirdParty.Qf_real = 63;
    thirdParty.Qf_soft = -1;
    EXPECT_EQ(
        parametersOf(saveAndLoad(thirdParty, kApfLearned)),
        "icao=EHAM airport_name=Amsterdam Airport Schiphol publisher=orbx version=1.0.0 Facilities=false" +
            learned);

    g_handmade = true;
    EXPECT_EQ(parametersOf(saveAndLoad(thirdParty, kApfLearned)),
              "icao=EHAM airport_name=Amsterdam Airport Schiphol publisher=orbx version=1.0.0 handmade=true "
              "altitude=-11 Facilities=false Qf_real=63" +
                  learned);

    AirportFile unnamed;
    unnamed.Qf_real = 0;
    unnamed.Qf_soft = 12;
    EXPECT_EQ(parametersOf(saveAndLoad(unnamed, kApfGenerated)),
              "icao=     airport_name= publisher= handmade=true altitude=0 num_parkpos=0 Facilities=false "
              "Qf_real=0 Qf_soft=12 BGLpath=");
}

TEST_F(AirportFileTest, LearnedStandWithoutChangesHoldsOnlyItsIdAndUses) {
    AirportFile file = amsterdam();
    file.publisher = "stock";
    file.stands.push_back(stand("A1", {use("PH-BXA", 1, 1, slots({14, 15, 16, 17, 18, 19}))}));
    const pugi::xml_document document = saveAndLoad(file, kApfLearned);
    const pugi::xml_node parkpos = document.child("root").child("parkpositions").child("parkpos");
    EXPECT_EQ(attributesOf(parkpos), R"(id="A1")");
    EXPECT_EQ(attributesOf(parkpos.child("opt")), R"(reg="PH-BXA" day="1" hh="14:19" cs="KLM1")");
    EXPECT_FALSE(parkpos.child("opt").next_sibling());
}

TEST_F(AirportFileTest, LearnedStandDescriptionDependsOnManualHandmadeAndChanges) {
    const struct {
        bool manual;
        bool handmade;
        bool radiusChanged;
        bool cargoChanged;
        const char* attributes;
    } cases[] = {
        {false, false, false, false, R"(id="A1")"},
        {false, false, true, false, R"(id="A1" radius_change="true" radius="20.0")"},
        {false, false, false, true, R"(id="A1" cargo_change="true" cargo="true")"},
        {false, true, true, true,
         R"(id="A1" radius_change="true" radius="20.0" cargo_change="true" cargo="true")"},
        {false, true, false, false,
         R"(id="A1" latitude="52.308600" longitude="4.763900" heading="90.0" radius="20.0" type="9" cargo="true" ramp="false")"},
        {true, false, true, false,
         R"(id="A1" latitude="52.308600" longitude="4.763900" heading="90.0" radius="20.0" type="9" cargo="true" ramp="false" manual="true")"},
    };
    for (const auto& c : cases) {
        AirportFile file = amsterdam();
        file.stands.push_back(stand("A1"));
        Stand& a1 = file.stands.back();
        a1.cargo = true;
        a1.manual = c.manual;
        a1.radiusChanged = c.radiusChanged;
        a1.cargoChanged = c.cargoChanged;
        g_handmade = c.handmade;
        const pugi::xml_document document = saveAndLoad(file, kApfLearned);
        EXPECT_EQ(attributesOf(document.child("root").child("parkpositions").child("parkpos")), c.attributes);
    }
}

TEST_F(AirportFileTest, UsesAreWrittenWithTheirOptionalAttributes) {
    StandOption seen = use("D-AIBA", 2, 7, slots({3, 5}), "DLH4");
    seen.designation = {gf_airlineIndex("DLH"), 0, gf_modelIndex("A319"), 0, 0};
    seen.secondCallsign = "DLH5";
    seen.real = 0;
    seen.cpl = true;
    StandOption noCallsign = use("G-EUUA", 3, 2, slots({47}), "");
    noCallsign.secondCallsign = "BAW9";
    AirportFile file = amsterdam();
    file.stands.push_back(stand("A1", {seen, noCallsign}));
    const pugi::xml_document document = saveAndLoad(file, kApfLearned);
    const pugi::xml_node parkpos = document.child("root").child("parkpositions").child("parkpos");
    std::vector<std::string> options;
    for (const pugi::xml_node opt : parkpos.children("opt"))
        options.push_back(attributesOf(opt));
    EXPECT_EQ(
        options,
        (std::vector<std::string>{
            R"(reg="D-AIBA" airl="DLH" type="A319" soft="true" day="7" hh="3,5" cs="DLH4:DLH5" cpl="true")",
            R"(reg="G-EUUA" day="2" hh="47")"}));
}

TEST_F(AirportFileTest, InactiveUnregisteredAndEmptyUsesAreLeftOut) {
    AirportFile file = amsterdam();
    file.stands.push_back(
        stand("A1", {use("PH-BXA", 0, 1, slots({1})), use("", 2, 1, slots({2})),
                     use("PH-BXC", 3, 1, HalfHourSet{}, "KLM9"), use("PH-BXD", 4, 1, slots({4}))}));
    const pugi::xml_document document = saveAndLoad(file, kApfLearned);
    const pugi::xml_node parkpos = document.child("root").child("parkpositions").child("parkpos");
    std::vector<std::string> registrations;
    for (const pugi::xml_node opt : parkpos.children("opt"))
        registrations.push_back(opt.attribute("reg").value());
    EXPECT_EQ(registrations, std::vector<std::string>{"PH-BXD"});
    const std::string log = folder.logText();
    EXPECT_NE(log.find("==> bit set problem: KLM     B738.    PH-BXC KLM9\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("bit set problem", log.find("bit set problem") + 1), std::string::npos);
}

// An archived file with every parking type that changes the flags, helipads, and uses with runs,
// comma lists, soft and cpl uses and the three callsign forms.
constexpr const char* kArchivedFile = R"(<root><parameters/><parkpositions>
  <parkpos id="A1" latitude="52.308600" longitude="4.763900" heading="90.0" radius="20.0" type="9">
    <opt reg="PH-BXA" day="1" hh="14:19" cs="KLM1"/>
    <opt reg="PH-BXB" airl="KLM" type="B738" day="3" hh="0,2,4,47" cs="KLM2:KLM3" soft="true" cpl="true"/>
    <opt reg="G-EUUA" airl="BAW" type="A319" day="7" hh="30" cs="BAW9:"/>
  </parkpos>
  <parkpos id="C1" latitude="52.300000" longitude="4.750000" heading="271.5" radius="35.5" type="5" cargo="false">
    <opt reg="N123FE" airl="FDX" type="B77L" day="6" hh="40:47"/>
  </parkpos>
  <parkpos id="G1" latitude="52.310000" longitude="4.770000" heading="0.0" radius="12.0" type="0" cargo="true" ramp="true"/>
  <parkpos id="G2" latitude="52.311000" longitude="4.771000" heading="180.0" radius="10.0" type="3"/>
  <parkpos id="H1" latitude="52.312000" longitude="4.772000" heading="45.0" radius="15.0" type="11" heli="true">
    <opt reg="PH-EMA" airl="" type="EC35" day="2" hh="8,9,10,20"/>
  </parkpos>
</parkpositions></root>)";

void expectSameStands(const std::vector<Stand>& read, const std::vector<Stand>& readAgain) {
    ASSERT_EQ(read.size(), readAgain.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        const Stand& a = read[i];
        const Stand& b = readAgain[i];
        SCOPED_TRACE(a.id);
        EXPECT_EQ(a.id, b.id);
        EXPECT_DOUBLE_EQ(a.latitude, b.latitude);
        EXPECT_DOUBLE_EQ(a.longitude, b.longitude);
        EXPECT_NEAR(a.heading, b.heading, 1e-12);
        EXPECT_NEAR(a.radius, b.radius, 1e-12);
        EXPECT_EQ(a.type, b.type);
        EXPECT_EQ(a.cargo, b.cargo);
        EXPECT_EQ(a.ramp, b.ramp);
        EXPECT_EQ(a.heli, b.heli);
        ASSERT_EQ(a.options.size(), b.options.size());
        for (std::size_t j = 0; j < a.options.size(); ++j) {
            const StandOption& x = a.options[j];
            const StandOption& y = b.options[j];
            SCOPED_TRACE(x.registration);
            EXPECT_EQ(x.designation, y.designation);
            EXPECT_EQ(x.registration, y.registration);
            EXPECT_EQ(x.callsign, y.callsign);
            EXPECT_EQ(x.secondCallsign, y.secondCallsign);
            EXPECT_EQ(x.halfHours, y.halfHours);
            EXPECT_EQ(x.sequence, y.sequence);
            EXPECT_EQ(x.day, y.day);
            EXPECT_EQ(x.origin, y.origin);
            EXPECT_EQ(x.real, y.real);
            EXPECT_EQ(x.cpl, y.cpl);
        }
    }
}

TEST_F(AirportFileTest, HandmadeRoundTripKeepsEveryStandAndUse) {
    g_dbaseRecords() = {DbaseRecord{"PH-BXA", {gf_airlineIndex("KLM"), 0, gf_modelIndex("B738"), 0, 1}}};
    pugi::xml_document archived;
    ASSERT_TRUE(archived.load_string(kArchivedFile));
    gf_readParkPositions(archived);
    const std::vector<Stand> read = g_parkStands;
    ASSERT_EQ(read.size(), 5U);
    ASSERT_EQ(read[0].options.size(), 3U);

    g_handmade = true;  // every unchanged stand is written with its full description
    AirportFile file = amsterdam();
    file.stands = read;
    const pugi::xml_document saved = saveAndLoad(file, kApfLearned);
    g_parkStands.clear();
    gf_readParkPositions(saved);
    expectSameStands(read, g_parkStands);
}

TEST_F(AirportFileTest, FailedSaveIsReportedAsFalse) {
    AirportFile file = amsterdam();
    file.stands.push_back(stand("A1"));
    EXPECT_FALSE(file.save({}, kApfGenerated, 1));
    mrwtest::writeFile(folder / "airports", "a file where the folder should be");
    EXPECT_FALSE(file.save(folder / "airports" / "EHAM.xml", kApfGenerated, 1));

    const fs::path path = folder / "EHAM.xml";
    mrwtest::writeFile(path, "old");
    ASSERT_TRUE(file.save(path, kApfGenerated, 1));
    EXPECT_NE(mrwtest::readFile(path).find("<parkpos id=\"A1\""), std::string::npos);
}

}  // namespace
}  // namespace mrw
