#include "sim/core/frame.h"

namespace ecrsim {

std::string Checksum(std::string_view text) {
    unsigned sum = 0;
    for (const char c : text) sum = (sum + static_cast<unsigned char>(c)) % 256;
    const unsigned value = sum % 100;
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

std::string Frame(std::string_view text) {
    std::string frame(1, kStx);
    frame.append(text);
    frame += Checksum(text);
    frame += kEtx;
    return frame;
}

std::optional<std::string> CheckFrameBody(std::string_view body) {
    constexpr std::size_t kDigits = 2;
    if (body.size() < kDigits + 2) return std::nullopt;  // at least a code and the "/"
    const std::string_view text = body.substr(0, body.size() - kDigits);
    if (text.back() != '/') return std::nullopt;
    if (Checksum(text) != body.substr(text.size())) return std::nullopt;
    return std::string(text);
}

}  // namespace ecrsim
