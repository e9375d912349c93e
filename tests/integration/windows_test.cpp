// The Windows program under Wine: what only Windows has. Skipped for the Linux program.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "config/registry_value.h"
#include "program_run.h"

namespace zelmar::testing {
namespace {

// The data folder named by the current user's registry value (the common one must exist all the
// same, as the installer makes it); Ctrl-C runs the unload.
TEST(Windows, TheDataFolderComesFromTheRegistryAndCtrlCEndsTheProgram) {
    const ProgramCommand program = ProgramUnderTest();
    if (!program.underWine()) GTEST_SKIP() << "the Linux program has no registry";
    std::filesystem::create_directories(std::filesystem::path(std::getenv("WINEPREFIX")) /
                                        "drive_c/ProgramData/TELVOZELMAR1");
    ScratchFolder programFolder("wine_program");
    ScratchFolder data("wine_registry_data");
    ChildProcess setValue(
        {program.launcher().front(), "reg", "add", std::string("HKCU\\") + config::kRegistryKey,
         "/v", config::kCustomDataDirValue, "/d", program.path(data.path()), "/f"},
        false);
    ASSERT_EQ(setValue.waitForExit(), 0);
    const Register own(kRegisterFile, {});
    WriteSettings(programFolder.path(), {true, false, false, false}, Trigger::kWatcher);
    ChildProcess zelmar(HeadlessArguments(programFolder.path(), "",
                                          program.serialDevice(1, own.value("SERIAL")), program),
                        false);
    ASSERT_TRUE(WaitForFiles([&] { return data.has("SR_MATR.001"); }));
    data.put("SR_DATI.001", kSale);
    data.put("SR_START.001", "");
    EXPECT_TRUE(WaitForFiles([&] { return data.read("FINESCO.001") == "finesco"; }));

    ::kill(zelmar.pid(), SIGINT);
    EXPECT_EQ(zelmar.waitForExit(), 0);
}

}  // namespace
}  // namespace zelmar::testing
