#include "common/text_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/paths.h"
#include "config/scratch_folder.h"

namespace zelmar {
namespace {

TEST(TextFile, ReadsEveryLineEndAndWritesCrLf) {
    const testing::ScratchFolder folder("text_file");
    const std::string path = folder.file("lines.txt");
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\r\nb\r\n", {"a", "b"}}, {"a\nb", {"a", "b"}},           {"a\rb\r", {"a", "b"}},
        {"\r\n\r\n", {"", ""}},     {"\xe0\xe8\r\n", {"\xe0\xe8"}},
    };
    for (const auto& [bytes, expected] : cases) {
        ASSERT_TRUE(WriteBytes(path, bytes));
        std::vector<std::string> lines;
        ASSERT_TRUE(ReadTextLines(path, lines));
        EXPECT_EQ(lines, expected) << bytes;
    }
    ASSERT_TRUE(ReplaceTextLinesAtomically(path, {"x", "y"}));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "x\r\ny\r\n");
}

TEST(Paths, JoinDropsTheNamesLeadingBackslash) {
    EXPECT_EQ(JoinPath("d", "\\SR_ERR.001"), std::string("d") + kPathSeparator + "SR_ERR.001");
}

}  // namespace
}  // namespace zelmar
