#include <filesystem>

#include "common/text_file.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace zelmar::platform {

bool StdFileSystem::fileExists(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool StdFileSystem::folderExists(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool StdFileSystem::removeFile(const std::string& path) {
    std::error_code error;
    fs::remove(path, error);
    return !fs::exists(path, error);
}

bool StdFileSystem::copyFile(const std::string& from, const std::string& to) {
    std::error_code error;
    return fs::copy_file(from, to, fs::copy_options::overwrite_existing, error) && !error;
}

bool StdFileSystem::makeFolder(const std::string& path) {
    std::error_code error;
    fs::create_directory(path, error);
    return fs::is_directory(path, error);
}

long long StdFileSystem::fileSize(const std::string& path) {
    std::error_code error;
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
