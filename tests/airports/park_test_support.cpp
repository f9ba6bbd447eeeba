#include "park_test_support.h"

#include <filesystem>
#include <sstream>

#include <pugixml.hpp>

#include "airports/airport_file_lookup.h"
#include "airports/airports_database.h"
#include "airports/learned_airport_files.h"
#include "airports/park_airport_data.h"
#include "airports/park_airport_file.h"
#include "app/main_window.h"
#include "config/data_file_meta.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_registries.h"
#include "config/traffic_range.h"
#include "foundation/file_system.h"
#include "foundation/text_encoding.h"
#include "platform/win32/standin.h"
#include "platform/win32/user32.h"
#include "support/process_data_directory.h"
#include "support/test_support.h"
#include "support/test_window.h"

namespace mrwtest {

namespace {

const char16_t* lf_windowClass() {
    return registerTestWindowClass(u"MrwParkTest", DefWindowProcW) ? u"MrwParkTest" : nullptr;
}

// The window's own control creation stores each handle in the setting's binding; so does this.
HWND lf_control(HWND parent, const char16_t* className, DWORD style, mrw::ControlBinding& binding) {
    return binding.hwnd = CreateWindowExW(
               0, className, u"", WS_CHILD | WS_VISIBLE | style, 10, binding.rowY, 100, 200, parent,
               reinterpret_cast<HMENU>(static_cast<INT_PTR>(binding.controlId)), nullptr, nullptr);
}

void lf_addItem(HWND combo, const std::string& text) {
    const std::u16string wide = mrw::utf8_to_wide(text);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void lf_intCombo(HWND parent, mrw::IntComboParameter& setting) {
    HWND combo = lf_control(parent, u"ComboBox", CBS_DROPDOWNLIST, setting);
    for (const int choice : setting.choices)
        lf_addItem(combo, std::to_string(choice));
}

void lf_floatCombo(HWND parent, mrw::FloatComboParameter& setting) {
    HWND combo = lf_control(parent, u"ComboBox", CBS_DROPDOWNLIST, setting);
    for (const float choice : setting.choices) {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", static_cast<double>(choice));
        lf_addItem(combo, text);
    }
}

}  // namespace

ParkWindow::ParkWindow() {
    HWND window = CreateWindowExW(0, lf_windowClass(), u"", WS_VISIBLE, 0, 0, 880, 516, nullptr, nullptr,
                                  nullptr, nullptr);
    mrw::g_mainWindowView().hwnd = window;
    auto& s = mrw::g_parameters();
    for (mrw::CheckBoxParameter* box : {&s.AUTO_RANGE, &s.WEEK, &s.PARK_SOFT, &s.INITIAL_LOAD_ONLY})
        lf_control(window, u"button", BS_CHECKBOX, *box);
    for (mrw::IntComboParameter* combo :
         {&s.RANGE, &s.MAX_LIVE_SEL, &s.parking_percentage, &s.AR_ABOVE_HEIGHT})
        lf_intCombo(window, *combo);
    lf_floatCombo(window, s.MAX_FIT_FL);
    for (mrw::PushButton* button : {&s.nowButton, &s.flushStaticButton})
        lf_control(window, u"button", BS_PUSHBUTTON, *button);
}

ParkWindow::~ParkWindow() {
    auto& s = mrw::g_parameters();
    for (mrw::ControlBinding* binding : std::initializer_list<mrw::ControlBinding*>{
             &s.AUTO_RANGE, &s.WEEK, &s.PARK_SOFT, &s.INITIAL_LOAD_ONLY, &s.RANGE, &s.MAX_LIVE_SEL,
             &s.parking_percentage, &s.AR_ABOVE_HEIGHT, &s.MAX_FIT_FL, &s.nowButton, &s.flushStaticButton})
        binding->hwnd = nullptr;
    mrw::g_mainWindowView().hwnd = nullptr;
    standin::destroyAllWindows();
}

bool ParkWindow::checked(const mrw::CheckBoxParameter& setting) const {
    return SendMessageW(setting.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string ParkWindow::selection(const mrw::ControlBinding& combo) const {
    HWND control = combo.hwnd;
    const LRESULT index = SendMessageW(control, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return {};
    char16_t buffer[64] = {};
    const LRESULT length =
        SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return mrw::wide_to_utf8(std::u16string(buffer, static_cast<std::size_t>(length)));
}

bool ParkWindow::enabled(const mrw::ControlBinding& binding) const {
    return IsWindowEnabled(binding.hwnd) != FALSE;
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
