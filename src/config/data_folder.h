#pragma once

#include <string>

#include "common/session.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/system_info.h"

namespace zelmar::config {

// The sub-folder of the common application-data folder that is the exchange folder on the
// NT 6 family.
inline constexpr const char* kCommonDataSubFolder = "TELVOZELMAR1";
// The error file's full path is kept in a buffer of this many characters; a longer data folder
// cannot be served.
inline constexpr std::size_t kMaxErrorFilePath = 128;
inline constexpr const char* kErrorFileProbeName = "SR_ERR.001";

inline constexpr const char* kNoticePathUnavailable = "Path non disponibile";
inline constexpr const char* kNoticeMissingFolderSuffix = " : DIR NON ESISTENTE";

// The three folders decided at start-up.
struct FolderDecision {
    std::string dataFolder;         // exchange and work files
    std::string defaultDataFolder;  // the data folder before the registry override
    std::string programFolder;      // settings files
    bool failed = false;            // the program cannot run: the caller ends it
    std::string message;            // why it failed
    bool messageShown = false;      // the message was already shown through the shell
};

// Decides the data folder, the default data folder and the program folder. Reaches the
// operating system, the registry-equivalent store and the operator only through the platform.
class DataFolderResolver {
  public:
    DataFolderResolver(platform::SystemInfo& system, platform::FileSystem& files,
                       platform::Shell& shell);

    // `programFolder`: the executable's folder, or the one given on the command line.
    // `dataFolderOverride`: a data folder given on the command line; when not empty it is the
    // data folder and the default data folder, whatever the other rules say.
    FolderDecision Decide(const std::string& programFolder,
                          const std::string& dataFolderOverride = {});

    bool IsOS_Vista() const;                  // the NT platform, major version 6 or later
    std::string Read_CSIDL_COMMON_APPDATA();  // empty, after a notice, when unavailable
    std::string GetCustomDataDir();           // the registry override, or empty

  private:
    FolderDecision DecideByRules(const std::string& programFolder);
    void Refuse(FolderDecision& decision, const std::string& message, bool show);

    platform::SystemInfo& system_;
    platform::FileSystem& files_;
    platform::Shell& shell_;
};

// The path without one trailing separator; a lone separator (the root) stays.
std::string WithoutTrailingSeparator(std::string path);

// Copies the decided folders into the session and shows the data folder in DataFolderShown.
void ApplyFolders(const FolderDecision& decision, Session& session);

}  // namespace zelmar::config
