#include "link/frame.h"

namespace zelmar::link {

std::string CalcChecksum(const std::string& text) {
    unsigned sum = 0;
    for (const char c : text) sum = (sum + static_cast<unsigned char>(c)) % 256;
    const unsigned value = sum % 100;
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

std::string BuildCommandFrame(const std::string& command) {
    return BuildAnswerFrame(command + "/");
}

std::string BuildAnswerFrame(const std::string& text) {
    return std::string(1, kStx) + text + CalcChecksum(text) + std::string(1, kEtx);
}

}  // namespace zelmar::link
