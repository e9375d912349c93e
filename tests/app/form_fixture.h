#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "common/paths.h"
#include "config/scratch_folder.h"
#include "jobs/job_files.h"
#include "platform/fake/fake_dir_watcher.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_file_system.h"

namespace zelmar::app::testing {

// Every call the form makes to the outside, in order, as one list of words.
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

class FakeRegisters : public RegisterServices {
  public:
    FakeRegisters(CallLog& log, Session& session) : log_(log), session_(session) {}

    std::array<bool, 4> portAnswers{true, true, true, true};
    std::function<int()> onTransmit = [] { return 0; };
    std::function<int()> onRead = [] { return 0; };
    bool tableRead = false;

    bool OpenComPort(int slot) override {
        log_.push_back("OpenComPort " + std::to_string(slot));
        return portAnswers[slot - 1];
    }
    int OpenConnection() override {
        Record("OpenConnection");
        return 0;
    }
    void CloseConnection() override { Record("CloseConnection"); }
    void CloseSocket() override { Record("CloseSocket"); }
    void InitNetwork() override { Record("InitNetwork"); }
    int TransmitJob() override {
        log_.push_back("TransmitJob " + std::to_string(session_.CurrentSlot) + " test " +
                       std::to_string(session_.TestReceiptJob));
        return onTransmit();
    }
    int ReadRegisterData() override {
        log_.push_back("ReadRegisterData " + std::to_string(session_.CurrentSlot));
        return onRead();
    }
    bool TableReadInProgress() const override { return tableRead; }
    void RewriteRefundDiscounts(const std::string& path) override {
        log_.push_back("Rewrite " + path);
    }

  private:
    void Record(const char* call) { log_.push_back(call); }
    CallLog& log_;
    Session& session_;
};

class FakeSettings : public SettingsStore {
  public:
    explicit FakeSettings(CallLog& log) : log_(log) {}
    std::function<void()> onLoad = [] {};
    std::string timerField;

    void Load() override {
        log_.push_back("Load");
        onLoad();
    }
    void Save() override { log_.push_back("Save"); }
    std::string ReadTimerField() override {
        log_.push_back("ReadTimer");
        return timerField;
    }
    void WriteTimerFile(const std::string& line) override { log_.push_back("WriteTimer " + line); }

  private:
    CallLog& log_;
};

class RecordingView : public FormView {
  public:
    explicit RecordingView(CallLog& log) : log_(log) {}
    void ShowTrayIcon(bool busy, const std::string& tip) override {
        log_.push_back(std::string(busy ? "Tray busy " : "Tray idle ") + tip);
    }
    void RemoveTrayIcon() override { log_.push_back("RemoveTray"); }
    void HideWindow() override { log_.push_back("Hide"); }
    void ShowClosingBox(bool shown) override {
        log_.push_back(shown ? "ClosingBox on" : "ClosingBox off");
    }

  private:
    CallLog& log_;
};

class RecordingTrace : public TraceSink, public link::TraceFileControl {
  public:
    explicit RecordingTrace(CallLog& log) : log_(log) {}
    bool tracing() const override { return false; }
    void traceLine(const std::string&) override {}
    void NewLogLines() override { log_.push_back("NewLogLines"); }
    void OpenTraceFiles() override { log_.push_back("OpenTraceFiles"); }
    void CloseTraceFiles(bool) override { log_.push_back("CloseTraceFiles"); }

  private:
    CallLog& log_;
};

// A main form on virtual time over a scratch data folder, with every outside part recorded.
class FormTest : public ::testing::Test {
  protected:
    FormTest() {
        session.DataFolder = data.path();
        session.ProgramFolder = data.path();
        registers.onRead = [this] { return ReadSucceeds(); };
        form.setQuitHandler([this] { ++quits; });
    }

    // The slots given are ticked and their ports found; the others are neither.
    void Serve(std::initializer_list<int> slots) {
        for (int n = 1; n <= 4; ++n) {
            const bool served = std::find(slots.begin(), slots.end(), n) != slots.end();
            session.options.Check[n - 1] = served;
            form.state().PortFound[n - 1] = served;
        }
    }
    // SR_MATR present: the register data of the slot has been read.
    void MarkRead(int slot) { Put("SR_MATR", slot, "SERIAL01\r\n"); }
    void Submit(int slot) {
        Put("SR_DATI", slot, "job\r\n");
        Put("SR_START", slot, "00000000\r\n");
    }

    std::string Name(const std::string& base, int slot) const { return base + SlotExtension(slot); }
    void Put(const std::string& base, int slot, const std::string& bytes) {
        data.put(Name(base, slot), bytes);
    }
    bool Has(const std::string& base, int slot) const { return data.has(Name(base, slot)); }
    std::string Read(const std::string& base, int slot) const {
        return data.read(Name(base, slot));
    }
    std::string Path(const std::string& base, int slot) const {
        return data.file(Name(base, slot));
    }

    // The default read: SR_MATR for the slot, as the real read writes it.
    int ReadSucceeds() {
        MarkRead(session.CurrentSlot);
        return 0;
    }

    platform::FakeDirWatcher* LastWatcher() const {
        return watchers.empty() ? nullptr : watchers.back();
    }

    zelmar::testing::ScratchFolder data{"app"};
    platform::FakeEventLoop loop;
    VanishingFiles files;
    Session session;
    jobs::JobFiles jobFiles{session, files, loop};
    CallLog calls;
    FakeRegisters registers{calls, session};
    FakeSettings settings{calls};
    RecordingView view{calls};
    RecordingTrace trace{calls};
    std::vector<platform::FakeDirWatcher*> watchers;  // the last one is the live one
    int quits = 0;
    MainForm form{
        FormParts{session, loop, files, jobFiles, registers, settings, view, trace, trace, [this] {
                      auto watcher = std::make_unique<platform::FakeDirWatcher>(loop);
                      watchers.push_back(watcher.get());
                      return watcher;
                  }}};
};

}  // namespace zelmar::app::testing
