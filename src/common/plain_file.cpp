#include "common/plain_file.h"

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace zelmar {

#ifdef _WIN32

// Making a link needs a privilege on Windows: the name is looked at, then opened.

bool ReadPlainFile(const std::string& path, std::string& bytes, std::uintmax_t maxBytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(path, error))) {
        return false;
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in.tellg();
    if (!in || size < 0 || static_cast<std::uintmax_t>(size) > maxBytes) return false;
    bytes.assign(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    in.read(bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

bool WritePlainFile(const std::string& path, const std::string& bytes, bool append) {
    std::error_code error;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
        std::filesystem::remove(path, error);
    }
    std::ofstream out(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    out << bytes;
    out.flush();
    return static_cast<bool>(out);
}

#else

namespace {

// O_NOFOLLOW: a link as the last name fails instead of being followed. O_NONBLOCK: a pipe put
// in the way cannot hold the program up.
int OpenWithoutFollowing(const std::string& path, int flags) {
    return ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
}

// A regular file that no other name reaches (a hard link may sit anywhere on the disk).
bool IsOwnPlainFile(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1;
}

// Something under the name that cannot be opened as a file: a link, a pipe, a socket.
bool IsForeignEntry(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

int OpenForWriting(const std::string& path, bool append) {
    const int flags = O_WRONLY | O_CREAT | (append ? O_APPEND : 0);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = OpenWithoutFollowing(path, flags);
        if (fd >= 0 && IsOwnPlainFile(fd)) return fd;
        if (fd >= 0) {
            ::close(fd);
        } else if (!IsForeignEntry(path)) {
            return -1;  // a file we may not write, a folder, no folder: the write fails
        }
        if (::unlink(path.c_str()) != 0) return -1;
    }
    return -1;
}

bool WriteAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool ReadAll(int fd, std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return true;
}

}  // namespace

bool ReadPlainFile(const std::string& path, std::string& bytes, std::uintmax_t maxBytes) {
    const int fd = OpenWithoutFollowing(path, O_RDONLY);
    if (fd < 0) return false;
    struct stat info {};
    bool read = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                static_cast<std::uintmax_t>(info.st_size) <= maxBytes;
    if (read) {
        bytes.assign(static_cast<std::size_t>(info.st_size), '\0');
        read = ReadAll(fd, bytes);
    }
    ::close(fd);
    return read;
}

bool WritePlainFile(const std::string& path, const std::string& bytes, bool append) {
    const int fd = OpenForWriting(path, append);
    if (fd < 0) return false;
    // Emptied only now that the file is known to be our own.
    const bool written = (append || ::ftruncate(fd, 0) == 0) && WriteAll(fd, bytes);
    return ::close(fd) == 0 && written;
}

#endif

}  // namespace zelmar
