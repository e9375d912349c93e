// A job the program was stopped in (a crash, a power cut) is answered at the next start-up:
// failed when its closing line was never sent, otherwise as the register shows it.
#include <gtest/gtest.h>

#include <optional>

#include "form_fixture.h"
#include "jobs/in_flight_marker.h"

namespace zelmar::app::testing {
namespace {

using jobs::InFlightStage;

class InterruptedJobTest : public FormTest {
  protected:
    InterruptedJobTest() {
        outside.onLoad = [&] { session.options.SlotServed = {true, false, false, false}; };
    }
    void Restart() {
        form.StartUp();
        form.RunJobAttempt();  // the register-data read
        form.RunJobAttempt();  // then the job, if one is left
    }
    jobs::InFlightMarker marker{jobFiles, files};
};

TEST_F(InterruptedJobTest, TheNextStartUpAnswersTheJob) {
    using enum jobs::JobResult;
    const struct {
        const char* name;
        std::optional<InFlightStage> stage;
        bool startLeft;          // SR_START still there
        bool otherJob;           // SR_DATI is a new job, not the marker's
        jobs::JobResult settle;  // the register's verdict, when asked
        const char* expected;    // "FINESCO", "E507" or "" (cleaned up, no answer)
        bool asked;
    } cases[] = {
        {"closing line never sent", InFlightStage::kLines, true, false, kOk, "E507", false},
        {"closing line sent, document completed", InFlightStage::kClosing, true, false, kOk,
         "FINESCO", true},
        {"closing line sent, document still open", InFlightStage::kClosing, true, false,
         kInterrupted, "E507", true},
        {"job already answered", InFlightStage::kClosing, false, false, kOk, "", false},
        {"a new job since", InFlightStage::kClosing, true, true, kOk, "", false},
        {"no marker", std::nullopt, true, false, kOk, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Put("SR_DATI", 1, "SALE,N1,P100;\r\nCASH;\r\n");
        if (c.stage) marker.Record(1, *c.stage, "9");
        if (c.otherJob) Put("SR_DATI", 1, "SALE,N2,P200;\r\n");
        if (c.startLeft) Put("SR_START", 1, "");
        Put("SR_MATR", 1, "OLD SERIAL\r\n");
        outside.onSettle = [&] { return c.settle; };
        calls.clear();

        Restart();
        EXPECT_EQ(Count(calls, "Settle 1 9"), c.asked ? 1 : 0);
        EXPECT_FALSE(marker.Read(1).has_value());
        EXPECT_FALSE(Has("SR_START", 1));
        const std::string expected = c.expected;
        EXPECT_EQ(Has("FINESCO", 1), expected == "FINESCO");
        EXPECT_EQ(Has("SR_ERR", 1) ? Read("SR_ERR", 1).substr(0, 4) : "",
                  expected == "E507" ? "E507" : "");
        EXPECT_EQ(Has("SR_DATI", 1), expected == "E507");  // kept for the POS to send again
        EXPECT_EQ(Read("SR_MATR", 1), "SERIAL01\r\n");     // read afresh
        for (const char* base : {"SR_ERR", "FINESCO", "SR_DATI", "SR_OUT"}) {
            std::filesystem::remove(Path(base, 1));
        }
    }
}

}  // namespace
}  // namespace zelmar::app::testing
