#include "common/text_file.h"

#include <cstdio>
#include <filesystem>

namespace zelmar {

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines,
                   std::uintmax_t maxBytes) {
    std::string content;
    if (!ReadPlainFile(path, content, maxBytes)) return false;
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
    std::string content;
    for (const auto& line : lines) content += line + "\r\n";
    return WritePlainFile(path, content, append);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    return WritePlainFile(path, bytes, false);
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
