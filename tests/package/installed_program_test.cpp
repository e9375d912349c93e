// The package's program, unpacked into a scratch root: headless against ecrsim it prints a
// receipt and logs what it did.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/version_text.h"
#include "integration/program_run.h"

namespace zelmar::testing {
namespace {

TEST(InstalledProgram, PrintsAReceiptOnEcrsimAndLogsIt) {
    ScratchFolder root("package_root");
    ChildProcess unpack({"/usr/bin/dpkg", "-x", ZELMAR_PACKAGE_PATH, root.path()}, false);
    ASSERT_EQ(unpack.waitForExit(), 0);
    ProgramRun run(Line::kSerial, {}, ProgramCommand(root.file("usr/bin/zelmar1")));
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kSale));
    EXPECT_EQ(run.finesco(), "finesco");
    EXPECT_FALSE(run.data().has("SR_ERR.001")) << run.data().read("SR_ERR.001");

    // Its log: the start-up, the read and the job.
    using ::testing::AllOf, ::testing::Contains, ::testing::EndsWith, ::testing::StartsWith;
    const auto log = run.log();
    EXPECT_THAT(log, Contains(StartsWith("info: zelmar1 " + VersionText() + ", program folder ")));
    EXPECT_THAT(log, Contains(AllOf(StartsWith("info: slot 1 on /dev/pts/"),
                                    EndsWith(": port found, served"))));
    EXPECT_THAT(log, Contains("info: slot 1 register data read: model AB, serial 72MAB123456"));
    EXPECT_THAT(log, Contains(StartsWith("info: job slot 1 done in ")));
}

}  // namespace
}  // namespace zelmar::testing
