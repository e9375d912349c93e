#include "app/operator_commands.h"

#include <gtest/gtest.h>

#include "app/form_fixture.h"

namespace zelmar::app::testing {
namespace {

class OperatorCommandsTest : public CommandsTest {
  protected:
    OperatorCommandsTest() {
        session.texts.WindowShown = true;
        session.registers[1].DeptVat = {"22.00", "10.00", "4.00", "0.00", "5.00", "0",
                                        "0",     "0",     "0",    "0",    "0"};
    }
    // Slots served as given; `read` lists the slots whose register data is in.
    void ServeAndRead(std::initializer_list<int> served, std::initializer_list<int> read) {
        Serve(served);
        form.state().ReadPending = {true, true, true, true};
        for (int n : read) form.state().ReadPending[n - 1] = false;
    }
};

// The test receipt goes to the last ticked, found and read slot; there it waits for the ordinary
// job of an earlier slot, then runs as itself: no refund rewrite, and the button comes back.
TEST_F(OperatorCommandsTest, TestReceiptRunsOnItsSlotAfterTheJobsBeforeIt) {
    struct Case {
        std::initializer_list<int> served, read;
        int target;  // 0: no files written
    } cases[] = {
        {{1, 2, 3, 4}, {2, 4}, 4},
        {{1}, {2}, 0},  // the read slot is not ticked
        {{1}, {}, 0},   // no register data yet
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("target " + std::to_string(c.target));
        ServeAndRead(c.served, c.read);
        session.texts.RegisterMessage.clear();
        commands.PrintTestReceipt();
        for (int n = 1; n <= 4; ++n) {
            EXPECT_EQ(Has("SR_DATI", n) && Has("SR_START", n), n == c.target) << n;
            std::filesystem::remove(Path("SR_DATI", n));
            std::filesystem::remove(Path("SR_START", n));
        }
        EXPECT_EQ(form.state().TestReceiptSlot, c.target);
        EXPECT_EQ(session.texts.TestReceiptEnabled, c.target == 0);
        EXPECT_EQ(session.texts.RegisterMessage, c.read.size() ? "" : "DUMP NON ANCORA ESEGUITO");
        form.state().TestReceiptSlot = 0;
        session.texts.TestReceiptEnabled = true;
    }
    ServeAndRead({1, 3}, {1, 3});
    session.options.DiscountsOnRefund = true;
    MarkRead(1);
    MarkRead(3);
    form.PollTimer().setEnabled(false);
    commands.PrintTestReceipt();
    EXPECT_TRUE(form.PollTimer().enabled());  // slow mode: the poll is restarted for the job
    EXPECT_TRUE(Has("SR_START", 3) && !Has("SR_START", 1));
    Submit(1);

    form.RunJobAttempt();
    EXPECT_EQ(Count(calls, "Rewrite " + Path("SR_DATI", 1)), 1);
    EXPECT_EQ(Count(calls, "TransmitJob 1 test 0"), 1);
    EXPECT_EQ(form.state().TestReceiptSlot, 3);  // still pending for its own slot

    form.RunJobAttempt();
    EXPECT_EQ(Count(calls, "Rewrite " + Path("SR_DATI", 3)), 0);
    EXPECT_EQ(Count(calls, "TransmitJob 3 test 1"), 1);
    EXPECT_EQ(form.state().TestReceiptSlot, 0);
    EXPECT_TRUE(session.texts.TestReceiptEnabled);
    EXPECT_TRUE(Has("FINESCO", 3));
}

TEST_F(OperatorCommandsTest, TestReceiptLinesFollowTheRegister) {
    const std::string sales =
        "?\r\n"
        "3/S/ART  PROVA 1//1.000/0.01/1/22.00\r\n"
        "3/S/ART  PROVA 2//1.000/0.01/2/10.00\r\n"
        "3/S/ART  PROVA 3//1.000/0.01/3/4.00\r\n"
        "3/S/ART  PROVA 4//1.000/0.01/4/0.00\r\n"
        "3/S/ART  PROVA 5//1.000/0.01/5/5.00\r\n"
        "+\r\n";
    struct Case {
        int fiscalStatus;
        const char* description;
        const char* code;
        std::string expected;
    } cases[] = {
        {22, "ED 1000", "VT", "+\r\n5/1/0///\r\n"},
        {0, "FP 90", "VT", "W\r\n" + sales},
        {0, "FP 90", "MA", sales},
    };
    ServeAndRead({2}, {2});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        session.link.FiscalStatus = c.fiscalStatus;
        session.registers[1].ModelDescription = c.description;  // slot 2's register
        session.registers[1].ModelCode = c.code;
        commands.PrintTestReceipt();
        EXPECT_EQ(Read("SR_DATI", 2), c.expected);
        EXPECT_EQ(Read("SR_START", 2), "00000000\r\n");
    }
}

TEST_F(OperatorCommandsTest, SetTimer) {
    struct Case {
        const char* typed;
        bool jobBusy, pollRunning;
        std::vector<std::string> notices;
        int interval;
        const char* written;  // ZMTIMER1.TXT line; nullptr: not written
    } cases[] = {
        {"0", false, true, {"Valore non ammesso"}, 1000, "1"},
        {"3", false, false, {}, 3000, "3"},  // a stopped poll stays stopped
        {"5", true, true, {"Connessione in corso, valore non accettato"}, 2000, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        shell = platform::FakeShell();
        calls.clear();
        form.state().PollInterval = 2000;
        form.PollTimer().setInterval(2000);
        form.PollTimer().setEnabled(c.pollRunning);
        form.state().JobBusy = c.jobBusy;
        session.options.PollIntervalText = c.typed;
        commands.SetPollInterval();
        EXPECT_EQ(shell.notices(), c.notices);
        EXPECT_EQ(form.state().PollInterval, c.interval);
        EXPECT_EQ(form.PollTimer().interval(), c.interval);
        EXPECT_EQ(form.PollTimer().enabled(), c.pollRunning);
        EXPECT_EQ(calls, c.written ? CallLog{std::string("WriteTimer ") + c.written} : CallLog{});
    }
}

TEST_F(OperatorCommandsTest, CancelReceiptOpensTheLinkUnlessTheSocketIsConnected) {
    using State = platform::TcpSocket::State;
    for (const State state : {State::kClosed, State::kConnected}) {
        calls.clear();
        sender.sent.clear();
        socketState = state;
        commands.CancelReceipt();
        EXPECT_EQ(Count(calls, "OpenConnection"), state == State::kConnected ? 0 : 1);
        EXPECT_EQ(sender.sent, std::vector<std::string>{"+"});
    }
}

TEST_F(OperatorCommandsTest, ModeAndTransportOptions) {
    form.PollTimer().setEnabled(true);
    commands.SelectFastMode();
    EXPECT_FALSE(form.PollTimer().enabled());
    EXPECT_FALSE(session.texts.timerControlsVisible);
    EXPECT_EQ(session.texts.PollState, "PRONTO");

    commands.SelectPollMode();  // a job attempt, which restarts the poll
    EXPECT_TRUE(form.PollTimer().enabled());
    EXPECT_TRUE(session.texts.timerControlsVisible);

    calls.clear();
    commands.SelectNetwork();
    commands.SelectSerial();
    EXPECT_EQ(calls, (CallLog{"CloseConnection", "InitNetwork", "CloseSocket", "OpenConnection"}));
    EXPECT_FALSE(session.options.UseNetwork);
}

}  // namespace
}  // namespace zelmar::app::testing
