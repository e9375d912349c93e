#include "platform/ping_reply.h"

#include <gtest/gtest.h>

#include <utility>

namespace zelmar::platform {
namespace {

TEST(PingReply, ReadsTheFirstReplyOfEveryKnownOutput) {
    const std::pair<const char*, int> cases[] = {
        {"64 bytes from 10.0.0.9: icmp_seq=1 ttl=64 time=12.6 ms\n", 13},
        {"\r\nRisposta da 10.0.0.1: byte=32 durata=12ms TTL=64\r\n"
         "    Minimo = 12ms, Massimo = 12ms, Medio = 12ms\r\n",
         12},
        {"Reply from 10.0.0.1: bytes=32 time<1ms TTL=128\r\n", 1},
        {"Reply from 10.0.0.1: bytes=32 time=12ms TTL=64\r\n", 12},
        {"Risposta da 10.0.0.1: byte=32 durata<1ms TTL=128\r\n", 1},
        {"Antwort von 10.0.0.1: Bytes=32 Zeit=3,4ms TTL=64\r\n", 4},
        // no reply: the summary's "time 0ms" and the statistics are not replies
        {"From 10.0.0.1 icmp_seq=1 Destination Host Unreachable\n"
         "1 packets transmitted, 0 received, +1 errors, 100% packet loss, time 0ms\n",
         -1},
        {"", -1},
    };
    for (const auto& [output, ms] : cases) EXPECT_EQ(PingReplyMs(output), ms) << output;
}

TEST(PingReply, OnlyPlainHostTextsReachTheCommand) {
    for (const char* host : {"10.0.0.1", "cassa-1.local", "::1"})
        EXPECT_TRUE(IsPlainHostText(host));
    for (const char* host : {"", "-f", "10.0.0.1 & del *", "10.0.0.1;reboot", "10.0.0.1\n"})
        EXPECT_FALSE(IsPlainHostText(host)) << host;
}

}  // namespace
}  // namespace zelmar::platform
