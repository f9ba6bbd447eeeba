#include "platform/system/single_instance.h"

#include <string>

#include "platform/windows/wide_conversion.h"
#include "platform/windows_types.h"

namespace platform {

SingleInstanceLock::SingleInstanceLock(std::string_view name, const std::filesystem::path&) {
    const std::wstring mutexName = L"Local\\$" + utf8ToWide(name) + L"$";
    HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
    if (mutex == nullptr) return;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        m_state = InstanceLock::AlreadyRunning;
        CloseHandle(mutex);
        return;
    }
    m_state = InstanceLock::Acquired;
    m_native = reinterpret_cast<std::intptr_t>(mutex);
}

SingleInstanceLock::~SingleInstanceLock() {
    if (m_native != -1) CloseHandle(reinterpret_cast<HANDLE>(m_native));
}

std::filesystem::path SingleInstanceLock::defaultDirectory() {
    std::error_code error;
    return std::filesystem::temp_directory_path(error);
}

}  // namespace platform
