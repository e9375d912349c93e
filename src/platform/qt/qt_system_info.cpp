#include "platform/qt/qt_system_info.h"

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>

#include <vector>
#else
#include <QSettings>
#include <QVariant>
#endif

namespace zelmar::platform {

#ifdef _WIN32

namespace {
// GetVersionEx reports what the manifest allows; RtlGetVersion reports the real system.
RTL_OSVERSIONINFOW RealVersion() {
    RTL_OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
    if (const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        const auto rtlGetVersion =
            reinterpret_cast<RtlGetVersionFn>(GetProcAddress(ntdll, "RtlGetVersion"));
        if (rtlGetVersion && rtlGetVersion(&info) == 0) return info;
    }
    info = {};
    return info;
}
}  // namespace

bool QtSystemInfo::isNtPlatform() const {
    return RealVersion().dwPlatformId == VER_PLATFORM_WIN32_NT;
}

int QtSystemInfo::osMajorVersion() const {
    return static_cast<int>(RealVersion().dwMajorVersion);
}

std::string QtSystemInfo::commonAppDataFolder() {
    char path[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return path;
}

bool QtSystemInfo::readUserValue(const std::string& subKey, const std::string& valueName,
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

#else

namespace {
// The one key the program reads, and where its values live away from Windows.
constexpr char kProgramKey[] = "SOFTWARE\\Telvo Engineering\\TELVOZELMAR1";
constexpr char kOrganisation[] = "Telvo Engineering";
constexpr char kApplication[] = "TELVOZELMAR1";

std::string LittleEndian32(quint32 value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
    return bytes;
}
}  // namespace

bool QtSystemInfo::isNtPlatform() const {
    return false;
}

int QtSystemInfo::osMajorVersion() const {
    return 0;
}

std::string QtSystemInfo::commonAppDataFolder() {
    return {};
}

bool QtSystemInfo::readUserValue(const std::string& subKey, const std::string& valueName,
                                 RegistryType& type, std::string& data) {
    // Registry key names ignore case.
    if (QString::fromLatin1(subKey.c_str())
            .compare(QLatin1String(kProgramKey), Qt::CaseInsensitive) != 0) {
        return false;
    }
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, kOrganisation,
                          kApplication);
    const QVariant value = store.value(QString::fromLocal8Bit(valueName.c_str()));
    if (!value.isValid()) return false;
    switch (value.typeId()) {
        case QMetaType::QString:
        case QMetaType::QByteArray:
            type = RegistryType::kString;
            data = value.toString().toLocal8Bit().toStdString();
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            type = RegistryType::kDword;
            data = LittleEndian32(static_cast<quint32>(value.toLongLong()));
            break;
        default:  // lists and the rest: like a registry value of another type
            type = RegistryType::kOther;
            data.clear();
    }
    return true;
}

#endif

}  // namespace zelmar::platform
