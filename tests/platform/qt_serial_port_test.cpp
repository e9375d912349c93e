#include "platform/qt/qt_serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

// The line settings a register needs, as the device sees them; the integration run carries the
// bytes over a pseudo-terminal, which ignores these settings.
TEST(QtSerialPort, OpensAtTheBaudRateWith8N1AndBothFlowControls) {
    EnsureQtApp();
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    QtSerialPort port;
    ASSERT_TRUE(port.configure(ptsname(master), 9600));
    ASSERT_TRUE(port.open());  // the pty refuses DTR/RTS: not an error

    termios settings{};
    ASSERT_EQ(tcgetattr(master, &settings), 0);
    EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B9600));
    EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
    EXPECT_TRUE(settings.c_cflag & CRTSCTS);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    port.close();
    EXPECT_FALSE(port.write("x"));
    ::close(master);
}

}  // namespace
}  // namespace zelmar::platform
