// The real headless program with links planted in its data folder under the names of the
// exchange files, pointing outside it: nothing is written, created or read through them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "program_run.h"

namespace zelmar::testing {
namespace {

namespace fs = std::filesystem;

// What a link to an existing file points at: a job the program must never see.
constexpr const char* kOutsideJob = "SALE,N1,P100,:SEGRETO;\r\nCASH,V100;\r\n";

TEST(ExchangeLinks, NoExchangeFileIsWrittenCreatedOrReadThroughALink) {
    struct Case {
        const char* link;  // the name in the data folder; it points to the same name outside
        bool targetExists;
        const char* job;  // SR_DATI, unless SR_DATI is the link
        bool fails;       // SR_ERR with the conversion error, otherwise FINESCO
    };
    const Case cases[] = {
        {"SR_ERR.001", true, "", true},  // an empty job fails
        {"SR_OUT.001", false, kSale, false},  {"FINESCO.001", false, kSale, false},
        {"SR_DATI.001", true, nullptr, true}, {"SR_START.001", false, kSale, false},
    };
    ProgramRun run(Line::kSerial, {});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.registerDataRead());
    const ScratchFolder& data = run.data();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        const ScratchFolder outside("outside");
        for (const char* name : {"SR_ERR.001", "SR_OUT.001", "FINESCO.001", "SR_DATI.001"}) {
            fs::remove(data.file(name));
        }
        if (c.targetExists) outside.put(c.link, kOutsideJob);
        fs::create_symlink(outside.file(c.link), data.file(c.link));
        if (c.job) data.put("SR_DATI.001", c.job);
        if (std::string(c.link) != "SR_START.001") data.put("SR_START.001", "");

        // Gone, even as a link (wherever it points).
        ASSERT_TRUE(
            WaitFor([&] { return !fs::exists(fs::symlink_status(data.file("SR_START.001"))); },
                    kJobBudget));
        const char* result = c.fails ? "SR_ERR.001" : "FINESCO.001";
        const char* content = c.fails ? "ERRORE DI CONVERSIONE\r\n" : "finesco";
        EXPECT_TRUE(WaitFor([&] { return data.read(result) == content; }, std::chrono::seconds(1)));
        // The outside file as it was: the same job, or still no file at all.
        EXPECT_EQ(fs::exists(outside.file(c.link)) ? outside.read(c.link) : "(none)",
                  c.targetExists ? kOutsideJob : "(none)");
        for (const auto& line : run.journal()) EXPECT_EQ(line.find("SEGRETO"), std::string::npos);
    }
}

}  // namespace
}  // namespace zelmar::testing
