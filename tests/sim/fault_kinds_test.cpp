#include <gtest/gtest.h>

#include "sim/engine_test_helpers.h"

namespace ecrsim {
namespace {

// Every fault kind as the driver sees it on each line, and how many commands the register
// executed (journaled): a faulted command has no effect, except a lost one. Serial: ENQ with a
// sale's frame, then the same frame again. TCP: the sale, then a status poll.
TEST(SimFaultKinds, WhatTheDriverSeesOnEachLine) {
    const std::string sale = "3/S/X//1/1.00/1/22.00";
    const std::string ack(1, kAck), nak(1, kNak), open = Frame("00/00/04/");
    const std::string badSum = std::string(1, kStx) + "00/00/04/78" + kEtx;  // 77 is right
    struct Case {
        std::string rule, model, serialFirst, serialSecond, tcpReply;
        std::size_t serialRuns, tcpRuns;
    } cases[] = {
        {"nak", "AB", ack + nak, open, open, 1, 2},  // serial only: the TCP sale goes through
        {"noack", "AB", open, open, open, 2, 2},     // no ACK to the ENQ, the frame is served
        {"silent", "AB", ack, open, "", 1, 1},
        {"lost", "AB", ack, open, "", 2, 2},  // executed, unanswered; the resend runs again
        {"lost=5/", "AB", ack + open, open, open, 2, 2},  // only a payment's answer is lost
        {"busy", "AB", ack + Frame("1A/00/00/"), open, Frame("1A/00/00/"), 1, 1},
        {"busy", "CE", ack + Frame("0E/00/00/"), open, Frame("1A/00/00/"), 1, 1},
        {"paper", "AB", ack + Frame("31/05/00/"), open, Frame("2C/32/00/"), 1, 1},
        {"paper=33", "AB", ack + Frame("33/05/00/"), open, Frame("33/32/00/"), 1, 1},
        {"fault", "AB", ack + Frame("2E/00/00/"), open, Frame("2E/00/00/"), 1, 1},
        {"again=32", "AB", ack + Frame("32/01/00/"), open, Frame("32/01/00/"), 1, 1},
        {"refuse=09,3/S", "AB", ack + Frame("09/00/00/"), open, Frame("09/00/00/"), 1, 1},
        {"refuse=09,X", "AB", ack + open, open, open, 2, 2},
        {"badsum", "AB", ack + badSum, open, badSum, 2, 2},
        {"short", "AB", ack + Frame("00/"), open, Frame("00/"), 2, 2},
        {"drop", "AB", ack, "", "", 0, 1},  // the serial line stays dead; TCP serves a new one
        {"busy:2@1", "AB", ack + open, Frame("1A/00/04/"), open, 1, 1},  // receipt open
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule + " on " + c.model);
        EngineRig serial({c.rule}, c.model);
        EXPECT_EQ(serial.serialExchange(std::string(1, kEnq) + Frame(sale + "/")), c.serialFirst);
        EXPECT_EQ(serial.serialExchange(Frame(sale + "/")), c.serialSecond);
        EXPECT_EQ(serial.model.journal().lines().size(), c.serialRuns);
        EXPECT_EQ(serial.serial.linkDropped(), c.rule == "drop");
        EngineRig tcp({c.rule}, c.model);
        EXPECT_EQ(tcp.tcpExchange(sale + "/"), c.tcpReply);
        tcp.tcpExchange("?/");
        EXPECT_EQ(tcp.model.journal().lines().size(), c.tcpRuns);
    }
}

// The answer to the closing payment is lost: the receipt is closed all the same, so the
// driver's resend is refused and the document is counted once.
TEST(SimFaultKinds, LostPaymentAnswerClosesTheReceiptOnce) {
    const std::string sale = "3/S/X//1/1.00/1/22.00", payment = "5/1/1.00//////";
    for (const bool serialLine : {true, false}) {
        SCOPED_TRACE(serialLine ? "serial" : "TCP");
        EngineRig r({"lost=5/"});
        const auto send = [&](const std::string& line) {
            return serialLine ? r.serialExchange(Frame(line + "/")) : r.tcpExchange(line + "/");
        };
        EXPECT_EQ(send(sale), Frame("00/00/04/"));
        EXPECT_EQ(send(payment), "");
        EXPECT_EQ(send(payment), Frame("41/00/00/"));
        EXPECT_EQ(send("9"), Frame("00/00/00/0/0/0/0/0/1/"));
        EXPECT_EQ(r.model.journal().lines(), (std::vector<std::string>{sale, payment, "9"}));
    }
}

}  // namespace
}  // namespace ecrsim
