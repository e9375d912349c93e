#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "jobs/job_files.h"
#include "link/link.h"
#include "link/scripted_serial_port.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/file_system.h"

namespace zelmar::link::testing {

// A data folder of its own, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("zelmar_link_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string str() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

// Counts the writes of each path, so "written once" can be told from "written again".
class CountingFileSystem : public platform::StdFileSystem {
  public:
    std::vector<std::string> writes;
    bool writeLines(const std::string& path, const std::vector<std::string>& lines,
                    bool append) override {
        writes.push_back(path);
        return StdFileSystem::writeLines(path, lines, append);
    }
};

class RecordingTrace : public TraceSink {
  public:
    std::vector<std::string> lines;
    bool tracing() const override { return true; }
    void traceLine(const std::string& markerAndText) override { lines.push_back(markerAndText); }
};

// A link on a scripted serial port, on virtual time, with the port of slot 1 open.
struct LinkRig {
    LinkRig() {
        session.DataFolder = folder.str();
        session.PortDevice = {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"};
        link.OpenConnection();
    }
    int send(std::string command) {
        int expectAnswer = -1;
        lastCommand = command;
        const auto start = loop.nowMs();
        const int result = link.SendCommand(lastCommand, expectAnswer);
        elapsedMs = loop.nowMs() - start;
        return result;
    }
    std::string errFile() const { return jobFiles.SlotFile("SR_ERR", session.CurrentSlot); }

    TempFolder folder;
    platform::FakeEventLoop loop;
    Session session;
    CountingFileSystem files;
    jobs::JobFiles jobFiles{session, files, loop};
    RecordingTrace trace;
    ScriptedSerialPort port{loop};
    Link link{session, loop, port, jobFiles, trace};
    std::string lastCommand;
    std::int64_t elapsedMs = 0;
};

}  // namespace zelmar::link::testing
