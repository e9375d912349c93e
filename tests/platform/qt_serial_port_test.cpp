#include "platform/qt/qt_serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

// A pseudo-terminal: the port under test opens the slave, the test plays the register.
struct PseudoTerminal {
    PseudoTerminal() : master(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0) slave = ptsname(master);
    }
    ~PseudoTerminal() { ::close(master); }
    std::string read(size_t count) const {  // waits at most 2 s for count bytes
        std::string bytes;
        pollfd wait{master, POLLIN, 0};
        char buffer[64];
        ssize_t got = 0;
        while (bytes.size() < count && ::poll(&wait, 1, 2000) > 0 &&
               (got = ::read(master, buffer, sizeof buffer)) > 0) {
            bytes.append(buffer, static_cast<size_t>(got));
        }
        return bytes;
    }
    int master;
    std::string slave;
};

TEST(QtSerialPort, ConfiguresOpensAndCarriesBytesBothWaysAndFindsAMissingDeviceOnlyByOpening) {
    EnsureQtApp();
    QtEventLoop loop;
    QtSerialPort port;
    EXPECT_TRUE(port.configure("/dev/zelmar-no-such-tty", 9600));  // configuring opens nothing
    EXPECT_FALSE(port.probe());
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.configure("", 9600));
    EXPECT_FALSE(port.configure("/dev/zelmar-no-such-tty", 0));

    PseudoTerminal pty;
    ASSERT_FALSE(pty.slave.empty());
    ASSERT_TRUE(port.configure(pty.slave, 9600));
    EXPECT_TRUE(port.probe());
    EXPECT_FALSE(port.isOpen());
    ASSERT_TRUE(port.open());  // the pty refuses DTR/RTS: not an error

    termios settings{};
    ASSERT_EQ(tcgetattr(pty.master, &settings), 0);
    EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B9600));
    EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
    EXPECT_TRUE(settings.c_cflag & CRTSCTS);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));

    const std::string frame = std::string(1, '\x02') + "1/1/0000/0/42\x03";
    ASSERT_TRUE(port.write(frame));
    EXPECT_EQ(pty.read(frame.size()), frame);
    EXPECT_EQ(port.readAvailable(), "");  // nothing yet, and no blocking
    ASSERT_EQ(::write(pty.master, "\x06\x15", 2), 2);
    std::string received;
    PumpUntil(loop, [&] { return (received += port.readAvailable()).size() >= 2; });
    EXPECT_EQ(received, "\x06\x15");

    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write("x"));
}

}  // namespace
}  // namespace zelmar::platform
