#include "config/data_folder.h"

#include "common/paths.h"
#include "config/registry_value.h"

namespace zelmar::config {

namespace {

// The first NT version of the family that keeps shared data in the common application-data
// folder; later versions report 6.x or 10.
constexpr int kVistaMajorVersion = 6;

}  // namespace

std::string WithoutTrailingSeparator(std::string path) {
    if (path.size() > 1 && path.back() == kPathSeparator) path.pop_back();
    return path;
}

DataFolderResolver::DataFolderResolver(platform::SystemInfo& system, platform::FileSystem& files,
                                       platform::Shell& shell)
    : system_(system), files_(files), shell_(shell) {}

bool DataFolderResolver::IsOS_Vista() const {
    return system_.isNtPlatform() && system_.osMajorVersion() >= kVistaMajorVersion;
}

std::string DataFolderResolver::Read_CSIDL_COMMON_APPDATA() {
    std::string folder = system_.commonAppDataFolder();
    folder = folder.substr(0, folder.find('\0'));
    if (folder.empty()) shell_.notice(kNoticePathUnavailable);
    return folder;
}

std::string DataFolderResolver::GetCustomDataDir() {
    std::string path;
    if (!RegQueryString(system_, kRegistryKey, kCustomDataDirValue, path)) return {};
    // A text with a NUL inside cannot name a folder: the platform would see only its start.
    if (path.empty() || path.find('\0') != std::string::npos) return {};
    path = WithoutTrailingSeparator(path);
    return files_.folderExists(path) ? path : std::string{};
}

FolderDecision DataFolderResolver::Decide(const std::string& programFolder,
                                          const std::string& dataFolderOverride) {
    FolderDecision decision;
    if (dataFolderOverride.empty()) {
        decision = DecideByRules(programFolder);
        if (decision.failed) return decision;
    } else {
        decision.programFolder = programFolder;
        decision.dataFolder = WithoutTrailingSeparator(dataFolderOverride);
        decision.defaultDataFolder = decision.dataFolder;
        if (!files_.folderExists(decision.dataFolder)) {
            Refuse(decision, decision.dataFolder + kNoticeMissingFolderSuffix, true);
            return decision;
        }
    }
    const std::string probe = JoinPath(decision.dataFolder, kErrorFileProbeName);
    if (probe.size() > kMaxErrorFilePath) {
        Refuse(decision,
               "Percorso della cartella dati troppo lungo: " + probe + " supera " +
                   std::to_string(kMaxErrorFilePath) + " caratteri",
               false);
    }
    return decision;
}

FolderDecision DataFolderResolver::DecideByRules(const std::string& programFolder) {
    FolderDecision decision;
    decision.programFolder = programFolder;
    decision.dataFolder = programFolder;
    if (IsOS_Vista()) {
        const std::string common = Read_CSIDL_COMMON_APPDATA();
        if (!common.empty()) decision.dataFolder = JoinPath(common, kCommonDataSubFolder);
        // Only this folder is tested here: the system never creates it, and its absence ends
        // the program even when the registry names a valid folder.
        if (!files_.folderExists(decision.dataFolder)) {
            Refuse(decision, decision.dataFolder + kNoticeMissingFolderSuffix, true);
            return decision;
        }
    }
    decision.defaultDataFolder = decision.dataFolder;
    const std::string custom = GetCustomDataDir();
    if (!custom.empty()) decision.dataFolder = WithoutTrailingSeparator(custom);
    return decision;
}

void DataFolderResolver::Refuse(FolderDecision& decision, const std::string& message, bool show) {
    decision.failed = true;
    decision.message = message;
    decision.messageShown = show;
    if (show) shell_.notice(message);
}

void ApplyFolders(const FolderDecision& decision, Session& session) {
    session.DataFolder = decision.dataFolder;
    session.DefaultDataFolder = decision.defaultDataFolder;
    session.ProgramFolder = decision.programFolder;
    session.texts.DataFolderShown = decision.dataFolder;
}

}  // namespace zelmar::config
