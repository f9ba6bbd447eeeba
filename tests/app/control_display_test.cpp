// The settings' controls as the window shows them, through its control surface over the Win32
// stand-in: combo-box fills, check boxes and the texts that a load of parameters.xml writes into the
// controls.
#include "app/main_window.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_display.h"
#include "config/parameters_xml.h"
#include "platform/win32/standin.h"
#include "platform/win32/win32.h"
#include "support/config_test_support.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace mrw {
namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

LRESULT lf_parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A parent window that stands in for the main window, with helpers to create bound controls; every
// binding and the main window's handle are cleared again at the end.
class ControlDisplay : public mrwtest::ConfigTest {
  protected:
    ControlDisplay() {
        m_parent = mrwtest::createTestWindow(u"MrwConfigTestParent", lf_parentProc);
        EXPECT_NE(m_parent, nullptr);
        g_mainWindowView().hwnd = m_parent;
    }
    ~ControlDisplay() override {
        for (ControlBinding* binding : m_bound)
            binding->hwnd = nullptr;
        g_mainWindowView().hwnd = nullptr;
        standin::destroyAllWindows();
    }

    HWND create(ControlBinding& binding, const char16_t* className, DWORD style) {
        binding.hwnd = CreateWindowExW(0, className, u"", kChild | style, 0, binding.rowY, 100, 20, m_parent,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(binding.controlId)),
                                       nullptr, nullptr);
        EXPECT_NE(binding.hwnd, nullptr);
        m_bound.push_back(&binding);
        return binding.hwnd;
    }
    HWND createCombo(ControlBinding& binding) { return create(binding, u"ComboBox", CBS_DROPDOWNLIST); }

    static std::vector<std::u16string> items(HWND combo) {
        std::vector<std::u16string> texts;
        const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::u16string text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)), u'\0');
            std::vector<char16_t> buffer(text.size() + 1);
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
            texts.emplace_back(buffer.data());
        }
        return texts;
    }
    static LRESULT selection(HWND combo) { return SendMessageW(combo, CB_GETCURSEL, 0, 0); }
    static std::u16string text(HWND window) {
        std::vector<char16_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
        GetWindowTextW(window, buffer.data(), static_cast<INT>(buffer.size()));
        return buffer.data();
    }

    HWND m_parent = nullptr;
    std::vector<ControlBinding*> m_bound;
};

TEST_F(ControlDisplay, IntComboFillSelectsTheEqualChoiceOrNone) {
    IntComboParameter& range = g_parameters().RANGE;
    const HWND combo = createCombo(range);
    range.fillCombo();
    const auto texts = items(combo);
    ASSERT_EQ(texts.size(), 20u);
    EXPECT_EQ(texts.front(), u"2");
    EXPECT_EQ(texts.back(), u"100");
    EXPECT_EQ(selection(combo), 15);  // 40

    range.current = 7;  // inside the limits but no choice: the list is refilled and nothing selected
    range.fillCombo();
    EXPECT_EQ(items(combo).size(), 20u);
    EXPECT_EQ(selection(combo), CB_ERR);

    IntComboParameter& percentage = g_parameters().parking_percentage;
    const HWND percentages = createCombo(percentage);
    percentage.fillCombo();
    EXPECT_EQ(items(percentages)[1], u"5");
    EXPECT_EQ(selection(percentages), 6);  // 30
}

TEST_F(ControlDisplay, StringComboFillSelectsByCaseBlindPrefixAndIndexOfCurrentCorrects) {
    StringComboParameter& selector = g_parameters().AI_PACKAGE_SELECTOR;
    const HWND combo = createCombo(selector);
    selector.current.set("AIG, FSLTL");
    selector.fillCombo();
    ASSERT_EQ(items(combo).size(), 64u);
    EXPECT_EQ(selection(combo), 0);  // "AIG, FSLTL, JF, MTL" begins with the current text
    const auto exact = selector.indexOfCurrent();
    ASSERT_EQ(exact, 48u);
    SendMessageW(combo, CB_SETCURSEL, *exact, 0);
    EXPECT_EQ(selection(combo), 48);

    StringComboParameter& sim = g_parameters().SIM_CHOICE;
    const HWND simCombo = createCombo(sim);
    sim.current.set("msfs 2024");
    sim.fillCombo();
    EXPECT_EQ(items(simCombo), (std::vector<std::u16string>{u"MSFS 2020", u"MSFS 2024"}));
    EXPECT_EQ(selection(simCombo), 1);
    EXPECT_EQ(sim.indexOfCurrent(), std::nullopt);
}

TEST_F(ControlDisplay, SharedComboShowsTheListAtTheMomentOfTheFill) {
    SharedComboParameter& callsigns = g_parameters().CALLSIGN_2_OBJECTID;
    const HWND combo = createCombo(callsigns);
    g_callsignChoices().replace({"BAW12", "KLM1", "KLM123"});
    callsigns.current.set("KLM1");
    callsigns.fillCombo();
    EXPECT_EQ(items(combo), (std::vector<std::u16string>{u"BAW12", u"KLM1", u"KLM123"}));
    EXPECT_EQ(selection(combo), 1);

    g_callsignChoices().replace({});
    callsigns.current.set("");
    callsigns.fillCombo();
    EXPECT_TRUE(items(combo).empty());
    EXPECT_EQ(selection(combo), CB_ERR);
    g_callsignChoices().replace({""});
}

TEST_F(ControlDisplay, FillsBeforeTheControlsExistDoNothing) {
    IntComboParameter& range = g_parameters().RANGE;
    const HWND combo = createCombo(range);
    range.fillCombo();
    range.hwnd = nullptr;  // as before the window creates its controls
    range.current = 2;
    range.fillCombo();
    EXPECT_EQ(selection(combo), 15);  // the control was not touched
    g_parameters().SIM_CHOICE.fillCombo();
    g_parameters().CALLSIGN_2_OBJECTID.fillCombo();
    EXPECT_FALSE(g_parameters().SIM_CHOICE.enable());
}

TEST_F(ControlDisplay, LoadSetsCheckBoxesAndControlTexts) {
    const HWND objectIdList = create(g_parameters().OBJECTID_LIST, u"button", BS_CHECKBOX);
    const HWND scanLiveries = create(g_parameters().SCAN_LIVERIES, u"button", BS_CHECKBOX);
    // A drop-down list shows no window text: the load selects the equal choice.
    const HWND range = create(g_parameters().RANGE, u"ComboBox", CBS_DROPDOWNLIST);
    g_parameters().RANGE.fillCombo();
    const HWND block = create(g_parameters().BLOCK_CALLSIGN, u"Edit", 0);
    const HWND destination = create(g_parameters().DESTINATION, u"Edit", 0);
    mrwtest::writeFile(
        parametersFile(),
        "<root><parameters><parameter name=\"OBJECTID_LIST\" value=\"true\"/>"
        "<parameter name=\"SCAN_LIVERIES\" value=\"false\"/><parameter name=\"RANGE\" value=\"65\"/>"
        "<parameter name=\"BLOCK_CALLSIGN\" value=\"DLH4\"/>"
        "<parameter name=\"DESTINATION\" value=\"EDDF\"/></parameters></root>");
    gf_loadParameters();
    EXPECT_EQ(SendMessageW(objectIdList, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(scanLiveries, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(selection(range), 17);  // "65"
    EXPECT_EQ(text(block), u"DLH4");
    EXPECT_EQ(text(destination), u"");  // registry 5: a load refreshes no control
    EXPECT_EQ(g_parameters().DESTINATION.current.get(), "EDDF");
    // SIM_CHOICE has no control in this window: the load logs the missing control and goes on.
    EXPECT_NE(log().find("GetDlgItem failed for ID 32789\n"), std::string::npos);
}

TEST_F(ControlDisplay, ShowStringParameterWritesTheTextOrLogsAMissingControl) {
    ControlParameter& path = g_parameters().ALL_INSTALL_PATH;
    const HWND field = create(path, u"Edit", 0);
    path.current.set("D:\\MSFS\u00e9");
    gf_showStringParameter(path);
    EXPECT_EQ(text(field), u"D:\\MSFS\u00e9");
    gf_showStringParameter(g_parameters().BLOCK_CALLSIGN);  // no control with its id
    EXPECT_NE(log().find("GetDlgItem failed for ID 32828\n"), std::string::npos);
    path.current.set("bad \xff text");
    gf_showStringParameter(path);
    EXPECT_EQ(text(field), u"D:\\MSFS\u00e9");
    EXPECT_NE(log().find("utf8_to_wide failed for 'bad \xff text': "), std::string::npos);
}

// The main worker loads parameters.xml and refreshes the controls, which the UI thread owns, while
// the UI thread saves values of its own: neither may wait for the other for ever.
TEST_F(ControlDisplay, WorkerLoadsWhileTheUiThreadSavesWithoutDeadlock) {
    const HWND box = create(g_parameters().OBJECTID_LIST, u"button", BS_CHECKBOX);
    create(g_parameters().RANGE, u"Edit", 0);
    gf_loadParameters();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 20; ++i)
            gf_loadParameters();
        done = true;
    });
    const bool finished = standin::pumpUntil(
        [&] {
            g_parameters().ALWAYS_ON_TOP.save();  // the UI thread's own save, between its messages
            return done.load();
        },
        std::chrono::seconds(60));
    if (!finished) standin::pumpUntil([&] { return done.load(); }, std::chrono::seconds(60));
    worker.join();
    EXPECT_TRUE(finished);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

}  // namespace
}  // namespace mrw
