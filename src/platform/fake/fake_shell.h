#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace zelmar::platform {

// Records what the program tells the operator, opens and pings; no host answers a ping.
class FakeShell : public Shell {
  public:
    void setOpenDocumentResult(bool ok) { openResult_ = ok; }

    const std::vector<std::string>& notices() const { return notices_; }
    const std::vector<std::string>& openedDocuments() const { return opened_; }
    const std::vector<std::string>& pingedHosts() const { return pinged_; }

    void notice(const std::string& text) override { notices_.push_back(text); }
    bool openDocument(const std::string& path) override {
        opened_.push_back(path);
        return openResult_;
    }
    int ping(const std::string& host) override {
        pinged_.push_back(host);
        return kNoAnswer;
    }

  private:
    static constexpr int kNoAnswer = -1;
    bool openResult_ = true;
    std::vector<std::string> notices_;
    std::vector<std::string> opened_;
    std::vector<std::string> pinged_;
};

}  // namespace zelmar::platform
