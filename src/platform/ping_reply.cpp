#include "platform/ping_reply.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <sstream>

namespace zelmar::platform {
namespace {

bool IsNumberChar(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == ',';
}

// The reply time of one line, or -1.
int LineReplyMs(const std::string& line) {
    for (size_t at = line.find("ms"); at != std::string::npos; at = line.find("ms", at + 1)) {
        const size_t after = at + 2;
        if (after < line.size() && std::isalpha(static_cast<unsigned char>(line[after]))) continue;
        size_t end = at;
        if (end > 0 && line[end - 1] == ' ') --end;
        size_t begin = end;
        while (begin > 0 && IsNumberChar(line[begin - 1])) --begin;
        if (begin == end || begin == 0 || (line[begin - 1] != '=' && line[begin - 1] != '<')) {
            continue;
        }
        std::string number = line.substr(begin, end - begin);
        for (char& c : number) {
            if (c == ',') c = '.';  // a decimal comma in some languages
        }
        std::istringstream in(number);
        in.imbue(std::locale::classic());
        double ms = 0;
        if (!(in >> ms) || ms > std::numeric_limits<int>::max()) continue;
        return std::max(1, static_cast<int>(std::ceil(ms)));
    }
    return -1;
}

}  // namespace

int PingReplyMs(const std::string& output) {
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const int ms = LineReplyMs(line);
        if (ms >= 0) return ms;
    }
    return -1;
}

bool IsPlainHostText(const std::string& host) {
    if (host.empty() || host.front() == '-') return false;
    for (const char c : host) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != ':' && c != '-') {
            return false;
        }
    }
    return true;
}

}  // namespace zelmar::platform
