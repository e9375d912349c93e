#pragma once

#include <string>
#include <vector>

namespace zelmar::platform {

// File operations of the exchange protocol. Paths are byte strings as the platform takes them.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Existence by a listing of normal files: a folder of that name does not count, a link
    // does (wherever it points).
    virtual bool fileExists(const std::string& path) = 0;
    virtual bool folderExists(const std::string& path) = 0;
    virtual bool removeFile(const std::string& path) = 0;  // true when the file is gone
    virtual bool copyFile(const std::string& from, const std::string& to) = 0;  // overwrites
    // True when a folder of its own is there: a link of that name is replaced, not followed.
    virtual bool makeFolder(const std::string& path) = 0;
    // -1 when missing or no regular file (a link is not followed).
    virtual long long fileSize(const std::string& path) = 0;
    // Reads and writes never go through a link; a write replaces one (common/plain_file.h).
    virtual bool readLines(const std::string& path, std::vector<std::string>& lines) = 0;
    virtual bool writeLines(const std::string& path, const std::vector<std::string>& lines,
                            bool append = false) = 0;  // CR LF line ends
    virtual bool writeBytes(const std::string& path, const std::string& bytes) = 0;
    virtual bool replaceLinesAtomically(const std::string& path,
                                        const std::vector<std::string>& lines) = 0;
};

// The real file system, through the standard library.
class StdFileSystem : public FileSystem {
  public:
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    bool removeFile(const std::string& path) override;
    bool copyFile(const std::string& from, const std::string& to) override;
    bool makeFolder(const std::string& path) override;
    long long fileSize(const std::string& path) override;
    bool readLines(const std::string& path, std::vector<std::string>& lines) override;
    bool writeLines(const std::string& path, const std::vector<std::string>& lines,
                    bool append) override;
    bool writeBytes(const std::string& path, const std::string& bytes) override;
    bool replaceLinesAtomically(const std::string& path,
                                const std::vector<std::string>& lines) override;
};

}  // namespace zelmar::platform
