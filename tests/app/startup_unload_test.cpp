#include <gtest/gtest.h>

#include "app/job_texts.h"
#include "app/poll_interval.h"
#include "form_fixture.h"

namespace zelmar::app::testing {
namespace {

using StartupTest = FormTest;

TEST(PollInterval, CalculateTimerRule) {
    struct Case {
        const char* text;
        int interval;
        const char* display;  // txtTimerVal was "1" before
    };
    const Case cases[] = {
        {"5", 5000, "5"},     {"500", 500, "500ms"},  {"500ms", 500, "500ms"},
        {"90", 60000, "60"},  {"70000", 60000, "60"}, {"0", 1000, "1"},
        {"", 1000, "1"},      {"abc", 1000, "1"},     {"-5", 1000, "1"},
        {"60", 60000, "60"},  {"100", 100, "100ms"},  {"60000", 60000, "60000ms"},
        {"1.5", 1500, "1.5"}, {"2,5", 2500, "2,5"},   {"0.0001", kMinPollIntervalMs, "0.0001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const PollSetting setting = CalculatePollSetting(c.text, "1");
        EXPECT_EQ(setting.intervalMs, c.interval);
        EXPECT_EQ(setting.display, c.display);
    }
}

TEST_F(StartupTest, FormLoadRunsItsStepsInOrder) {
    outside.onLoad = [&] { session.options.Check = {true, true, true, true}; };
    outside.timerField = "5";
    for (int n = 1; n <= 4; ++n) Put("SR_MATR", n, "stale");
    form.Form_Load();
    EXPECT_EQ(calls, (CallLog{"NewLogLines", "Load", "OpenComPort 1", "OpenComPort 2",
                              "OpenComPort 3", "OpenComPort 4", "ReadTimer", "WriteTimer 5",
                              std::string("Tray idle ") + kTipIdle}));
    EXPECT_EQ(form.state().PollInterval, 5000);
    EXPECT_EQ(form.Timer21().interval(), 5000);
    EXPECT_TRUE(form.Timer21().enabled());
    EXPECT_EQ(form.state().DumpPending, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_TRUE(session.texts.timerControlsVisible);
    for (int n = 1; n <= 4; ++n) EXPECT_FALSE(Has("SR_MATR", n));
}

TEST_F(StartupTest, APortNotFoundIsNotServedAndKeepsItsFiles) {
    outside.onLoad = [&] { session.options.Check = {true, true, true, true}; };
    outside.portAnswers = {true, true, false, true};
    for (int n = 1; n <= 4; ++n) {
        for (const char* base : {"SR_START", "SR_MATR", "SR_ERR", "SR_DATI", "SR_OUT", "FINESCO"}) {
            Put(base, n, "stale");
        }
    }
    form.Form_Load();
    EXPECT_EQ(form.state().PortFound, (std::array<bool, 4>{true, true, false, true}));
    EXPECT_EQ(session.options.Check, (std::array<bool, 4>{true, true, false, true}));
    EXPECT_EQ(session.options.CheckEnabled, (std::array<bool, 4>{true, true, false, true}));
    EXPECT_EQ(session.texts.portShapeGreen, (std::array<bool, 4>{true, true, false, true}));
    for (const char* base : {"SR_START", "SR_MATR", "SR_ERR", "SR_DATI", "SR_OUT", "FINESCO"}) {
        EXPECT_FALSE(Has(base, 1)) << base;
        EXPECT_TRUE(Has(base, 3)) << base;
    }
}

TEST_F(StartupTest, NetworkModeFindsEverySlotAndSetsUpTheNetwork) {
    outside.onLoad = [&] {
        session.options.OptionRete = true;
        session.options.OptionFAST = true;
    };
    form.Form_Load();
    EXPECT_EQ(Count(calls, "OpenComPort 1"), 0);
    EXPECT_EQ(Count(calls, "InitNetwork"), 1);
    EXPECT_EQ(form.state().PortFound, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_FALSE(session.texts.timerControlsVisible);
    EXPECT_TRUE(form.Timer21().enabled());  // in fast mode too: the first reads need it
}

TEST_F(StartupTest, EveryTickCountsWrapsAfter30001BlinksAndMakesAnAttempt) {
    Serve({});
    form.state().PortFound[0] = true;  // no E502 noise
    form.state().TickCounter = 30000;
    session.texts.WindowShown = true;
    const std::pair<const char*, const char*> ticks[] = {
        {"30001", "Timer ON"}, {"0", "Timer on"}, {"1", "Timer ON"}};
    for (const auto& [counter, timerText] : ticks) {
        form.Timer21_Timer();
        EXPECT_EQ(session.texts.txtTimer, counter);
        EXPECT_EQ(session.texts.Text3, timerText);
        EXPECT_TRUE(form.Timer21().enabled());  // slow mode: the attempt re-arms the poll
    }
    EXPECT_EQ(Count(calls, "NewLogLines"), 3);
}

TEST_F(StartupTest, UnloadWhenIdleDeletesServedSlotsFilesButKeepsTheData) {
    Serve({1, 2});
    for (int n = 1; n <= 3; ++n) {
        for (const char* base : {"SR_START", "SR_MATR", "SR_ERR", "SR_DATI", "SR_OUT", "FINESCO"}) {
            Put(base, n, "x");
        }
    }
    form.Timer21().setEnabled(true);
    form.Unload();
    EXPECT_EQ(calls, (CallLog{"CloseSocket", "RemoveTray", "Hide", "ClosingBox on",
                              "CloseConnection", "CloseConnection", "Save", "ClosingBox off"}));
    for (int n : {1, 2}) {
        for (const char* base : {"SR_START", "SR_MATR", "SR_ERR", "SR_OUT", "FINESCO"}) {
            EXPECT_FALSE(Has(base, n)) << base << n;
        }
        EXPECT_TRUE(Has("SR_DATI", n));
    }
    EXPECT_TRUE(Has("SR_MATR", 3));
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(form.Timer21().enabled());
    form.Unload();  // a second request changes nothing
    EXPECT_EQ(quits, 1);
}

TEST_F(StartupTest, UnloadDuringAJobEndsItThroughItsTimeOutAndKeepsTheFiles) {
    Serve({1});
    MarkRead(1);
    Submit(1);
    outside.onTransmit = [&] {
        form.Unload();  // the close request arrives while the job pumps the loop
        EXPECT_TRUE(session.link.TimeoutFlag);
        EXPECT_EQ(quits, 0);
        return -4;  // the link's wait ended on the flag
    };
    form.txtTimer_Change();
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(Count(calls, "Save"), 1);
    EXPECT_EQ(Count(calls, "CloseConnection"), 0);
    EXPECT_TRUE(Has("SR_MATR", 1));
    EXPECT_TRUE(Has("SR_DATI", 1));
    EXPECT_EQ(Read("SR_ERR", 1),
              "E504: Nessun messaggio ricevuto: controllare connessione con l'Ecr\r\n");
    calls.clear();
    loop.advance(10000);  // nothing runs after the end
    EXPECT_TRUE(calls.empty());
}

TEST_F(StartupTest, UnloadDuringTheTableReadTakesTheIdlePath) {
    Serve({1});
    outside.onRead = [&] {
        outside.tableRead = true;
        form.Unload();
        EXPECT_FALSE(session.link.TimeoutFlag);
        EXPECT_EQ(quits, 1);
        return ReadSucceeds();
    };
    form.txtTimer_Change();
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(form.DirWatch(), nullptr);  // no watcher started after the unload
}

}  // namespace
}  // namespace zelmar::app::testing
