#include "link/trace_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/link_rig.h"

namespace zelmar::link::testing {
namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct TraceRig {
    TraceRig() {
        session.DataFolder = folder.str();
        session.options.chbTrace = true;
        loop.setStartDateTime({2026, 12, 31, 23, 59, 58});
    }
    std::string inData(const std::string& name) const { return folder.str() + "/" + name; }

    TempFolder folder;
    platform::FakeEventLoop loop;
    platform::StdFileSystem files;
    Session session;
    TraceFiles trace{session, loop, files};
};

TEST(TraceFiles, JobTraceGoesIntoTheMonthFolderWithTimeStampedLines) {
    TraceRig rig;
    EXPECT_EQ(rig.trace.GetTimeStamp(), "20261231_235958 <--> ");
    rig.trace.OpenTraceFiles();
    const std::string month = rig.inData("TRACE_202612");
    EXPECT_EQ(rig.trace.paths().tracePath, month + "/TRACE_20261231_235958.TXT");
    EXPECT_EQ(rig.trace.paths().logPath, month + "/TRACE_20261231_235958.log");
    EXPECT_TRUE(rig.trace.tracing());
    rig.trace.traceLine(" --> U/");
    rig.loop.advance(1000);
    rig.trace.traceLine(" <-- 00/00/00/73");
    rig.trace.CloseTraceFiles(true);
    EXPECT_FALSE(rig.trace.isOpen());
    rig.trace.traceLine(" --> after the end");
    EXPECT_EQ(FileBytes(rig.trace.paths().tracePath),
              "20261231_235958 <-->  --> U/\r\n20261231_235959 <-->  <-- 00/00/00/73\r\n");
    EXPECT_FALSE(std::filesystem::exists(rig.trace.paths().logPath));  // no log lines

    rig.loop.advance(1000);  // the next job falls in a new month
    rig.trace.OpenTraceFiles();
    EXPECT_EQ(rig.trace.paths().tracePath, rig.inData("TRACE_202701/TRACE_20270101_000000.TXT"));
}

TEST(TraceFiles, LogLinesAreWrittenAtTheEndOnlyWhenAsked) {
    for (const bool writeLog : {true, false}) {
        TraceRig rig;
        rig.trace.OpenTraceFiles();
        rig.trace.LogROutine("Mando COMANDO U/");
        rig.trace.LogROutine("WINSOCK NON APERTO");
        EXPECT_FALSE(std::filesystem::exists(rig.trace.paths().logPath));
        rig.trace.CloseTraceFiles(writeLog);
        EXPECT_EQ(std::filesystem::exists(rig.trace.paths().logPath), writeLog);
        if (writeLog) {
            EXPECT_EQ(FileBytes(rig.trace.paths().logPath),
                      "20261231_235958 <--> Mando COMANDO U/\r\n"
                      "20261231_235958 <--> WINSOCK NON APERTO\r\n");
        }
        EXPECT_EQ(rig.trace.LogLines().size(), 2u);  // kept until the next job replaces them
        rig.trace.NewLogLines();
        EXPECT_TRUE(rig.trace.LogLines().empty());
    }
}

TEST(TraceFiles, UntickedBoxOpensNothingAndCollectsNothing) {
    TraceRig rig;
    rig.session.options.chbTrace = false;
    rig.trace.OpenTraceFiles();
    rig.trace.LogROutine("ignored");
    EXPECT_FALSE(rig.trace.isOpen());
    EXPECT_FALSE(rig.trace.tracing());
    EXPECT_TRUE(rig.trace.LogLines().empty());
    EXPECT_FALSE(std::filesystem::exists(rig.inData("TRACE_202612")));
}

TEST(TraceFiles, DataFolderServesWhenTheMonthFolderCannotBeMade) {
    TraceRig rig;
    std::ofstream(rig.inData("TRACE_202612")) << "a file in the way";
    rig.trace.OpenTraceFiles();
    EXPECT_EQ(rig.trace.paths().tracePath, rig.inData("TRACE_20261231_235958.TXT"));
    EXPECT_TRUE(rig.trace.isOpen());
}

TEST(TraceFiles, ASecondJobInTheSameSecondEmptiesTheSameFile) {
    TraceRig rig;
    rig.trace.OpenTraceFiles();
    rig.trace.traceLine(" --> first job");
    rig.trace.CloseTraceFiles(true);
    rig.trace.OpenTraceFiles();
    EXPECT_EQ(FileBytes(rig.trace.paths().tracePath), "");
}

}  // namespace
}  // namespace zelmar::link::testing
