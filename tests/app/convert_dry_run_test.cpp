#include "app/convert_dry_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "config/scratch_folder.h"

namespace zelmar::app {
namespace {

using Args = std::vector<std::string>;

class ConvertDryRunTest : public ::testing::Test {
  protected:
    struct Outcome {
        int status;
        std::string out;
        std::string err;
    };

    Outcome Run(const Args& args) {
        std::ostringstream out, err;
        const int status = RunConvertDryRun(args, out, err);
        return {status, out.str(), err.str()};
    }
    Outcome Convert(const std::string& job, Args extra = {}, const std::string& reg = "") {
        folder_.put("job.txt", job);
        Args args{"--convert", folder_.file("job.txt")};
        if (!reg.empty()) {
            folder_.put("register.txt", reg);
            args.insert(args.end(), {"--register", folder_.file("register.txt")});
        }
        args.insert(args.end(), extra.begin(), extra.end());
        return Run(args);
    }

    zelmar::testing::ScratchFolder folder_{"dry_run"};
};

TEST_F(ConvertDryRunTest, UsageErrorsExitWithTwoAndAJobThatGivesNothingWithOne) {
    folder_.put("job.txt", "SALE,N1,P100;\r\n");
    const std::string job = folder_.file("job.txt");
    const std::vector<Args> usages{{},
                                   {"--convert"},
                                   {"--convert", job, "--option", "chbTrace"},
                                   {"--convert", job, "--bogus", "x"},
                                   {"--convert", job, "--register", folder_.file("missing.txt")}};
    for (const auto& args : usages) {
        const Outcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 2) << ::testing::PrintToString(args);
        EXPECT_TRUE(outcome.out.empty() && !outcome.err.empty());
    }
    EXPECT_EQ(Run({"--convert", folder_.file("none.txt")}).status, 1);
    EXPECT_EQ(Convert("", {"--option", "chbConvXonXoff"}).status, 1);
}

// The lines as slot 1 would send them to the register described, one per line.
TEST_F(ConvertDryRunTest, PrintsTheCommandLinesForTheRegisterDescribed) {
    const Outcome rt = Convert("SALE,N1,P150,:PANE;\r\nOPER,C12;\r\n", {},
                               "model=RX\nrt=1\nmax_operator=5\ndept.1=22,1\n");
    EXPECT_EQ(rt.status, 0);
    EXPECT_EQ(rt.out, "3/S/PANE//1/1.50/1/22/N1/0\n1/5\n");
}

TEST_F(ConvertDryRunTest, OptionsTakeTheJobsPath) {
    const std::string refundJob = "SALE,N1,P500,R;\r\nSALE,N2,P100;\r\n";
    EXPECT_EQ(Convert(refundJob, {"--option", "chbScontiSuReso"}).out,
              "3/S/REPARTO 2//1/1.00/2/0\n3/R/ //1/5.00/1/0\n");
    EXPECT_EQ(folder_.read("job.txt"), refundJob);  // the input is never modified
}

TEST_F(ConvertDryRunTest, ReadLineStaysInTheDataFolder) {
    zelmar::testing::ScratchFolder data{"dry_run_data"};
    const std::string outside = folder_.file("outside");
    const Outcome outcome = Convert("SALE,N1,P100;\r\nREAD,:" + outside + "\\dati.txt;\r\n",
                                    {"--data-dir", data.path()});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(data.has("dati.txt"));
    EXPECT_FALSE(folder_.has("outside") || folder_.has("outside\\dati.txt"));
}

TEST(RegisterDescriptionTest, ReadsKeysOverTheDefaultsAndRejectsMalformedLines) {
    zelmar::testing::ScratchFolder folder{"dry_run_register"};
    folder.put("reg.txt",
               "# shop register\r\nmodel=AB\r\ndescription=ed 500\r\nrt=1\r\nserial=99MEY012345\r\n"
               "max_operator=12\r\n dept.2 = 10,3 \r\ndept.12=4\r\n");
    RegisterData reg;
    std::string error;
    ASSERT_TRUE(ReadRegisterDescription(folder.file("reg.txt"), reg, error)) << error;
    EXPECT_EQ(reg.ModelCode + "|" + reg.ModelDescription + "|" + reg.SerialNumber + "|" +
                  std::to_string(reg.IsRtRegister) + "|" + std::to_string(reg.DeptCount) + "|" +
                  reg.DeptVat[0] + "|" + reg.DeptVat[1] + "|" + reg.DeptVat[11] + "|" +
                  std::to_string(reg.DeptNature[1]),
              "AB|ED 500|99MEY012345|1|12|0|10|4|3");
    for (const char* line : {"model", "rt=yes", "max_operator=0", "dept.0=22", "dept.1000=22",
                             "dept.1=22,n", "colour=blue"}) {
        folder.put("reg.txt", line);
        error.clear();
        EXPECT_FALSE(ReadRegisterDescription(folder.file("reg.txt"), reg, error)) << line;
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace zelmar::app
