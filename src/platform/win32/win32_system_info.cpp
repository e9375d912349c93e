#include "platform/win32/win32_system_info.h"

#include <shlobj.h>
#include <windows.h>

#include <vector>

namespace zelmar::platform {
namespace {

// GetVersionEx reports what the program's manifest allows; RtlGetVersion the real system. It
// exists only in the wide form.
RTL_OSVERSIONINFOW RealVersion() {
    RTL_OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
    if (const HMODULE ntdll = GetModuleHandleA("ntdll.dll")) {
        // Through the generic function pointer type, which may be cast to any other.
        const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
            reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion")));
        if (rtlGetVersion && rtlGetVersion(&info) == 0) return info;
    }
    info = {};
    return info;
}

}  // namespace

bool Win32SystemInfo::isNtPlatform() const {
    return RealVersion().dwPlatformId == VER_PLATFORM_WIN32_NT;
}

int Win32SystemInfo::osMajorVersion() const {
    return static_cast<int>(RealVersion().dwMajorVersion);
}

std::string Win32SystemInfo::commonAppDataFolder() {
    char path[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return path;
}

bool Win32SystemInfo::readUserValue(const std::string& subKey, const std::string& valueName,
                                    RegistryType& type, std::string& data) {
    HKEY key = nullptr;
    // Read access is all a query needs; asking for write access fails for a limited user.
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD valueType = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, valueName.c_str(), nullptr, &valueType, nullptr, &size);
    std::vector<BYTE> bytes(size);
    if (status == ERROR_SUCCESS && size > 0) {
        status = RegQueryValueExA(key, valueName.c_str(), nullptr, &valueType, bytes.data(), &size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return false;
    data.assign(reinterpret_cast<const char*>(bytes.data()), size);
    type = valueType == REG_SZ      ? RegistryType::kString
           : valueType == REG_DWORD ? RegistryType::kDword
                                    : RegistryType::kOther;
    return true;
}

}  // namespace zelmar::platform
