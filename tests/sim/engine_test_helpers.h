#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/core/frame.h"
#include "sim/core/serial_engine.h"
#include "sim/core/tcp_engine.h"

namespace ecrsim {

// The bytes of all outputs, in order, whatever their delays.
inline std::string Joined(const Outputs& outputs) {
    std::string bytes;
    for (const auto& output : outputs) bytes += output.bytes;
    return bytes;
}

// A register of the given model with a fixed clock and the given fault rules, reached through
// either engine (use one of them per rig: they share the faults).
struct EngineRig {
    static RegisterConfig Config(const std::string& modelName) {
        RegisterConfig config;
        config.model = modelName;
        config.date = "06122026";
        config.time = "103000";
        return config;
    }
    explicit EngineRig(const std::vector<std::string>& rules = {},
                       const std::string& modelName = "AB")
        : model(Config(modelName)) {
        for (const auto& rule : rules) fault(rule);
    }
    void fault(const std::string& rule) {
        std::string error;
        EXPECT_TRUE(faults.add(rule, error)) << error;
    }
    std::string serialExchange(const std::string& bytes) { return Joined(serial.receive(bytes)); }
    std::string tcpExchange(const std::string& bytes) { return Joined(tcp.receive(bytes)); }

    RegisterModel model;
    FaultScript faults;
    SerialEngine serial{model, faults};
    TcpEngine tcp{model, faults};
};

}  // namespace ecrsim
