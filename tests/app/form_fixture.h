#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/operator_commands.h"
#include "common/paths.h"
#include "config/scratch_folder.h"
#include "jobs/job_files.h"
#include "link/command_sender.h"
#include "platform/fake/fake_dir_watcher.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_shell.h"

namespace zelmar::app::testing {

using CallLog = std::vector<std::string>;

inline int Count(const CallLog& log, const std::string& call) {
    return static_cast<int>(std::count(log.begin(), log.end(), call));
}

// The real file system, with files that disappear right after their n-th existence test.
class VanishingFiles : public platform::FakeFileSystem {
  public:
    void vanishAfterChecks(const std::string& path, int checks) { vanish_[path] = checks; }
    bool fileExists(const std::string& path) override {
        const bool exists = FakeFileSystem::fileExists(path);
        auto it = vanish_.find(path);
        if (it != vanish_.end() && --it->second == 0) StdFileSystem::removeFile(path);
        return exists;
    }

  private:
    std::map<std::string, int> vanish_;
};

class Outside : public RegisterServices,
                public SettingsStore,
                public FormView,
                public TraceSink,
                public link::TraceFileControl {
  public:
    explicit Outside(Session& session) : session_(session) {}

    CallLog calls;
    std::array<bool, 4> portAnswers{true, true, true, true};
    std::function<jobs::JobResult()> onTransmit = [] { return jobs::JobResult::kOk; };
    std::function<link::ReadOutcome()> onRead = [] { return link::ReadOutcome::kOk; };
    std::function<jobs::JobResult()> onSettle = [] { return jobs::JobResult::kOk; };
    std::function<void()> onLoad = [] {};
    std::string timerField;

    bool ProbePort(int slot) override {
        return Log("OpenComPort " + std::to_string(slot)), portAnswers[slot - 1];
    }
    void OpenConnection() override { Log("OpenConnection"); }
    void CloseConnection() override { Log("CloseConnection"); }
    void CloseSocket() override { Log("CloseSocket"); }
    void InitNetwork() override { Log("InitNetwork"); }
    jobs::JobResult TransmitJob(const link::JobRequest& job) override {
        EXPECT_EQ(job.slot, session_.CurrentSlot);  // the link is bound to the job's slot
        Log("TransmitJob " + std::to_string(job.slot) + " test " + (job.testReceipt ? "1" : "0"));
        return onTransmit();
    }
    jobs::JobResult SettleInterruptedJob(const link::JobRequest& job,
                                         const std::string& query) override {
        return Log("Settle " + std::to_string(job.slot) + " " + query), onSettle();
    }
    link::ReadOutcome ReadRegisterData() override {
        return Log("ReadRegisterData " + std::to_string(session_.CurrentSlot)), onRead();
    }
    void RewriteRefundDiscounts(const std::string& path) override { Log("Rewrite " + path); }

    void Load() override { Log("Load"), onLoad(); }
    void Save() override { Log("Save"); }
    std::string ReadTimerField() override { return Log("ReadTimer"), timerField; }
    void WriteTimerFile(const std::string& line) override { Log("WriteTimer " + line); }

    void ShowTrayIcon(bool busy, const std::string& tip) override {
        Log((busy ? "Tray busy " : "Tray idle ") + tip);
    }
    void RemoveTrayIcon() override { Log("RemoveTray"); }
    void HideWindow() override { Log("Hide"); }
    void ShowClosingBox(bool shown) override { Log(shown ? "ClosingBox on" : "ClosingBox off"); }

    bool tracing() const override { return false; }
    void traceLine(const std::string&) override {}
    void ClearLogLines() override { Log("NewLogLines"); }
    void OpenTraceFiles() override { Log("OpenTraceFiles"); }
    void CloseTraceFiles(bool) override { Log("CloseTraceFiles"); }

  private:
    void Log(const std::string& call) { calls.push_back(call); }
    Session& session_;
};

class RecordingSender : public link::CommandSender {
  public:
    std::vector<std::string> sent;
    link::SendResult SendCommand(std::string& command) override {
        sent.push_back(command);
        return link::SendResult::kAccepted;
    }
    int ParseStatus(const std::string&) override { return 0; }
    bool PortOpen() const override { return false; }
    bool OpenPort() override { return true; }
    void ClosePort() override {}
    bool WriteRaw(const std::string&) override { return true; }
    void OpenConnection() override {}
    void CloseConnection() override {}
};

// A main form on virtual time over a scratch data folder, with every outside part recorded.
class FormTest : public ::testing::Test {
  protected:
    FormTest() {
        session.DataFolder = data.path();
        session.ProgramFolder = data.path();
        outside.onRead = [this] { return ReadSucceeds(); };
        form.setQuitHandler([this] { ++quits; });
    }

    void Serve(std::initializer_list<int> slots) {
        for (int n = 1; n <= 4; ++n) {
            const bool served = std::find(slots.begin(), slots.end(), n) != slots.end();
            session.options.SlotServed[n - 1] = served;
            form.state().PortFound[n - 1] = served;
        }
    }
    void MarkRead(int slot) { Put("SR_MATR", slot, "SERIAL01\r\n"); }
    void Submit(int slot) {
        Put("SR_DATI", slot, "job\r\n");
        Put("SR_START", slot, "00000000\r\n");
    }

    std::string Name(const std::string& base, int n) const { return base + SlotExtension(n); }
    void Put(const std::string& base, int n, const std::string& bytes) {
        data.put(Name(base, n), bytes);
    }
    bool Has(const std::string& base, int n) const { return data.has(Name(base, n)); }
    std::string Read(const std::string& base, int n) const { return data.read(Name(base, n)); }
    std::string Path(const std::string& base, int n) const { return data.file(Name(base, n)); }

    link::ReadOutcome ReadSucceeds() {
        return MarkRead(session.CurrentSlot), link::ReadOutcome::kOk;
    }

    zelmar::testing::ScratchFolder data{"app"};
    platform::FakeEventLoop loop;
    VanishingFiles files;
    Session session;
    jobs::JobFiles jobFiles{session, files, loop};
    Outside outside{session};
    CallLog& calls = outside.calls;
    std::vector<platform::FakeDirWatcher*> watchers;  // the last one is the live one
    int quits = 0;
    MainForm form{FormParts{session, loop, files, jobFiles, outside, outside, outside, outside,
                            outside, [this] {
                                auto watcher = std::make_unique<platform::FakeDirWatcher>(loop);
                                watchers.push_back(watcher.get());
                                return watcher;
                            }}};
};

class CommandsTest : public FormTest {
  protected:
    CommandsTest() { session.DefaultDataFolder = data.path(); }

    platform::FakeShell shell;
    RecordingSender sender;
    config::SettingsFiles settingsFiles{files, data.path()};
    platform::TcpSocket::State socketState = platform::TcpSocket::State::kClosed;
    OperatorCommands commands{OperatorParts{session, form, loop, files, jobFiles, outside, sender,
                                            settingsFiles, shell, [this] { return socketState; }}};
};

}  // namespace zelmar::app::testing
