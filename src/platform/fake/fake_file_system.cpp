#include "platform/fake/fake_file_system.h"

namespace zelmar::platform {

int FakeFileSystem::removeAttempts(const std::string& path) const {
    const auto found = attempts_.find(path);
    return found == attempts_.end() ? 0 : found->second;
}

bool FakeFileSystem::removeFile(const std::string& path) {
    ++attempts_[path];
    auto failure = failuresLeft_.find(path);
    if (failure != failuresLeft_.end() && failure->second > 0) {
        --failure->second;
        return !fileExists(path);  // the file stays; a path that never existed is still gone
    }
    return StdFileSystem::removeFile(path);
}

bool FakeFileSystem::writeLines(const std::string& path, const std::vector<std::string>& lines,
                                bool append) {
    return !writesFail_ && StdFileSystem::writeLines(path, lines, append);
}

bool FakeFileSystem::writeBytes(const std::string& path, const std::string& bytes) {
    return !writesFail_ && StdFileSystem::writeBytes(path, bytes);
}

bool FakeFileSystem::replaceLinesAtomically(const std::string& path,
                                            const std::vector<std::string>& lines) {
    return !writesFail_ && StdFileSystem::replaceLinesAtomically(path, lines);
}

}  // namespace zelmar::platform
