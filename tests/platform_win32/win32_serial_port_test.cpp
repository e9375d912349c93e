#include "platform/win32/win32_serial_port.h"

#include <gtest/gtest.h>

namespace zelmar::platform {
namespace {

// A slot whose COM port is not there: the settings are taken, the start-up probe fails and
// nothing is sent or read.
TEST(Win32SerialPort, APortThatDoesNotExistIsConfiguredButNeverOpens) {
    Win32EventLoop loop;
    Win32SerialPort port(loop);
    for (const char* device : {"COM77", "\\\\.\\COM77"}) {
        ASSERT_TRUE(port.configure(device, 9600)) << device;
        EXPECT_FALSE(port.open()) << device;
        EXPECT_FALSE(port.probe()) << device;
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(port.write("\x05"));
        EXPECT_EQ(port.readAvailable(), "");
    }
    EXPECT_FALSE(port.configure("", 9600));
    EXPECT_FALSE(port.configure("COM1", 0));
    EXPECT_FALSE(port.open());  // a refused configuration leaves no device behind
}

}  // namespace
}  // namespace zelmar::platform
