#include "sim/core/frame.h"

#include <gtest/gtest.h>

namespace ecrsim {
namespace {

TEST(SimChecksum, KnownValues) {
    struct Case {
        std::string text, expected;
    } cases[] = {
        {"", "00"},
        {"U//", "79"},
        {"x/1///", "01"},
        {std::string(3, '\xFF'), "53"},  // 765 kept mod 256 as it goes: 253, then mod 100
        {"00/00/00/", "73"},
    };
    for (const auto& c : cases) EXPECT_EQ(Checksum(c.text), c.expected) << c.text;
}

TEST(SimFrame, WrapsTextWithChecksum) {
    EXPECT_EQ(Frame("U//"), std::string("\x02U//79\x03"));
}

TEST(SimFrame, BodyChecks) {
    struct Case {
        std::string body;
        bool good;
    } cases[] = {
        {"U//79", true}, {"U//78", false}, {"U/79", false},  // checksum of "U/" is 32
        {"U/32", true},  {"/47", false},                     // no command before the "/"
        {"U", false},    {"", false},      {"x/1///01", true}, {"U//7", false}, {"U//7x", false},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckFrameBody(c.body).has_value(), c.good) << c.body;
    EXPECT_EQ(*CheckFrameBody("U//79"), "U//");
}

}  // namespace
}  // namespace ecrsim
