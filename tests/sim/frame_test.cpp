#include "sim/core/frame.h"

#include <gtest/gtest.h>

namespace ecrsim {
namespace {

TEST(SimFrame, ChecksumFrameAndBodyChecks) {
    // 0xFF three times: the sum is kept mod 256 as it goes (253), then taken mod 100.
    const std::pair<std::string, std::string> sums[] = {
        {"", "00"}, {"x/1///", "01"}, {std::string(3, '\xFF'), "53"}, {"00/00/00/", "73"}};
    for (const auto& [text, sum] : sums) EXPECT_EQ(Checksum(text), sum) << text;
    EXPECT_EQ(Frame("U//"), std::string("\x02U//79\x03"));
    const std::pair<std::string, bool> bodies[] = {
        {"U//79", true}, {"U//78", false}, {"U/79", false},  // checksum of "U/" is 32
        {"U/32", true},  {"/47", false},                     // no command before the "/"
        {"U", false},    {"", false},      {"U//7", false}, {"U//7x", false}};
    for (const auto& [body, good] : bodies)
        EXPECT_EQ(CheckFrameBody(body).has_value(), good) << body;
    EXPECT_EQ(*CheckFrameBody("U//79"), "U//");
}

}  // namespace
}  // namespace ecrsim
