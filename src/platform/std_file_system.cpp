#include <filesystem>

#include "common/plain_file.h"
#include "common/text_file.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace zelmar::platform {

namespace {

fs::file_status EntryStatus(const std::string& path) {
    std::error_code error;
    return fs::symlink_status(path, error);  // the name itself: a link is not followed
}

}  // namespace

// A link counts, wherever it points, so that it is cleaned up like the file it stands for.
bool StdFileSystem::fileExists(const std::string& path) {
    const fs::file_status status = EntryStatus(path);
    return fs::is_regular_file(status) || fs::is_symlink(status);
}

bool StdFileSystem::folderExists(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool StdFileSystem::removeFile(const std::string& path) {
    std::error_code error;
    fs::remove(path, error);  // a link itself, never its target
    return !fs::exists(EntryStatus(path));
}

bool StdFileSystem::copyFile(const std::string& from, const std::string& to) {
    std::string bytes;
    return ReadPlainFile(from, bytes, kAnyFileSize) && WritePlainFile(to, bytes, false);
}

bool StdFileSystem::makeFolder(const std::string& path) {
    std::error_code error;
    if (fs::is_symlink(EntryStatus(path))) fs::remove(path, error);
    fs::create_directory(path, error);
    return fs::is_directory(EntryStatus(path));
}

long long StdFileSystem::fileSize(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(EntryStatus(path))) return -1;
    const auto size = fs::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

bool StdFileSystem::readLines(const std::string& path, std::vector<std::string>& lines) {
    return ReadTextLines(path, lines);
}

bool StdFileSystem::writeLines(const std::string& path, const std::vector<std::string>& lines,
                               bool append) {
    return WriteTextLines(path, lines, append);
}

bool StdFileSystem::writeBytes(const std::string& path, const std::string& bytes) {
    return WriteBytes(path, bytes);
}

bool StdFileSystem::replaceLinesAtomically(const std::string& path,
                                           const std::vector<std::string>& lines) {
    return ReplaceTextLinesAtomically(path, lines);
}

}  // namespace zelmar::platform
