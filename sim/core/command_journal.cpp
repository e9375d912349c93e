#include "sim/core/command_journal.h"

namespace ecrsim {

bool CommandJournal::openFile(const std::string& path) {
    file_.close();
    file_.open(path, std::ios::binary | std::ios::app);
    return file_.is_open();
}

void CommandJournal::record(const std::string& commandLine) {
    if (lines_.size() >= kMemoryLines)
        lines_.erase(lines_.begin(), lines_.begin() + kMemoryLines / 2);
    lines_.push_back(commandLine);
    if (file_.is_open()) file_ << commandLine << "\r\n" << std::flush;
}

}  // namespace ecrsim
