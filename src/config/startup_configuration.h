#pragma once

#include <string>

#include "common/session.h"
#include "config/command_line_options.h"
#include "config/data_folder.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/system_info.h"

namespace zelmar::config {

// The start-up step that decides where everything is: the program folder (the executable's,
// or --program-dir), the data folders by their rules (or --data-dir), and the device of each
// slot (ZMPORTS.TXT, then --port). Fills the session unless the decision failed; the caller
// then shows the message when it was not shown yet and ends the program.
FolderDecision ConfigureFoldersAndPorts(Session& session, platform::SystemInfo& system,
                                        platform::FileSystem& files, platform::Shell& shell,
                                        const ConfigCommandLine& commandLine,
                                        const std::string& executableFolder);

}  // namespace zelmar::config
