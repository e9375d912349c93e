// The job cycle's lines in the diagnostics log, on virtual time.
#include <gtest/gtest.h>

#include <sstream>

#include "common/diagnostics_log.h"
#include "common/version_text.h"
#include "form_fixture.h"

namespace zelmar::app::testing {
namespace {

class JobCycleLogTest : public FormTest {
  protected:
    JobCycleLogTest() { form.setDiagnosticsLog(log); }

    std::vector<std::string> TakeLines() {
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        out.str("");
        return lines;
    }

    std::ostringstream out;
    StreamLog log{out, LogLevel::kInfo, false};
};

TEST_F(JobCycleLogTest, StartUpNamesTheFoldersTheLineAndEachSlot) {
    outside.onLoad = [&] { session.options.Check = {true, true, false, false}; };
    outside.portAnswers = {true, false, true, false};
    session.PortDevice = {"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"};
    form.Form_Load();
    EXPECT_EQ(TakeLines(),
              (std::vector<std::string>{"info: zelmar1 " + VersionText() + ", program folder " +
                                            data.path() + ", data folder " + data.path(),
                                        "info: serial lines, slow mode, a poll every 1000 ms",
                                        "info: slot 1 on /dev/ttyUSB0: port found, served",
                                        "info: slot 2 on /dev/ttyS1: no port",
                                        "info: slot 3 on /dev/ttyS2: port found, not ticked",
                                        "info: slot 4 on /dev/ttyS3: no port"}));

    outside.portAnswers = {false, false, false, false};
    form.Form_Load();
    EXPECT_EQ(TakeLines().back(),
              "error: no port found: E502: Nessuna porta di comunicazione disponibile");

    outside.onLoad = [&] {
        session.options = Options{};
        session.options.Check[0] = true;
        session.options.OptionRete = session.options.OptionFAST = true;
        session.options.txtRemoteIP = "127.0.0.1";
    };
    form.Form_Load();
    const auto lines = TakeLines();
    EXPECT_EQ(lines[1], "info: network to 127.0.0.1:9101, fast mode, the data folder watched");
    EXPECT_EQ(lines[2], "info: slot 1 over the network: served");
}

TEST_F(JobCycleLogTest, JobsAndReadsEndWithTheirResultAndASilentRegisterAnsweringAgain) {
    Serve({2});
    session.reg.ModelCode = "AB";
    session.reg.SerialNumber = "72MAB123456";
    struct Step {
        bool job;    // a job, otherwise a register-data read
        int result;  // job result or read outcome
        int ms;      // how long the register takes
        std::vector<std::string> lines;
    };
    const std::string e501 = "E501: Dump non eseguito, verificare se Ecr in errore o non connesso";
    const Step steps[] = {
        {false,
         -1,
         0,
         {"warning: slot 2 register data not read: " + e501 + " (tried again next attempt)"}},
        {false,
         0,
         0,
         {"info: slot 2 register data read: model AB, serial 72MAB123456",
          "info: slot 2 register answers again"}},
        {true,
         -4,
         10000,
         {"warning: job slot 2 failed in 10000 ms: E504: Nessun messaggio ricevuto: controllare "
          "connessione con l'Ecr"}},
        {true, 0, 231, {"info: job slot 2 done in 231 ms", "info: slot 2 register answers again"}},
        {true,
         -5,
         40,
         {"warning: job slot 2 failed in 40 ms: E507: Trasmissione interrotta: probabile comando "
          "errato"}},
        {true, 0, 180, {"info: job slot 2 done in 180 ms"}},
    };
    for (const Step& step : steps) {
        if (step.job) {
            MarkRead(2);
            Submit(2);
            outside.onTransmit = [&] { return loop.sleepMs(step.ms), step.result; };
            form.txtTimer_Change();
        } else {
            outside.onRead = [&] { return step.result == 0 ? ReadSucceeds() : step.result; };
            form.StartRegisterDump(2);
        }
        EXPECT_EQ(TakeLines(), step.lines) << step.result;
    }
    form.Unload();
    EXPECT_EQ(TakeLines(), std::vector<std::string>{"info: unload: closing the served slots"});
}

}  // namespace
}  // namespace zelmar::app::testing
