// 64-bit sizes in the file status on Windows too (already so on 64-bit Linux).
#define _FILE_OFFSET_BITS 64

#include "common/plain_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zelmar {

namespace {

#ifdef _WIN32
// The bytes as they are, no line-end translation. Windows has no flag against links: a symbolic
// link needs a privilege there, while a second name of a file (a hard link) any user may make,
// and the open file's link count shows it. Pipes and sockets are never names in a folder.
constexpr int kOpenFlags = O_BINARY | O_NOINHERIT;
constexpr int kNewFileMode = S_IREAD | S_IWRITE;

bool IsForeignEntry(const std::string&) {
    return false;
}
#else
// O_NOFOLLOW: a link as the last name fails instead of being followed. O_NONBLOCK: a pipe put
// in the way cannot hold the program up.
constexpr int kOpenFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
constexpr int kNewFileMode = 0666;

// Something under the name that cannot be opened as a file: a link, a pipe, a socket.
bool IsForeignEntry(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}
#endif

int OpenWithoutFollowing(const std::string& path, int flags) {
    return ::open(path.c_str(), flags | kOpenFlags, kNewFileMode);
}

// A regular file that no other name reaches (a hard link may sit anywhere on the disk).
bool IsOwnPlainFile(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1;
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

}  // namespace zelmar
