#include <gtest/gtest.h>

#include "app/job_texts.h"
#include "app/poll_interval.h"
#include "form_fixture.h"

namespace zelmar::app::testing {
namespace {

using StartupTest = FormTest;

const char* const kSlotFiles[] = {"SR_START", "SR_MATR", "SR_ERR", "SR_DATI", "SR_OUT", "FINESCO"};

TEST(PollInterval, CalculateTimerRule) {
    struct Case {
        const char* text;
        int interval;
        const char* display;  // PollIntervalText was "1" before
    };
    const Case cases[] = {
        {"500ms", 500, "500ms"},     {"90", 60000, "60"},  {"0", 1000, "1"},
        {"60000", 60000, "60000ms"}, {"2,5", 2500, "2,5"}, {"0.0001", kMinPollIntervalMs, "0.0001"},
    };
    for (const auto& c : cases) {
        const PollSetting setting = CalculatePollSetting(c.text, "1");
        EXPECT_EQ(setting.intervalMs, c.interval) << c.text;
        EXPECT_EQ(setting.display, c.display) << c.text;
    }
}

// Slot 3's port is not found: it is not served and its files stay; the others start clean.
TEST_F(StartupTest, FormLoadRunsItsStepsInOrderAndServesOnlyTheFoundPorts) {
    outside.onLoad = [&] { session.options.SlotServed = {true, true, true, true}; };
    outside.portAnswers = {true, true, false, true};
    outside.timerField = "5";
    for (int n : {1, 3}) {
        for (const char* base : kSlotFiles) Put(base, n, "stale");
    }
    form.StartUp();
    EXPECT_EQ(calls, (CallLog{"NewLogLines", "Load", "OpenComPort 1", "OpenComPort 2",
                              "OpenComPort 3", "OpenComPort 4", "ReadTimer", "WriteTimer 5",
                              std::string("Tray idle ") + kTipIdle}));
    EXPECT_EQ(form.PollTimer().interval(), 5000);
    EXPECT_EQ(form.state().ReadPending, (std::array<bool, 4>{true, true, true, true}));
    const std::array<bool, 4> served{true, true, false, true};
    EXPECT_EQ(form.state().PortFound, served);
    EXPECT_EQ(session.options.SlotSelectable, served);
    for (const char* base : kSlotFiles) {
        EXPECT_FALSE(Has(base, 1)) << base;
        EXPECT_TRUE(Has(base, 3)) << base;
    }
}

TEST_F(StartupTest, UnloadWhenIdleDeletesServedSlotsFilesButKeepsTheData) {
    Serve({1, 2});
    for (int n = 1; n <= 3; ++n) {
        for (const char* base : kSlotFiles) Put(base, n, "x");
    }
    form.PollTimer().setEnabled(true);
    form.Unload();
    EXPECT_EQ(calls, (CallLog{"CloseSocket", "RemoveTray", "Hide", "ClosingBox on",
                              "CloseConnection", "CloseConnection", "Save", "ClosingBox off"}));
    for (int n = 1; n <= 3; ++n) {
        for (const char* base : kSlotFiles) {
            EXPECT_EQ(Has(base, n), n == 3 || std::string(base) == "SR_DATI") << base << n;
        }
    }
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(form.PollTimer().enabled());
    form.Unload();  // a second request changes nothing
    EXPECT_EQ(quits, 1);
}

}  // namespace
}  // namespace zelmar::app::testing
