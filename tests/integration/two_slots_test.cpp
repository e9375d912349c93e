// The real headless program serving slots 1 and 3, each with its own simulated register on a
// pseudo-terminal: a job only ever reaches its own slot's register, with that register's data.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "program_run.h"

namespace zelmar::testing {
namespace {

constexpr const char* kSale = "SALE,N1,P150,:PANE;\r\nCASH,V150;\r\n";

// One simulated register: its register file, journal and process.
struct Register {
    Register(const std::string& tag, const std::string& registerFile,
             const std::vector<std::string>& options)
        : folder(tag) {
        folder.put("register.txt", registerFile);
        std::vector<std::string> args{ECRSIM_PATH, "--config", folder.file("register.txt"),
                                      "--journal", folder.file("journal.txt")};
        args.insert(args.end(), options.begin(), options.end());
        process = std::make_unique<EcrsimProcess>(args);
    }
    std::vector<std::string> journal() const { return Lines(folder.read("journal.txt")); }
    bool received(const std::string& prefix) const {
        const auto lines = journal();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    }

    ScratchFolder folder;
    std::unique_ptr<EcrsimProcess> process;
};

// zelmar1 serving slot 1 on `first` and slot 3 on `third`, polling every 100 ms.
class TwoSlotRun {
  public:
    TwoSlotRun(const Register& first, const Register& third) {
        Options settings;
        settings.SlotServed = {true, false, true, false};
        platform::StdFileSystem files;
        config::SettingsFiles settingsFiles(files, program_.path());
        settingsFiles.Save(settings);
        settingsFiles.WriteTimerText(kPollIntervalMs);
        auto args =
            HeadlessArguments(program_.path(), data_.path(), first.process->value("SERIAL"));
        args.insert(args.end(), {"--port", "3=" + third.process->value("SERIAL")});
        program1_ = std::make_unique<ChildProcess>(args, false);
    }
    ~TwoSlotRun() { program1_->terminate(std::chrono::milliseconds(0)); }

    // One job on `slot` once its register has been read; true when it ended (SR_START gone).
    bool runJob(int slot, const std::string& lines) {
        const std::string extension = ".00" + std::to_string(slot);
        if (!WaitFor([&] { return data_.has("SR_MATR" + extension); }, kJobBudget,
                     kFolderPollStep)) {
            return false;
        }
        data_.put("SR_DATI" + extension, lines);
        data_.put("SR_START" + extension, "");
        return WaitFor([&] { return !data_.has("SR_START" + extension); }, kJobBudget,
                       kFolderPollStep);
    }
    const ScratchFolder& data() const { return data_; }

  private:
    ScratchFolder program_{"two_program"};
    ScratchFolder data_{"two_data"};
    std::unique_ptr<ChildProcess> program1_;
};

std::string OutLine(const std::string& out, const std::string& prefix) {
    for (const auto& line : Lines(out)) {
        if (line.rfind(prefix, 0) == 0) return line;
    }
    return {};
}

// Slot 1's register refuses the data read (but would take a sale) or is silent; slot 3's job
// prints on slot 3's register and nothing of it reaches slot 1's.
TEST(TwoSlots, AJobOnSlot3NeverReachesSlot1sRegister) {
    for (const char* fault : {"refuse:*=09,a", "silent:*"}) {
        SCOPED_TRACE(fault);
        Register first("two_first", kRegisterFile, {"--fault", fault});
        Register third("two_third", kRegisterFile, {});
        TwoSlotRun run(first, third);
        ASSERT_TRUE(run.runJob(3, kSale));
        EXPECT_EQ(run.data().read("FINESCO.003"), "finesco") << run.data().read("SR_ERR.003");
        EXPECT_TRUE(third.received("3/S/PANE"));
        EXPECT_FALSE(first.received("3/S"));
        EXPECT_FALSE(first.received("5/"));
    }
}

// Two different registers: each slot's job carries its own register's VAT rate, form and
// serial.
TEST(TwoSlots, EachJobIsConvertedWithItsOwnSlotsRegisterData) {
    Register first("two_rt", kRegisterFile, {});
    Register third("two_mf",
                   "serial=99887766\nmodel=AB\nrt=0\nvat=10.00,4.00\ndocument=3\nclosure=7\n", {});
    TwoSlotRun run(first, third);
    for (const int slot : {1, 3}) {
        ASSERT_TRUE(run.runJob(slot, kSale)) << slot;
    }
    EXPECT_TRUE(first.received("3/S/PANE//1/1.50/1/22.00"));
    EXPECT_TRUE(third.received("3/S/PANE//1/1.50/1/10.00"));
    const ScratchFolder& data = run.data();
    EXPECT_EQ(OutLine(data.read("SR_OUT.001"), "MATR"), "MATR,72MAB123456;");
    EXPECT_EQ(OutLine(data.read("SR_OUT.003"), "MATR"), "MATR,99887766;");
    // The RT register numbers its receipt with the closure, the MF register does not.
    EXPECT_NE(OutLine(data.read("SR_OUT.001"), "DATE").find("SCONTR. N.0042-0007,"),
              std::string::npos);
    EXPECT_NE(OutLine(data.read("SR_OUT.003"), "DATE").find("SCONTR. N.4,"), std::string::npos);
}

}  // namespace
}  // namespace zelmar::testing
