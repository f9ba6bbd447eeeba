#include "park_test_support.h"

#include <filesystem>
#include <sstream>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "airports/airport_file_lookup.h"
#include "airports/airports_database.h"
#include "airports/learned_airport_files.h"
#include "airports/park_airport_data.h"
#include "airports/park_airport_file.h"
#include "config/data_file_meta.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_registries.h"
#include "config/traffic_range.h"
#include "foundation/file_system.h"
#include "foundation/text_encoding.h"
#include "foundation/window_model.h"
#include "support/process_data_directory.h"
#include "support/test_support.h"

namespace mrwtest {

namespace {

std::vector<std::u16string> lf_texts(const std::vector<std::string>& texts) {
    std::vector<std::u16string> wide;
    for (const std::string& text : texts)
        wide.push_back(mrw::utf8_to_wide(text));
    return wide;
}

}  // namespace

// As the window creates its controls: combo boxes filled with the choices, buttons disabled.
ParkWindow::ParkWindow() {
    auto& s = mrw::g_parameters();
    for (mrw::CheckBoxParameter* box : {&s.AUTO_RANGE, &s.WEEK, &s.PARK_SOFT, &s.INITIAL_LOAD_ONLY})
        m_surface.bind(*box);
    for (mrw::IntComboParameter* combo :
         {&s.RANGE, &s.MAX_LIVE_SEL, &s.parking_percentage, &s.AR_ABOVE_HEIGHT}) {
        std::vector<std::string> texts;
        for (const int choice : combo->choices)
            texts.push_back(std::to_string(choice));
        m_surface.bind(*combo).texts = lf_texts(texts);
    }
    std::vector<std::string> fits;
    for (const float choice : s.MAX_FIT_FL.choices)
        fits.push_back(fmt::format("{:.1f}", choice));
    m_surface.bind(s.MAX_FIT_FL).texts = lf_texts(fits);
    for (mrw::PushButton* button : {&s.nowButton, &s.flushStaticButton})
        m_surface.bind(*button).enabled = false;  // as the window creates its buttons
}

bool ParkWindow::checked(const mrw::CheckBoxParameter& setting) {
    return m_surface.control(setting).checked;
}

std::string ParkWindow::selection(const mrw::ControlBinding& combo) {
    return m_surface.selectedText(combo);
}

bool ParkWindow::enabled(const mrw::ControlBinding& binding) {
    return m_surface.control(binding).enabled;
}

std::string parametersText() {
    return std::filesystem::exists(mrw::g_parametersFile()) ? readFile(mrw::g_parametersFile())
                                                            : std::string();
}

void resetParkState() {
    using namespace mrw;
    const auto reset = [](const auto& registry) {
        for (auto* p : registry)
            p->current = p->defaultValue;
    };
    auto& s = g_parameters();
    reset(g_checkBoxParameters());
    reset(g_intParameters());
    reset(g_intComboParameters());
    s.parking_percentage.current = s.parking_percentage.defaultValue;
    s.MAX_FIT_FL.current = s.MAX_FIT_FL.defaultValue;
    g_rangeNm = 40.0;
    g_rangeMeters = 74080;
    gf_setAutoRangeInputs({});
    g_parkAirport = {};
    g_parkApfInfo = {};
    g_parkFileLoaded = false;
    g_rtTrafficWeek = 0;
    g_userParameterValues.reset();
    gf_clearStands();
    g_handmade = false;
    g_groundElevation.reset();
    auto& window = g_mainWindow();
    window.standsCount = 0;
    window.parkPublisherText.set("");
    window.parkQualityText.set("");
    window.parkHandmade = 0;
}

std::string apfText(const std::string& version,
                    std::initializer_list<std::pair<const char*, std::string>> parameters,
                    const std::string& stands) {
    pugi::xml_document document;
    mrw::DataFileMeta meta;
    meta.version = version;
    meta.sim = 1;
    mrw::gf_writeMeta(document, meta);
    pugi::xml_node root = document.child("root");
    pugi::xml_node parameterList = root.append_child("parameters");
    for (const auto& [name, value] : parameters) {
        pugi::xml_node parameter = parameterList.append_child("parameter");
        parameter.append_attribute("name") = name;
        parameter.append_attribute("value") = value.c_str();
    }
    const std::string parkpositions = "<parkpositions>" + stands + "</parkpositions>";
    root.append_buffer(parkpositions.data(), parkpositions.size());
    std::ostringstream text;
    document.save(text);
    return text.str();
}

void ParkAirportTest::SetUp() {
    useProcessDataDirectory();
    std::filesystem::remove(mrw::g_parametersFile());
    resetAirportsData();
    resetParkState();
    for (const char* folderName : {"airports/my_simaddon", "airports/my_thirdparty", "airports/learned/stock",
                                   "airports/learned/simaddon", "airports/learned/thirdparty"})
        std::filesystem::create_directories(folderName);
    mrw::g_airports = {
        mrw::Airport{mrw::FixedCode<4>("EHAM"), mrw::FixedCode<3>("AMS"), 52.3086, 4.7639, -11.0F, 2}};
    mrw::g_parkAirport = mrw::g_airports.front();
}

void ParkAirportTest::TearDown() {
    resetParkState();
    resetAirportsData();
}

std::string ParkAirportTest::readParkFile() {
    return mrw::gf_readApf(mrw::gf_apfFileName(mrw::g_parkAirport.code), mrw::g_parkApfInfo);
}

}  // namespace mrwtest
