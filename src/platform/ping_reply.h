#pragma once

#include <string>

namespace zelmar::platform {

// The round-trip time of the first reply in the output of the system's ping command, in whole
// milliseconds rounded up (a reply under 1 ms counts as 1); -1 when the output has no reply.
// A reply is a number right after "=" or "<", then "ms", with or without a space between:
// "time=0.045 ms", "durata=12ms", "time<1ms", "temps=12 ms". A number after a blank is not a
// reply: "time 0ms" is the summary of a ping that got none.
int PingReplyMs(const std::string& output);

// True for host texts that can be handed to the ping command as one plain argument: letters,
// digits, '.', ':' and '-', not starting with '-'. Anything else could smuggle in an option
// or, through the command interpreter, a second command.
bool IsPlainHostText(const std::string& host);

}  // namespace zelmar::platform
