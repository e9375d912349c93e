#pragma once

// The register decides a job whose answers went missing: the same cases on both lines, run by
// the serial and the network fault matrices against the simulated register on virtual time.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_file.h"
#include "jobs/job_messages.h"
#include "link/link_rig.h"

namespace zelmar::link::verdict {

inline const std::string kSale = "3/S/PANE//1/1.00/1/22.00";
inline const std::string kPayment = "5/1/1.00//////";

struct Case {
    const char* name;
    std::vector<std::string> faults;
    std::vector<jobs::JobResult> results;  // one job each
    std::size_t paymentsCarriedOut;
};

// clang-format off
inline const Case kCases[] = {
    {"lost answer to the payment", {"lost=5/"}, {jobs::JobResult::kOk}, 1},
    {"lost answer to a sale, then silence", {"lost=3/", "silent:*@1"}, {jobs::JobResult::kInterrupted}, 0},
    {"dead register after a lost payment", {"lost=5/", "silent:*@2"}, {jobs::JobResult::kInterrupted}, 1},
    {"a failed job leaves its receipt open: the next payment does not close it",
     {"refuse:1=09,5/"}, {jobs::JobResult::kInterrupted, jobs::JobResult::kReceiptOpen}, 1},
};
// clang-format on

// Runs every case on a fresh `Rig`, which has the register's faults (`faults`), its journal
// (`journaled`), the job's files in `session` and `transmit()`.
template <typename Rig>
void RunVerdictCases() {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        for (const auto& fault : c.faults) {
            std::string error;
            EXPECT_TRUE(rig.faults.add(fault, error)) << error;
        }
        for (const jobs::JobResult expected : c.results) {
            WriteTextLines(rig.job.jobFile, {kSale, kPayment});
            EXPECT_EQ(rig.transmit(), expected);
        }
        EXPECT_EQ(rig.journaled(kPayment), c.paymentsCarriedOut);
        const std::string out = testing::ReadAll(rig.job.resultFile);
        const bool done = c.results.back() == jobs::JobResult::kOk;
        EXPECT_EQ(out.find(rig.firstDocumentNumber()) != std::string::npos, done) << out;
        const std::string log = testing::ReadAll(rig.folder.file("LOGFILE.TXT"));
        EXPECT_EQ(log.find("Esito accertato dal registratore") != std::string::npos, done) << log;
    }
}

}  // namespace zelmar::link::verdict
