#include "sim/core/fault_script.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace ecrsim {
namespace {

constexpr int kMaxSplitParts = 16;

struct KindName {
    const char* name;
    FaultKind kind;
};
constexpr KindName kKindNames[] = {
    {"noack", FaultKind::NoAck},        {"nak", FaultKind::Nak},
    {"silent", FaultKind::Silent},      {"busy", FaultKind::Busy},
    {"paper", FaultKind::PaperEnd},     {"fault", FaultKind::DeviceFault},
    {"again", FaultKind::SendAgain},    {"refuse", FaultKind::Refuse},
    {"badsum", FaultKind::BadChecksum}, {"short", FaultKind::ShortFrame},
    {"drop", FaultKind::Drop},          {"split", FaultKind::Split},
    {"lost", FaultKind::Lost},
};

bool ParseNumber(const std::string& text, int base, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    return !text.empty() && ec == std::errc() && ptr == end && value >= 0;
}

bool ParseCode(const std::string& text, int& code) {
    return text.size() <= 2 && ParseNumber(text, 16, code);
}

bool ParseArgument(const std::string& arg, FaultRule& rule) {
    switch (rule.kind) {
        case FaultKind::Busy:
        case FaultKind::PaperEnd:
        case FaultKind::DeviceFault:
        case FaultKind::SendAgain:
            return ParseCode(arg, rule.code);
        case FaultKind::Refuse: {
            const std::size_t comma = arg.find(',');
            if (comma == std::string::npos || comma + 1 == arg.size()) return false;
            rule.prefix = arg.substr(comma + 1);
            return ParseCode(arg.substr(0, comma), rule.code);
        }
        case FaultKind::Lost:
            rule.prefix = arg;
            return !arg.empty();
        case FaultKind::Split:
            return ParseNumber(arg, 10, rule.parts) && rule.parts >= 2 &&
                   rule.parts <= kMaxSplitParts;
        default:
            return false;
    }
}

}  // namespace

bool FaultScript::add(const std::string& ruleText, std::string& error) {
    error = "bad fault rule: " + ruleText;
    const std::size_t equals = ruleText.find('=');
    std::string head = ruleText.substr(0, equals);
    FaultRule rule;
    if (const std::size_t at = head.find('@'); at != std::string::npos) {
        if (!ParseNumber(head.substr(at + 1), 10, rule.skip)) return false;
        head.resize(at);
    }
    if (const std::size_t colon = head.find(':'); colon != std::string::npos) {
        const std::string count = head.substr(colon + 1);
        if (count == "*") {
            rule.count = FaultRule::kForever;
        } else if (!ParseNumber(count, 10, rule.count) || rule.count == 0) {
            return false;
        }
        head.resize(colon);
    }
    const auto named = std::find_if(std::begin(kKindNames), std::end(kKindNames),
                                    [&](const KindName& k) { return head == k.name; });
    if (named == std::end(kKindNames)) return false;
    rule.kind = named->kind;
    if (equals != std::string::npos && !ParseArgument(ruleText.substr(equals + 1), rule))
        return false;
    if (rule.kind == FaultKind::Refuse && rule.prefix.empty()) return false;
    error.clear();
    rules_.push_back(rule);
    return true;
}

std::optional<FaultRule> FaultScript::take(std::initializer_list<FaultKind> kinds,
                                           const std::string& command) {
    FaultRule* due = nullptr;
    for (auto& rule : rules_) {
        if (rule.count == 0 || std::find(kinds.begin(), kinds.end(), rule.kind) == kinds.end())
            continue;
        if (!command.starts_with(rule.prefix)) continue;
        if (rule.skip > 0) {
            --rule.skip;
        } else if (!due) {
            due = &rule;
        }
    }
    if (!due) return std::nullopt;
    if (due->count != FaultRule::kForever) --due->count;
    return *due;
}

}  // namespace ecrsim
