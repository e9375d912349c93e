// Whole jobs and register reads through the real link and the simulated register on virtual
// time, one fault at a time: what the POS application gets, and how long it takes.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "common/text_file.h"
#include "jobs/job_files.h"
#include "link/link.h"
#include "link/register_reader.h"
#include "link/transmission.h"
#include "platform/file_system.h"
#include "support/sim_serial_port.h"
#include "tests/link/scripted_sender.h"

namespace zelmar::link::scripted {
namespace {

// Our bound for any one job or read against a misbehaving register (virtual time).
constexpr std::int64_t kJobBoundMs = 2 * 60 * 1000;

const std::vector<std::string> kReceipt{"3/S/PANE//1/1.00/1/22.00", "5/1/"};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

class FaultMatrixTest : public ::testing::Test {
  protected:
    FaultMatrixTest() {
        session.DataFolder = folder.path();
        session.CurrentSlot = 1;
        session.PortDevice = {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"};
        session.DatiPath = folder.file("SR_DATI.001");
        session.OutPath = folder.file("SR_OUT.001");
        session.options.chbEnableMicrelecInput = true;  // the job holds register lines
        session.reg.IsRtRegister = true;
        engine.setAnswerDelay(50);
    }

    void Fault(const std::string& rule) {
        std::string error;
        ASSERT_TRUE(faults.add(rule, error)) << error;
    }
    int RunJob() {
        WriteTextLines(session.DatiPath, kReceipt);
        const auto start = loop.nowMs();
        const int result = driver.TransmitJob();
        elapsedMs = loop.nowMs() - start;
        return result;
    }
    bool Journaled(const std::string& line) const {
        const auto& lines = model.journal().lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    ScratchFolder folder;
    Session session;
    platform::FakeEventLoop loop;
    platform::StdFileSystem files;
    ecrsim::RegisterModel model;
    ecrsim::FaultScript faults;
    ecrsim::SerialEngine engine{model, faults};
    testing::SimSerialPort port{loop, engine};
    RecordingTraceSink trace;
    RecordingShell shell;
    jobs::JobFiles jobFiles{session, files, loop};
    Link link{session, loop, port, jobFiles, trace};
    TransmissionDriver driver{session, link, loop, files, trace, shell};
    RegisterReader reader{session, link, files, jobFiles};
    std::int64_t elapsedMs = 0;
};

TEST_F(FaultMatrixTest, JobsUnderOneFaultEach) {
    struct Case {
        const char* name;
        const char* fault;  // empty: none
        bool documentOpen;
        int policy;
        int expected;
        bool receiptPrinted;
    };
    const std::vector<Case> cases{
        {"clean", "", false, 0, 0, true},
        {"refused sale", "refuse:*=08,3/", false, 0, -5, false},
        {"open document, send anyway", "", true, 0, 0, true},
        {"open document, close first", "", true, 1, 0, true},
        {"open document, stop", "", true, 2, -2, false},
        {"paper end mid-job", "paper:3@1", false, 0, 0, true},
        {"busy storm", "busy:*", false, 0, -5, false},
        {"silent register", "silent:*", false, 0, -5, false},
        {"dropped link", "drop@1", false, 0, -5, false},
        {"nak storm", "nak:*", false, 0, -5, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        faults.clear();
        engine.restoreLink();
        model.journal().clear();
        if (*c.fault) Fault(c.fault);
        session.link.DocumentOpen = c.documentOpen;
        session.options.Combo1 = c.policy;
        EXPECT_EQ(RunJob(), c.expected);
        EXPECT_EQ(Journaled(kReceipt[1]), c.receiptPrinted);
        EXPECT_LT(elapsedMs, kJobBoundMs);
        EXPECT_FALSE(port.isOpen());
        if (c.expected == -5) {
            EXPECT_EQ(ReadAll(session.OutPath), "");
        }
        if (c.receiptPrinted) {
            EXPECT_NE(ReadAll(session.OutPath).find("NAZF,V"), std::string::npos);
        }
    }
}

TEST_F(FaultMatrixTest, RtRegisterReadPublishesTheElevenCharacterSerial) {
    WriteTextLines(folder.file("SR_START.001"), {"x"});
    link.OpenConnection();
    ASSERT_EQ(reader.ReadRegisterData(), 0);
    const std::string matr = ReadAll(folder.file("SR_MATR.001"));
    EXPECT_EQ(matr.substr(0, matr.find("\r\nDriverType")), "72MAB123456\r\nStatus: RT");
    EXPECT_NE(matr.find("\r\nFW: SIM 1.00\r\n"), std::string::npos);
    EXPECT_EQ(session.reg.DeptCount, 10);
    EXPECT_EQ(session.reg.DeptVat[0], "22.00");
}

TEST_F(FaultMatrixTest, SilentRegisterFailsTheReadInBoundedTime) {
    Fault("silent:*");
    link.OpenConnection();
    const auto start = loop.nowMs();
    EXPECT_EQ(reader.ReadRegisterData(), -1);
    EXPECT_LT(loop.nowMs() - start, kJobBoundMs);
    EXPECT_NE(ReadAll(folder.file("SR_ERR.001")).find("E501: "), std::string::npos);
}

}  // namespace
}  // namespace zelmar::link::scripted
