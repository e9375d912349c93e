#include "common/text_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "common/paths.h"
#include "config/scratch_folder.h"

namespace zelmar {
namespace {

namespace fs = std::filesystem;

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
    EXPECT_EQ(folder.read("lines.txt"), "x\r\ny\r\n");
}

enum Kind { kLink, kDanglingLink, kHardLink, kPipe };
#ifdef _WIN32
// A symbolic link needs a privilege there and a pipe is no file in a folder: a second name of
// a file is what any user can make.
constexpr Kind kKindsAnyUserMakes[] = {kHardLink};
#else
constexpr Kind kKindsAnyUserMakes[] = {kLink, kDanglingLink, kHardLink, kPipe};
#endif

// What another user may put under a name the program writes in the shared data folder: a link
// (to a file or to nothing), a second name of a file elsewhere, a pipe. The write replaces it,
// and what it stands for stays as it was.
TEST(PlainFile, AWriteReplacesWhatStandsInTheWayAndLeavesWhatItPointsToAlone) {
    constexpr const char* kNames[] = {"link", "dangling link", "hard link", "pipe"};
    for (const Kind kind : kKindsAnyUserMakes) {
        for (const bool append : {false, true}) {
            SCOPED_TRACE(std::string(kNames[kind]) + (append ? ", appending" : ""));
            const testing::ScratchFolder shared("shared"), outside("outside");
            const std::string name = shared.file("SR_ERR.001");
            const std::string target = outside.file("secret.txt");
            if (kind != kDanglingLink) outside.put("secret.txt", "secret");
            if (kind == kHardLink) {
                fs::create_hard_link(target, name);
            } else if (kind == kPipe) {
#ifndef _WIN32
                mkfifo(name.c_str(), 0600);
#endif
            } else {
                fs::create_symlink(target, name);
            }
            EXPECT_TRUE(WritePlainFile(name, "E507", append));
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(name)));
            EXPECT_EQ(shared.read("SR_ERR.001"), "E507");
            EXPECT_EQ(fs::exists(target) ? outside.read("secret.txt") : "(none)",
                      kind == kDanglingLink ? "(none)" : "secret");
        }
    }
}

TEST(Paths, JoinDropsTheNamesLeadingBackslash) {
    EXPECT_EQ(JoinPath("d", "\\SR_ERR.001"), std::string("d") + kPathSeparator + "SR_ERR.001");
}

}  // namespace
}  // namespace zelmar
