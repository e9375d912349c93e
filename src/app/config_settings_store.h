#pragma once

#include <string>

#include "app/settings_store.h"
#include "common/session.h"
#include "config/settings_files.h"

namespace zelmar::app {

// The main form's settings through the configuration layer's settings files.
class ConfigSettingsStore : public SettingsStore {
  public:
    ConfigSettingsStore(Session& session, config::SettingsFiles& files)
        : session_(session), files_(files) {}

    // The network transport takes the address and port from the options when it connects.
    void Load() override { files_.Load(session_.options); }
    void Save() override { files_.Save(session_.options); }
    std::string ReadTimerField() override { return files_.ReadTimerField(); }
    void WriteTimerFile(const std::string& line) override { files_.WriteTimerText(line); }

  private:
    Session& session_;
    config::SettingsFiles& files_;
};

}  // namespace zelmar::app
