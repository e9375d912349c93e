#include "link/trace_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/paths.h"
#include "link/link_rig.h"

namespace zelmar::link::testing {
namespace {

struct TraceRig : RigBase {
    TraceRig() {
        session.options.TraceOn = true;
        loop.setStartDateTime({2026, 12, 31, 23, 59, 58});
    }
    std::string read(const std::string& path) const {  // a file below the data folder
        return folder.read(path.substr(folder.path().size() + 1));
    }

    TraceFiles traces{session, loop, files};
};

TEST(TraceFiles, JobTraceGoesIntoTheMonthFolderWithTimeStampedLines) {
    TraceRig rig;
    EXPECT_EQ(rig.traces.GetTimeStamp(), "20261231_235958 <--> ");
    rig.traces.OpenTraceFiles();
    const std::string month = rig.folder.file("TRACE_202612");
    EXPECT_EQ(rig.traces.paths().tracePath, JoinPath(month, "TRACE_20261231_235958.TXT"));
    EXPECT_EQ(rig.traces.paths().logPath, JoinPath(month, "TRACE_20261231_235958.log"));
    rig.traces.traceLine(" --> U/");
    rig.traces.AddLogLine("Mando COMANDO U/");
    rig.loop.advance(1000);
    rig.traces.traceLine(" <-- 00/00/00/73");
    rig.traces.AddLogLine("WINSOCK NON APERTO");
    EXPECT_FALSE(std::filesystem::exists(rig.traces.paths().logPath));  // written at the end
    rig.traces.CloseTraceFiles(true);
    rig.traces.traceLine(" --> after the end");
    EXPECT_EQ(rig.read(rig.traces.paths().tracePath),
              "20261231_235958 <-->  --> U/\r\n20261231_235959 <-->  <-- 00/00/00/73\r\n");
    EXPECT_EQ(rig.read(rig.traces.paths().logPath),
              "20261231_235958 <--> Mando COMANDO U/\r\n"
              "20261231_235959 <--> WINSOCK NON APERTO\r\n");

    rig.loop.advance(1000);  // the next job falls in a new month and writes no log
    rig.traces.OpenTraceFiles();
    EXPECT_EQ(rig.traces.paths().tracePath,
              JoinPath(rig.folder.file("TRACE_202701"), "TRACE_20270101_000000.TXT"));
    rig.traces.traceLine(" --> first job");
    rig.traces.AddLogLine("Mando COMANDO U/");
    rig.traces.CloseTraceFiles(false);
    EXPECT_FALSE(std::filesystem::exists(rig.traces.paths().logPath));
    rig.traces.OpenTraceFiles();  // a second job in the same second empties the same file
    EXPECT_EQ(rig.read(rig.traces.paths().tracePath), "");
}

TEST(TraceFiles, DataFolderServesWhenTheMonthFolderCannotBeMade) {
    TraceRig rig;
    std::ofstream(rig.folder.file("TRACE_202612")) << "a file in the way";
    rig.traces.OpenTraceFiles();
    EXPECT_EQ(rig.traces.paths().tracePath, rig.folder.file("TRACE_20261231_235958.TXT"));
}

TEST(TraceFiles, AMonthFolderThatIsALinkIsReplacedByAFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "no folder link can be made here: a symbolic link needs a privilege, and "
                    "Wine makes no junction";
#endif
    TraceRig rig;
    const zelmar::testing::ScratchFolder outside("trace_outside");
    std::filesystem::create_directory_symlink(outside.path(), rig.folder.file("TRACE_202612"));
    rig.traces.OpenTraceFiles();
    EXPECT_TRUE(std::filesystem::exists(rig.traces.paths().tracePath));
    EXPECT_TRUE(std::filesystem::is_empty(outside.path()));
}

}  // namespace
}  // namespace zelmar::link::testing
