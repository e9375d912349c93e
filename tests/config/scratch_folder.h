#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "common/paths.h"

namespace zelmar::testing {

// A fresh, empty folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& tag) {
        // Random, so that test programs running side by side never share a folder.
        static std::mt19937_64 random{std::random_device{}()};
        path_ = (std::filesystem::temp_directory_path() /
                 ("zelmar_" + tag + "_" + std::to_string(random())))
                    .string();
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return JoinPath(path_, name); }

    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    bool has(const std::string& name) const { return std::filesystem::is_regular_file(file(name)); }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::string path_;
};

}  // namespace zelmar::testing
