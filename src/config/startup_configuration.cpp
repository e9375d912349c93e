#include "config/startup_configuration.h"

#include "config/port_map.h"

namespace zelmar::config {

FolderDecision ConfigureFoldersAndPorts(Session& session, platform::SystemInfo& system,
                                        platform::FileSystem& files, platform::Shell& shell,
                                        const ConfigCommandLine& commandLine,
                                        const std::string& executableFolder) {
    const std::string programFolder = WithoutTrailingSeparator(
        commandLine.programDir.empty() ? executableFolder : commandLine.programDir);
    DataFolderResolver resolver(system, files, shell);
    const FolderDecision decision = resolver.Decide(programFolder, commandLine.dataDir);
    if (decision.failed) return decision;
    ApplyFolders(decision, session);
    session.PortDevice = ReadPortDevices(files, programFolder, commandLine.ports);
    return decision;
}

}  // namespace zelmar::config
