#include "app/main_window_fixture.h"

#include <pugixml.hpp>

#include <mutex>

#include "airports/airports_database_internal.h"
#include "app/edit_fields.h"
#include "app/main_window.h"
#include "app/process_entry.h"
#include "app/process_entry_internal.h"
#include "app/window_procedure.h"
#include "config/parameter_elements.h"
#include "foundation/file_system.h"
#include "platform/wide_text.h"
#include "run/main_worker.h"
#include "run/run_end.h"
#include "support/process_data_directory.h"
#include "support/settings_reset.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {

void resetAppState() {
    emptyProcessDataDirectory();
    resetSettings();
    mrw::gf_renewMainWindow();
    mrw::g_nowButtonAllowed = false;
    mrw::g_parkingUpdateRunning = false;
    mrw::g_parkFileLoaded = false;
    mrw::g_packagesFolderFound = false;
    mrw::g_exitReason = mrw::ExitReason::NotYetSet;
    mrw::g_restartDelay = 0;
    mrw::g_restartPending = false;
    mrw::g_catalogueClearRequest = false;
    mrw::g_exitCode = 0;
    for (std::atomic<bool>* request :
         {&mrw::g_flushStaticRequest, &mrw::g_csToOidRequest, &mrw::g_csToOidLookup,
          &mrw::g_blockCallsignRequest, &mrw::g_rereadRequest, &mrw::g_noMatchClearRequest,
          &mrw::g_parkingUpdateRequest})
        *request = false;
    mrw::g_parkingCountdown = 20;
    mrw::g_msfs2020 = true;
    mrw::g_simId = 1;
    mrw::gf_resetAirportsDatabase();
    {
        std::lock_guard lock(mrw::g_parkAirportsMutex);
        mrw::g_parkAirports.clear();
    }
    mrw::g_engineContainers.renew();
}

bool registerMainWindowClass() {
    static const bool registered = mrw::gf_registerWindowClass(nullptr, platform::asWide(u"Merrowvale"));
    return registered;
}

void MainWindowTest::SetUp() {
    resetAppState();
    folder.emplace();
    ASSERT_TRUE(registerMainWindowClass());
    if (createWindowInSetUp) createWindow();
}

void MainWindowTest::createWindow() {
    ASSERT_TRUE(mrw::initInstance(nullptr, u"Merrowvale"));
    m_window = mrw::g_mainWindowView().hwnd;
    standin::pumpUntilIdle();
}

void MainWindowTest::TearDown() {
    standin::pumpUntilIdle();
    mrw::g_mainWindowView().hwnd = nullptr;
    standin::destroyAllWindows();
    resetAppState();
    folder.reset();
}

std::vector<standin::PaintOp> MainWindowTest::textOuts(std::u16string_view text) const {
    std::vector<standin::PaintOp> found;
    for (const standin::PaintOp& op : standin::paintOps(m_window)) {
        if (op.kind == standin::PaintOpKind::TextOut && op.text == text) found.push_back(op);
    }
    return found;
}

std::optional<standin::PaintOp> MainWindowTest::textAt(int x, int y) const {
    for (const standin::PaintOp& op : standin::paintOps(m_window)) {
        if (op.kind == standin::PaintOpKind::TextOut && op.point.x == x && op.point.y == y) return op;
    }
    return std::nullopt;
}

void MainWindowTest::repaint() {
    InvalidateRect(m_window, nullptr, TRUE);
    standin::pumpUntilIdle();
}

RECT primaryWorkArea() {
    const RECT corner{0, 0, 1, 1};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetMonitorInfoW(MonitorFromRect(&corner, MONITOR_DEFAULTTOPRIMARY), &info));
    return info.rcWork;
}

std::optional<std::int32_t> savedInt(const std::string& name) {
    pugi::xml_document document;
    if (!document.load_file(mrw::g_parametersFile().c_str())) return std::nullopt;
    return mrw::gf_readIntParameter(document, name);
}

std::optional<std::string> savedText(const std::string& name) {
    pugi::xml_document document;
    if (!document.load_file(mrw::g_parametersFile().c_str())) return std::nullopt;
    return mrw::gf_readStringParameter(document, name);
}

std::optional<bool> savedBool(const std::string& name) {
    pugi::xml_document document;
    if (!document.load_file(mrw::g_parametersFile().c_str())) return std::nullopt;
    return mrw::gf_readBoolParameter(document, name);
}

std::string messageLine() {
    std::lock_guard lock(mrw::g_mainWindow().messageMutex);
    return mrw::g_mainWindow().message;
}

void writeSavedInts(const std::vector<std::pair<std::string, std::int32_t>>& settings) {
    pugi::xml_document document;
    pugi::xml_node parameters = document.append_child("root").append_child("parameters");
    for (const auto& [name, value] : settings)
        mrw::gf_appendIntParameter(parameters, name, value);
    ASSERT_TRUE(document.save_file(mrw::g_parametersFile().c_str()));
}

}  // namespace mrwtest
