// The ecrsim executable end to end: a real process, a real pseudo-terminal, a real socket.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/program_runner.h"

namespace {

using zelmar::testing::EcrsimProcess;

// Generous bound for a local process to answer; the exchanges themselves take milliseconds.
constexpr int kIoTimeoutMs = 5000;

// Reads from fd until `done` holds for what arrived, or the bound passes.
template <typename Done>
std::string ReadUntil(int fd, Done done) {
    std::string data;
    pollfd waiting{fd, POLLIN, 0};
    while (!done(data) && poll(&waiting, 1, kIoTimeoutMs) > 0) {
        char buffer[256];
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) break;
        data.append(buffer, static_cast<std::size_t>(count));
    }
    return data;
}

bool EndsFrame(const std::string& data) {
    return data.find('\x03') != std::string::npos;
}

int OpenRaw(const std::string& device) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return fd;
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

int ConnectLoopback(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

class EcrsimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder =
            std::filesystem::path(::testing::TempDir()) / ("ecrsim_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

TEST_F(EcrsimTest, AnswersOverThePseudoTerminalAndTcpAndJournals) {
    const std::string link = (folder / "ecr").string();
    const std::string journal = (folder / "journal.txt").string();
    EcrsimProcess sim(ECRSIM_PATH,
                      {"--link", link, "--journal", journal, "--tcp", "0", "--model", "TN"});
    ASSERT_FALSE(sim.value("SERIAL").empty());
    EXPECT_EQ(sim.value("LINK"), link);
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.value("SERIAL"));

    const int serial = OpenRaw(link);
    ASSERT_GE(serial, 0);
    ASSERT_EQ(write(serial, "\x05", 1), 1);
    EXPECT_EQ(ReadUntil(serial, [](const std::string& d) { return !d.empty(); }), "\x06");
    const std::string frame = "\x02U//79\x03";
    ASSERT_EQ(write(serial, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    EXPECT_EQ(ReadUntil(serial, EndsFrame),
              "\x02"
              "00/00/00/73\x03");
    ASSERT_EQ(write(serial, "\x06", 1), 1);
    close(serial);

    const std::string tcp = sim.value("TCP");  // "127.0.0.1 PORT"
    ASSERT_EQ(tcp.rfind("127.0.0.1 ", 0), 0u);
    const int socket = ConnectLoopback(std::stoi(tcp.substr(10)));
    ASSERT_GE(socket, 0);
    ASSERT_EQ(write(socket, "a/", 2), 2);
    const std::string reply = ReadUntil(socket, EndsFrame);
    EXPECT_NE(reply.find("/TN/"), std::string::npos) << reply;
    close(socket);

    EXPECT_EQ(sim.terminate(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    std::ifstream file(journal, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "U/\r\na\r\n");
}

TEST_F(EcrsimTest, ScriptedDropTakesThePseudoTerminalAway) {
    EcrsimProcess sim(ECRSIM_PATH, {"--fault", "drop@1"});
    const int serial = OpenRaw(sim.value("SERIAL"));
    ASSERT_GE(serial, 0);
    const std::string frame = "\x02U//79\x03";
    ASSERT_EQ(write(serial, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    EXPECT_EQ(ReadUntil(serial, EndsFrame),
              "\x02"
              "00/00/00/73\x03");
    ASSERT_EQ(write(serial, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    EXPECT_NE(sim.readUntil("SERIAL DROPPED").find("SERIAL DROPPED"), std::string::npos);
    close(serial);
    EXPECT_LT(open(sim.value("SERIAL").c_str(), O_RDWR | O_NOCTTY), 0);
}

}  // namespace
