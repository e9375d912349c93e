// While a job or a register-data read holds the link, nothing started from an event handler
// (an operator command, a poll tick, the unload) sends, opens, closes or reconfigures it.
#include <gtest/gtest.h>

#include <functional>

#include "form_fixture.h"

namespace zelmar::app::testing {
namespace {

bool TouchesTheLink(const std::string& call) {
    for (const char* prefix : {"OpenConnection", "CloseConnection", "CloseSocket", "InitNetwork"}) {
        if (call.rfind(prefix, 0) == 0) return true;
    }
    return false;
}

class OneExchangeTest : public CommandsTest {
  protected:
    OneExchangeTest() {
        session.texts.WindowShown = true;
        Serve({1, 3});
        MarkRead(1);
        Submit(1);
    }
    // Runs `during` inside a job on slot 1 or inside the register-data read of slot 3, and
    // returns the calls it made.
    CallLog RunInside(bool read, const std::function<void()>& during) {
        CallLog inside;
        auto record = [&] {
            const std::size_t before = calls.size();
            during();
            inside.assign(calls.begin() + static_cast<std::ptrdiff_t>(before), calls.end());
            EXPECT_EQ(session.CurrentSlot, read ? 3 : 1);
        };
        if (read) {
            outside.onRead = [&] { return record(), ReadSucceeds(); };
            form.StartRegisterRead(3);
        } else {
            outside.onTransmit = [&] { return record(), jobs::JobResult::kOk; };
            form.RunJobAttempt();
        }
        return inside;
    }
};

TEST_F(OneExchangeTest, OperatorCommandsAreRefusedWhileAJobOrAReadRuns) {
    const struct {
        const char* name;
        std::function<void(OperatorCommands&)> click;
    } commandCases[] = {
        {"cancel receipt", [](OperatorCommands& c) { c.CancelReceipt(); }},
        {"test receipt", [](OperatorCommands& c) { c.PrintTestReceipt(); }},
        {"baud rate", [](OperatorCommands& c) { c.ApplyBaudRate(); }},
        {"network", [](OperatorCommands& c) { c.SelectNetwork(); }},
        {"serial", [](OperatorCommands& c) { c.SelectSerial(); }},
        {"ping", [](OperatorCommands& c) { c.PingRegister("Ping", [](const std::string&) {}); }},
    };
    for (const bool read : {false, true}) {
        for (const auto& c : commandCases) {
            SCOPED_TRACE(std::string(c.name) + (read ? " during a read" : " during a job"));
            Submit(1);
            std::filesystem::remove(Path("SR_MATR", 3));
            session.options.UseNetwork = std::string(c.name) != "network";
            session.options.RegisterAddress = "127.0.0.1";
            const Options before = session.options;
            const std::string jobLines = Read("SR_DATI", 1);
            const std::size_t notices = shell.notices().size();

            const CallLog inside = RunInside(read, [&] { c.click(commands); });
            EXPECT_EQ(std::count_if(inside.begin(), inside.end(), TouchesTheLink), 0);
            EXPECT_TRUE(sender.sent.empty());
            EXPECT_TRUE(shell.pingedHosts().empty());
            EXPECT_EQ(session.options.UseNetwork, before.UseNetwork);
            EXPECT_EQ(session.options.BaudRate, before.BaudRate);
            ASSERT_EQ(shell.notices().size(), notices + 1);
            EXPECT_EQ(shell.notices().back(), kCommandRefusedDuringExchange);
            if (!read) {
                EXPECT_FALSE(Has("SR_DATI", 1) && Read("SR_DATI", 1) != jobLines);
            }
            EXPECT_FALSE(Has("SR_DATI", 3));  // no test receipt was written
        }
    }
}

// Fast mode leaves the close pending after every job; a slot-box click during the next job
// enables the poll. Its ticks must not close the link under the job, and neither a tick nor a
// watcher event starts a job.
TEST_F(OneExchangeTest, APollTickOrAnAttemptDuringAJobLeavesTheLinkAlone) {
    for (const bool read : {false, true}) {
        SCOPED_TRACE(read ? "read" : "job");
        Submit(1);
        std::filesystem::remove(Path("SR_MATR", 3));
        form.state().LinkClosePending = 2;
        const CallLog inside = RunInside(read, [&] {
            commands.SetSlotServed(2, true);
            loop.advance(10000);
            form.RunJobAttempt();
        });
        EXPECT_EQ(std::count_if(inside.begin(), inside.end(), TouchesTheLink), 0);
        EXPECT_EQ(Count(inside, "TransmitJob 1 test 0"), 0);
    }
}

class UnloadDuringExchangeTest : public OneExchangeTest,
                                 public ::testing::WithParamInterface<bool> {};

TEST_P(UnloadDuringExchangeTest, LetsTheWorkEndOnItsOwnSlotThenQuits) {
    const bool read = GetParam();
    const CallLog inside = RunInside(read, [&] {
        form.Unload();
        EXPECT_TRUE(session.link.ExchangeAborted && session.link.TimeoutFlag);
        EXPECT_EQ(quits, 0);
    });
    EXPECT_EQ(std::count_if(inside.begin(), inside.end(), TouchesTheLink), 0);
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(calls.back(), "CloseSocket");  // the link is closed once the work has ended
    EXPECT_EQ(Count(calls, "Save"), 1);
    if (read) {
        EXPECT_TRUE(Has("SR_MATR", 3));  // written to the slot it read
    } else {
        EXPECT_EQ(Read("FINESCO", 1), "finesco");  // the job's result stays
    }
    calls.clear();
    loop.advance(10000);  // nothing runs after the end
    EXPECT_TRUE(calls.empty());
}

INSTANTIATE_TEST_SUITE_P(JobOrRead, UnloadDuringExchangeTest, ::testing::Bool());

// The unload's pumped pause lets a due poll tick run: it must not start a job any more.
TEST_F(OneExchangeTest, APollTickDueWhenTheUnloadStartsRunsNoJob) {
    form.PollTimer().setInterval(1000);
    loop.postDelayed(1000, [&] { form.Unload(); });
    form.PollTimer().setEnabled(true);
    loop.advance(1000);
    EXPECT_EQ(Count(calls, "TransmitJob 1 test 0"), 0);
    EXPECT_EQ(quits, 1);
}

TEST_F(OneExchangeTest, ASuccessfulReadWithoutSerialIsNotRepeated) {
    std::filesystem::remove(Path("SR_MATR", 1));
    // Read, but the serial was too short for SR_MATR.
    outside.onRead = [] { return link::ReadOutcome::kOk; };
    form.RunJobAttempt();
    form.RunJobAttempt();
    form.RunJobAttempt();
    EXPECT_EQ(Count(calls, "ReadRegisterData 1"), 1);
    EXPECT_EQ(Count(calls, "TransmitJob 1 test 0"), 1);  // the POS application gets its result
    EXPECT_EQ(Read("FINESCO", 1), "finesco");

    // A published SR_MATR that the POS application removes still asks for a new read.
    outside.onRead = [this] { return ReadSucceeds(); };
    form.StartRegisterRead(1);
    std::filesystem::remove(Path("SR_MATR", 1));
    form.RunJobAttempt();
    EXPECT_EQ(Count(calls, "ReadRegisterData 1"), 3);
}

TEST_F(OneExchangeTest, AFailedReadClosesItsPortAndTheTraceClosesOnEveryJobEnd) {
    std::filesystem::remove(Path("SR_MATR", 1));
    outside.onRead = [] { return link::ReadOutcome::kFailed; };
    form.StartRegisterRead(1);
    EXPECT_EQ(calls.back(), "CloseConnection");
    EXPECT_TRUE(form.state().ReadPending[0] && !Has("SR_START", 1));  // read again next time

    session.options.TraceOn = true;
    MarkRead(1);
    Submit(1);
    outside.onTransmit = [] { return jobs::JobResult::kDataFileVanished; };
    calls.clear();
    form.RunJobAttempt();
    const auto opened = std::find(calls.begin(), calls.end(), "OpenTraceFiles");
    ASSERT_NE(opened, calls.end());
    EXPECT_NE(std::find(opened, calls.end(), "CloseTraceFiles"), calls.end());
}

}  // namespace
}  // namespace zelmar::app::testing
