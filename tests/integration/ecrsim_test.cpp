// The ecrsim executable end to end: a real process, a real pseudo-terminal, a real socket.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "config/scratch_folder.h"
#include "support/program_runner.h"

namespace {

using zelmar::testing::EcrsimProcess;
using zelmar::testing::ScratchFolder;

// What `fd` gives until `done` holds for it, or the bound passes.
std::string Read(int fd, const std::function<bool(const std::string&)>& done) {
    std::string data;
    zelmar::testing::ReadUntil(fd, data, done);
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

TEST(Ecrsim, AnswersOverThePseudoTerminalAndTcpAndJournals) {
    const ScratchFolder folder("ecrsim");
    const std::string link = folder.file("ecr");
    const std::string journal = folder.file("journal.txt");
    EcrsimProcess sim(
        {ECRSIM_PATH, "--link", link, "--journal", journal, "--tcp", "0", "--model", "TN"});
    ASSERT_FALSE(sim.value("SERIAL").empty());
    EXPECT_EQ(sim.value("LINK"), link);
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.value("SERIAL"));

    const int serial = OpenRaw(link);
    ASSERT_GE(serial, 0);
    ASSERT_EQ(write(serial, "\x05", 1), 1);
    EXPECT_EQ(Read(serial, [](const std::string& d) { return !d.empty(); }), "\x06");
    const std::string frame = "\x02U//79\x03";
    ASSERT_EQ(write(serial, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    EXPECT_EQ(Read(serial, EndsFrame),
              "\x02"
              "00/00/00/73\x03");
    ASSERT_EQ(write(serial, "\x06", 1), 1);
    close(serial);

    ASSERT_FALSE(sim.value("TCP 127.0.0.1").empty());
    const int socket = ConnectLoopback(std::stoi(sim.value("TCP 127.0.0.1")));
    ASSERT_GE(socket, 0);
    ASSERT_EQ(write(socket, "a/", 2), 2);
    const std::string reply = Read(socket, EndsFrame);
    EXPECT_NE(reply.find("/TN/"), std::string::npos) << reply;
    close(socket);

    EXPECT_EQ(sim.terminate(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_EQ(folder.read("journal.txt"), "U/\r\na\r\n");
}

}  // namespace
