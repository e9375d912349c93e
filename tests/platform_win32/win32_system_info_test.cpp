#include "platform/win32/win32_system_info.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace zelmar::platform {
namespace {

constexpr char kTestKey[] = "Software\\Zelmar1 Test";

// The raw bytes and type of each kind of value; a missing key or value reads as nothing.
TEST(Win32SystemInfo, ReadsTheCurrentUsersValuesWithTheirTypes) {
    const DWORD number = 0x01020304;
    RegSetKeyValueA(HKEY_CURRENT_USER, kTestKey, "Path", REG_SZ, "C:\\Dati", 8);
    RegSetKeyValueA(HKEY_CURRENT_USER, kTestKey, "Number", REG_DWORD, &number, sizeof number);
    RegSetKeyValueA(HKEY_CURRENT_USER, kTestKey, "Bytes", REG_BINARY, "\x01", 1);
    struct Case {
        const char* subKey;
        const char* value;
        bool found;
        RegistryType type;
        std::string data;
    };
    const Case cases[] = {
        {kTestKey, "Path", true, RegistryType::kString, std::string("C:\\Dati", 8)},
        {kTestKey, "Number", true, RegistryType::kDword, "\x04\x03\x02\x01"},
        {kTestKey, "Bytes", true, RegistryType::kOther, "\x01"},
        {kTestKey, "Missing", false, RegistryType::kNone, ""},
        {"Software\\Zelmar1 Missing", "Path", false, RegistryType::kNone, ""},
    };
    Win32SystemInfo system;
    for (const Case& expected : cases) {
        RegistryType type = RegistryType::kNone;
        std::string data;
        EXPECT_EQ(system.readUserValue(expected.subKey, expected.value, type, data), expected.found)
            << expected.value;
        EXPECT_EQ(type, expected.type) << expected.value;
        EXPECT_EQ(data, expected.data) << expected.value;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
}

}  // namespace
}  // namespace zelmar::platform
