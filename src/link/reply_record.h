#pragma once

#include <array>
#include <string>

namespace zelmar::link {

// The last reply of the register on the network transport, decoded. The reply starts with
// three two-character fields at character positions 1, 4 and 7 (after STX, "/"-separated):
// result code (hexadecimal), status and state (read as decimal numbers).
struct ReplyRecord {
    std::string ReplyText;
    std::string ReplyCopy;             // the raw reply that SendCommand strips and parses
    std::string CommandSent;           // the command text this reply answers
    std::string ReplyKind;             // "ACK" once a reply has arrived; empty after ClearReply
    std::string Code;                  // result code in decimal
    std::string Message;               // the code's message, or empty
    std::string ActionClass;           // the code's action class in decimal
    std::string StatusText;            // second field as received
    std::array<bool, 6> StatusBits{};  // bits 1, 3, 4, 5, 6, 7 of the status (bit 5: paper end)
    std::string StateText;             // third field as received
    std::array<bool, 7> StateBits{};   // bits 7, 6, 5, 3, 2, 1, 0 of the state
};

inline constexpr const char* kReplyKindAck = "ACK";

// The bits 0 to width-1 of value as "0" and "1", bit 0 first. While value does not fit, width
// grows by 8; the caller's width is left at its final value.
std::string BitString(long value, int& width);

// Fills the record from one reply; fields beyond the end of a short reply are empty.
void DecodeReply(ReplyRecord& record, const std::string& replyText, const std::string& kind,
                 const std::string& replyCopy, const std::string& commandSent);

// Empties every text and clears every bit of the record.
void ClearReply(ReplyRecord& record);

// "code - message - class" of the record: the second line of the error file in network mode
// and the text of the transport's fp_error line. " -  - " when nothing was decoded.
std::string ReplySummary(const ReplyRecord& record);

}  // namespace zelmar::link
