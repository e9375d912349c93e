#include "common/text_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace zelmar {

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines,
                   std::uintmax_t maxBytes) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > maxBytes) return false;
    std::string content(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    in.read(content.data(), size);
    if (in.bad()) return false;
    content.resize(static_cast<std::size_t>(in.gcount()));
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
