#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "platform/qt/qt_system_info.h"
#include "platform/qt/windows1252.h"
#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

TEST(Windows1252, EveryByteSurvivesARoundTripAndTheHighPunctuationIsUnicode) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    EXPECT_EQ(ToWindows1252(FromWindows1252(all)), all);
    EXPECT_EQ(FromWindows1252("\x80 \xe0\x92"), QString::fromUtf8("€ à’"));
    EXPECT_EQ(ToWindows1252(QString::fromUtf8("€ è ☺")), "\x80 \xe8 ?");
}

TEST(QtSystemInfo, AwayFromWindowsTheValueComesFromTheNativeStore) {
    EnsureQtApp();
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Telvo Engineering", "TELVOZELMAR1")
        .setValue("CustomPathDataDir", "/srv/cassa");
    QtSystemInfo system;
    EXPECT_FALSE(system.isNtPlatform());
    RegistryType type = RegistryType::kNone;
    std::string data;
    const char* key = "software\\telvo engineering\\telvozelmar1";  // any letter case
    ASSERT_TRUE(system.readUserValue(key, "CustomPathDataDir", type, data));
    EXPECT_EQ(type, RegistryType::kString);
    EXPECT_EQ(data, "/srv/cassa");
    EXPECT_FALSE(system.readUserValue(key, "Missing", type, data));
    EXPECT_FALSE(system.readUserValue("SOFTWARE\\Other", "CustomPathDataDir", type, data));
}

}  // namespace
}  // namespace zelmar::platform
