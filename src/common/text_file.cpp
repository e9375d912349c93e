#include "common/text_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace zelmar {

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    lines.clear();
    std::string current;
    bool pending = false;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending) lines.push_back(current);
    return true;
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines, bool append) {
    std::ofstream out(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    if (!out) return false;
    for (const auto& line : lines) out << line << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << bytes;
    out.flush();
    return static_cast<bool>(out);
}

bool ReplaceTextLinesAtomically(const std::string& path, const std::vector<std::string>& lines) {
    const std::string temporary = path + ".tmp";
    if (!WriteTextLines(temporary, lines)) {
        std::remove(temporary.c_str());
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace zelmar
