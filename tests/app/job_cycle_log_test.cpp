// The job cycle's lines in the diagnostics log, on virtual time.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <tuple>

#include "common/diagnostics_log.h"
#include "form_fixture.h"

namespace zelmar::app::testing {
namespace {

class JobCycleLogTest : public FormTest {
  protected:
    JobCycleLogTest() { form.setDiagnosticsLog(log); }
    std::string Take() {
        const std::string text = out.str();
        out.str("");
        return text;
    }

    std::ostringstream out;
    StreamLog log{out, LogLevel::kInfo, false};
};

TEST_F(JobCycleLogTest, JobsAndReadsEndWithTheirResultAndASilentRegisterAnsweringAgain) {
    Serve({2});
    session.registers[1].ModelCode = "AB";
    session.registers[1].SerialNumber = "72MAB123456";
    using enum jobs::JobResult;
    // a job's result (none: a register-data read, which succeeds when `read`), how long the
    // register takes, the lines
    const std::tuple<std::optional<jobs::JobResult>, bool, int, std::string> steps[] = {
        {std::nullopt, false, 0,
         "warning: slot 2 register data not read: E501: Dump non eseguito, verificare se Ecr in "
         "errore o non connesso (tried again next attempt)\n"},
        {std::nullopt, true, 0,
         "info: slot 2 register data read: model AB, serial 72MAB123456\n"
         "info: slot 2 register answers again\n"},
        {kNoAnswer, false, 10000,
         "warning: job slot 2 failed in 10000 ms: E504: Nessun messaggio ricevuto: controllare "
         "connessione con l'Ecr\n"},
        {kOk, false, 231, "info: job slot 2 done in 231 ms\ninfo: slot 2 register answers again\n"},
        {kInterrupted, false, 40,
         "warning: job slot 2 failed in 40 ms: E507: Trasmissione interrotta: probabile comando "
         "errato\n"},
        {kOk, false, 180, "info: job slot 2 done in 180 ms\n"},
    };
    for (const auto& [job, read, ms, lines] : steps) {
        if (job) {
            MarkRead(2);
            Submit(2);
            outside.onTransmit = [&] { return loop.sleepMs(ms), *job; };
            form.RunJobAttempt();
        } else {
            outside.onRead = [&] { return read ? ReadSucceeds() : link::ReadOutcome::kFailed; };
            form.StartRegisterRead(2);
        }
        EXPECT_EQ(Take(), lines);
    }
    form.Unload();
    EXPECT_EQ(Take(), "info: unload: closing the served slots\n");
}

}  // namespace
}  // namespace zelmar::app::testing
