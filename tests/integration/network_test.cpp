// The real headless program against the simulated register on loopback TCP: whole jobs from
// the job files to the result files.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "common/options.h"
#include "config/scratch_folder.h"
#include "config/settings_files.h"
#include "platform/file_system.h"
#include "support/program_runner.h"

namespace {

using namespace std::chrono_literals;
using zelmar::testing::ChildProcess;
using zelmar::testing::EcrsimProcess;
using zelmar::testing::ScratchFolder;

// Bound for real processes on a loaded machine; a job itself takes well under a second.
constexpr auto kJobBudget = 40s;

template <typename Condition>
bool WaitFor(Condition condition) {
    return zelmar::testing::WaitFor(condition, kJobBudget);
}

// ecrsim on a free loopback port with the given faults, and zelmar1 in network mode on it.
class NetworkRun {
  public:
    explicit NetworkRun(const std::vector<std::string>& faults) {
        std::vector<std::string> args{"--no-serial", "--tcp", "0"};
        for (const auto& fault : faults) {
            args.push_back("--fault");
            args.push_back(fault);
        }
        register_ = std::make_unique<EcrsimProcess>(ECRSIM_PATH, args);
        const std::string tcp = register_->value("TCP");  // "127.0.0.1 PORT"
        const std::string host = "127.0.0.1 ";
        if (tcp.rfind(host, 0) != 0) return;
        port_ = tcp.substr(host.size());

        zelmar::Options options;
        options.OptionRete = true;
        options.Check[0] = true;
        options.txtRemoteIP = "127.0.0.1";
        options.txtRemotePort = port_;
        zelmar::platform::StdFileSystem files;
        zelmar::config::SettingsFiles(files, program_.path()).Save(options);
        program1_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{ZELMAR1_PATH, "--headless", "--program-dir", program_.path(),
                                     "--data-dir", data_.path()},
            false);
    }
    bool started() const { return !port_.empty(); }
    // The register-data read of slot 1, then one job; true when it ended with a result file.
    bool runJob(const std::string& jobLines) {
        if (!WaitFor([&] { return data_.has("SR_MATR.001"); })) return false;
        data_.put("SR_DATI.001", jobLines);
        data_.put("SR_START.001", "");
        return WaitFor([&] { return !data_.has("SR_START.001"); });
    }
    const ScratchFolder& data() const { return data_; }

  private:
    ScratchFolder program_{"network_program"};
    ScratchFolder data_{"network_data"};
    std::string port_;
    std::unique_ptr<EcrsimProcess> register_;
    std::unique_ptr<ChildProcess> program1_;
};

constexpr const char* kReceipt = "SALE,N1,P100,:PANE;\r\nCASH,V100;\r\n";

TEST(NetworkIntegration, AReceiptOverLoopbackTcpEndsWithFinesco) {
    NetworkRun run({});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kReceipt));
    EXPECT_EQ(run.data().read("FINESCO.001"), "finesco");
    EXPECT_FALSE(run.data().has("SR_ERR.001"));
    EXPECT_TRUE(run.data().has("SR_OUT.001"));
}

TEST(NetworkIntegration, ARefusedSaleWritesTheRegisterMessageAsTheSecondErrorLine) {
    NetworkRun run({"refuse:*=09,3/"});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kReceipt));
    EXPECT_FALSE(run.data().has("FINESCO.001"));
    const std::string err = run.data().read("SR_ERR.001");
    const auto firstLineEnd = err.find("\r\n");
    ASSERT_NE(firstLineEnd, std::string::npos);
    EXPECT_EQ(err.substr(firstLineEnd + 2),
              "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2\r\n");
}

}  // namespace
