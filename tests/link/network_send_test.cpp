// SendCommandMCP_TCP against a scripted register on virtual time: the action classes, the
// paper wait, time-outs, split replies, late bytes and replies without an end.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/network_rig.h"
#include "link/network_timing.h"

namespace zelmar::link::testing {
namespace {

namespace nt = network_timing;
using Rig = NetworkRigOf<ScriptedTcpSocket>;
using Lines = std::vector<std::string>;

const std::string kStx = "\x02";
const char* const kVatRefusal =
    "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2";

TEST(NetworkSend, EachActionClassDecidesWhatIsSentNext) {
    const struct {
        const char* name;
        std::string command;
        std::vector<ScriptedReply> replies;
        Lines sends;
        int result;
        std::string summary;  // code - message - class of the last reply
        int minElapsedMs;
        Lines notices;
    } cases[] = {
        // clang-format off
        {"accepted", "U/", {Reply("00")}, {"U//"}, 1, "0 -  - 0", 0, {}},
        {"refused", "3/1", {Reply("09")}, {"3/1/"}, -1, kVatRefusal, 100, {}},
        {"busy then accepted", "c", {Reply("1A"), Reply("1A"), Reply("00")}, {"c/", "c/", "c/"}, 1, "0 -  - 0", 200, {}},
        {"paper end, polls, resend", "c", {Reply("2C", "32"), Reply("2C", "32"), Reply("00"), Reply("00")}, {"c/", "?/", "?/", "c/"}, 1, "0 -  - 0", 200, {}},
        {"cover open, resend refused", "c", {Reply("33"), Reply("00"), Reply("09")}, {"c/", "?/", "c/"}, -1, kVatRefusal, 200, {}},
        {"no reply, then accepted", "c", {Silence(), Reply("00")}, {"c/", "c/"}, 1, "0 -  - 0", nt::kReplyWaitMs + nt::kTimeoutRetryPauseMs, {}},
        {"device fault ends at once", "c", {Reply("2E")}, {"c/"}, -1, "46 - Stampante scollegata - 9", 0, {"Errore grave della stampante fiscale, chiamare assistenza"}},
        {"empty command sends nothing", "", {}, {}, -1, " -  - ", 0, {}},
        {"split reply collected up to its ETX", "a", {{{5, kStx + "0"}, {25, "0/00/"}, {45, "00/\x03"}}}, {"a/"}, 1, "0 -  - 0", 45, {}},
        {"late bytes never pass for the next reply", "c", {{{nt::kReplyWaitMs + 200, kStx + "09/00/00/00\x03"}}, Reply("00")}, {"c/", "c/"}, 1, "0 -  - 0", nt::kReplyWaitMs, {}},
        {"bytes without ETX are bounded", "c", std::vector<ScriptedReply>(nt::kMaxSendsWithoutReply, {{5, std::string(nt::kMaxReplyBytes + 1, 'x')}}), Lines(nt::kMaxSendsWithoutReply, "c/"), -1, " -  - ", 0, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.socket.script.assign(c.replies.begin(), c.replies.end());
        EXPECT_EQ(rig.send(c.command), c.result);
        EXPECT_EQ(rig.socket.sends, c.sends);
        EXPECT_EQ(ReplySummary(rig.network.reply()), c.summary);
        EXPECT_GE(rig.elapsedMs, c.minElapsedMs);
        EXPECT_EQ(rig.shell.notices(), c.notices);
        const bool traced = std::count(rig.trace.lines.begin(), rig.trace.lines.end(),
                                       " --> fp_error n." + c.summary) == 1;
        EXPECT_EQ(traced, c.result != 1 && c.notices.empty());  // a device fault ends first
    }
}

}  // namespace
}  // namespace zelmar::link::testing
