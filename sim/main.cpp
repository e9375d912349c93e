// ecrsim: the simulated fiscal register on a pseudo-terminal and/or a loopback TCP port.
// It prints "SERIAL <device>", "LINK <path>", "TCP 127.0.0.1 <port>" and then "READY" on
// standard output, and runs until SIGTERM or SIGINT. See docs/SIMULATOR.md.

#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/transport/simulator_host.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the event loop from the loop itself (a handler may only write).
void QuitOnSignals(QCoreApplication& app) {
    if (::pipe(signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace

namespace {

constexpr const char* kUsage =
    "usage: ecrsim [--config FILE]... [--model XX] [--description TEXT] [--serial S] "
    "[--rt|--mf]\n"
    "              [--firmware TEXT] [--journal FILE] [--delay MS] [--fault RULE]...\n"
    "              [--link PATH] [--tcp PORT] [--no-serial] [--set KEY=VALUE]...\n"
    "(see docs/SIMULATOR.md)\n";

void PrintLine(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    ecrsim::SimOptions options;
    std::string error;
    if (!ecrsim::ParseSimArguments(args, options, error)) {
        std::fprintf(stderr, "ecrsim: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    ecrsim::SimulatorHost host;
    if (!host.start(options, error)) {
        std::fprintf(stderr, "ecrsim: %s\n", error.c_str());
        return 1;
    }
    QuitOnSignals(app);
    host.onSerialDropped = [] { PrintLine("SERIAL DROPPED"); };
    if (!host.serialDevice().empty()) PrintLine("SERIAL " + host.serialDevice());
    if (options.serial && !options.linkPath.empty()) PrintLine("LINK " + options.linkPath);
    if (host.tcpPort() >= 0) PrintLine("TCP 127.0.0.1 " + std::to_string(host.tcpPort()));
    PrintLine("READY");
    const int status = app.exec();
    host.stop();
    return status;
}
