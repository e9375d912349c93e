#include "platform/qt/windows1252.h"

#include <gtest/gtest.h>

namespace zelmar::platform {
namespace {

TEST(Windows1252, EveryByteSurvivesARoundTripAndTheHighPunctuationIsUnicode) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    EXPECT_EQ(ToWindows1252(FromWindows1252(all)), all);
    EXPECT_EQ(FromWindows1252("\x80 \xe0\x92"), QString::fromUtf8("€ à’"));
    EXPECT_EQ(ToWindows1252(QString::fromUtf8("€ è ☺")), "\x80 \xe8 ?");
}

}  // namespace
}  // namespace zelmar::platform
