#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace ecrsim {

enum class FaultKind {
    NoAck,        // serial: an ENQ gets no reply
    Nak,          // serial: a command frame is answered with NAK (not executed)
    Silent,       // a command gets no reply at all (not executed)
    Lost,         // a command is executed, but its answer is never sent
    Busy,         // answer busy (0x1A; 0x0E on model CE over the serial line)
    PaperEnd,     // serial: 0x31 with device status 0x05; TCP: 0x2C (or 0x33) class 4
    DeviceFault,  // answer a device-fault code (default 0x2E, class 9)
    SendAgain,    // answer a refusal with device status bit 0 ("send again")
    Refuse,       // refuse commands starting with a prefix, with a code
    BadChecksum,  // an answer frame goes out with a wrong checksum
    ShortFrame,   // an answer frame goes out with fewer than eight characters
    Drop,         // serial: the link goes away for good; TCP: the connection is closed
    Split,        // TCP: the reply goes out in several segments
};

// One scripted fault. It lets `skip` matching events pass, then fires `count` times.
struct FaultRule {
    static constexpr int kForever = -1;
    FaultKind kind = FaultKind::Nak;
    int count = 1;
    int skip = 0;
    int code = -1;       // result code; -1: the kind's default
    std::string prefix;  // Refuse, Lost: command lines starting with it (empty: any line)
    int parts = 2;       // Split: number of segments
};

// The faults of a run, in script order. Text form, one rule per string:
//   KIND[:COUNT][@SKIP][=ARG]     COUNT a number or "*" (always), default 1
// with ARG the result code in hex (busy, paper, fault, again), "CODE,PREFIX" (refuse) or
// "PREFIX" (lost; without it any command), where the prefix runs to the end and may hold any
// character, or the number of segments (split).
// Kinds: noack nak silent lost busy paper fault again refuse badsum short drop split.
class FaultScript {
  public:
    bool add(const std::string& ruleText, std::string& error);
    void add(const FaultRule& rule) { rules_.push_back(rule); }
    void clear() { rules_.clear(); }
    const std::vector<FaultRule>& rules() const { return rules_; }

    // One event at which any of `kinds` may strike (`command`: the command line, matched by
    // the rules that have a prefix).
    // Every rule of those kinds that still skips counts the event; the first rule in script
    // order that is due fires: it is returned and its count goes down.
    std::optional<FaultRule> take(std::initializer_list<FaultKind> kinds,
                                  const std::string& command = {});

  private:
    std::vector<FaultRule> rules_;
};

}  // namespace ecrsim
