#include "link/reply_record.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "common/control_bytes.h"
#include "link/reply_codes.h"

namespace zelmar::link {
namespace {

constexpr int kFieldWidth = 2;
constexpr std::size_t kCodeAt = 1, kStatusAt = 4, kStateAt = 7;
constexpr int kBitStringWidth = 8;
constexpr int kMaxBits = 32;  // the value is a 32-bit number: wider positions read as 0
constexpr const char* kUnreadableReplyMessage = "Risposta non leggibile";

constexpr std::array<int, 6> kStatusBitNumbers{1, 3, 4, 5, 6, 7};
constexpr std::array<int, 7> kStateBitNumbers{7, 6, 5, 3, 2, 1, 0};

// Up to two characters from `at`; empty or shorter when the reply ends before.
std::string FieldAt(const std::string& text, std::size_t at) {
    if (at >= text.size()) return {};
    return text.substr(at, kFieldWidth);
}

// The leading decimal digits of a field (blanks skipped); 0 when there are none.
long DecimalValue(const std::string& field) {
    std::size_t at = 0;
    while (at < field.size() && field[at] == ' ') ++at;
    long value = 0;
    for (; at < field.size() && std::isdigit(static_cast<unsigned char>(field[at])); ++at) {
        value = value * 10 + (field[at] - '0');
    }
    return value;
}

// A reply the register could have written: STX, then a result code of two hexadecimal
// digits. Anything else (a garbled or cut reply) tells nothing about the command.
bool ReadableReply(const std::string& text) {
    if (text.size() < kCodeAt + kFieldWidth || text.front() != kStx) return false;
    const std::string code = FieldAt(text, kCodeAt);
    return std::all_of(code.begin(), code.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

template <std::size_t N>
void SetBits(std::array<bool, N>& bits, const std::array<int, N>& numbers,
             const std::string& text) {
    int width = kBitStringWidth;
    const std::string bitString = BitString(DecimalValue(text), width);
    for (std::size_t i = 0; i < N; ++i) {
        const auto position = static_cast<std::size_t>(numbers[i]);
        bits[i] = position < bitString.size() && bitString[position] == '1';
    }
}

}  // namespace

std::string BitString(long value, int& width) {
    if (width < 0) width = 0;
    while (width < kMaxBits && (std::int64_t{1} << width) - 1 < value) width += 8;
    std::string bits;
    const auto pattern = static_cast<std::uint32_t>(value);
    for (int bit = 0; bit < width; ++bit) {
        bits += bit < kMaxBits && ((pattern >> bit) & 1U) != 0 ? '1' : '0';
    }
    return bits;
}

void DecodeReply(ReplyRecord& record, const std::string& replyText, const std::string& kind,
                 const std::string& replyCopy, const std::string& commandSent) {
    record.ReplyText = replyText;
    record.ReplyCopy = replyCopy;
    record.CommandSent = commandSent;
    record.ReplyKind = kind;
    record.Code = FieldAt(replyText, kCodeAt);
    int actionClass = ErrorMessage(record.Code, record.Message);
    if (!ReadableReply(replyText)) {
        // Never taken as accepted: a lost or garbled answer must not pass for success.
        actionClass = kClassWrongCommand;
        record.Message = kUnreadableReplyMessage;
    }
    record.ActionClass = std::to_string(actionClass);
    record.StatusText = FieldAt(replyText, kStatusAt);
    record.StateText = FieldAt(replyText, kStateAt);
    SetBits(record.StatusBits, kStatusBitNumbers, record.StatusText);
    SetBits(record.StateBits, kStateBitNumbers, record.StateText);
}

void ClearReply(ReplyRecord& record) {
    record = ReplyRecord{};
}

std::string ReplySummary(const ReplyRecord& record) {
    return record.Code + " - " + record.Message + " - " + record.ActionClass;
}

}  // namespace zelmar::link
