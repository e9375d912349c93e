#include "platform/win32/win32_serial_port.h"

#include <algorithm>
#include <utility>

namespace zelmar::platform {
namespace {

constexpr DWORD kReadChunk = 4096;
// The pending read ends after this long without a byte, so a device that vanished is noticed.
constexpr DWORD kReadIdleMs = 1000;
// Beyond the time its bytes need on the line, a write may wait this long for the register's
// flow control (CTS or XON) before it fails.
constexpr DWORD kWriteGraceMs = 2000;
// How long a cancelled operation is waited for before its memory is given up to the system.
constexpr DWORD kCancelWaitMs = 1000;
constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;

// "COMn" is opened in the device namespace, which COM10 and above need.
std::string DevicePath(const std::string& device) {
    const bool plainComName = device.size() > 3 && _strnicmp(device.c_str(), "COM", 3) == 0 &&
                              device.find_first_not_of("0123456789", 3) == std::string::npos;
    return plainComName ? "\\\\.\\" + device : device;
}

// Milliseconds one byte needs on the line (start bit, 8 data bits, stop bit), rounded up.
DWORD ByteTimeMs(int baudRate) {
    return static_cast<DWORD>(10000 / baudRate + 1);
}

}  // namespace

// One overlapped operation: its OVERLAPPED and buffer must stay put until the system is done.
struct Win32SerialPort::Operation {
    OVERLAPPED overlapped{};
    char buffer[kReadChunk];
    bool inFlight = false;

    Operation() { overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr); }
    ~Operation() {
        if (overlapped.hEvent) CloseHandle(overlapped.hEvent);
    }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
};

// Waits for a cancelled operation; when the system does not finish it in time, its memory is
// left to the system rather than freed under a transfer still to come.
void Win32SerialPort::Retire(std::unique_ptr<Operation> operation) {
    if (operation && operation->inFlight &&
        WaitForSingleObject(operation->overlapped.hEvent, kCancelWaitMs) != WAIT_OBJECT_0) {
        [[maybe_unused]] const Operation* abandoned = operation.release();
    }
}

Win32SerialPort::Win32SerialPort(Win32EventLoop& loop) : loop_(loop) {}

Win32SerialPort::~Win32SerialPort() {
    close();
}

bool Win32SerialPort::configure(const std::string& device, int baudRate) {
    close();  // the new settings take effect at the next open
    path_.clear();
    if (device.empty() || baudRate <= 0) return false;
    path_ = DevicePath(device);
    baudRate_ = baudRate;
    return true;
}

bool Win32SerialPort::open() {
    if (isOpen()) return true;
    if (path_.empty()) return false;
    handle_ = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OVERLAPPED, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    received_.clear();
    read_ = std::make_unique<Operation>();
    if (!read_->overlapped.hEvent || !applySettings() ||
        !loop_.watchHandle(read_->overlapped.hEvent, [this] { collectRead(); })) {
        close();
        return false;
    }
    startRead();
    return isOpen();
}

void Win32SerialPort::close() {
    if (!isOpen()) return;
    if (read_) loop_.unwatch(read_->overlapped.hEvent);
    CancelIoEx(handle_, nullptr);
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    Retire(std::move(read_));
}

bool Win32SerialPort::write(const std::string& bytes) {
    if (!isOpen()) return false;
    auto io = std::make_unique<Operation>();
    if (!io->overlapped.hEvent) return false;
    const auto size = static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (WriteFile(handle_, bytes.data(), size, nullptr, &io->overlapped) ||
        GetLastError() == ERROR_IO_PENDING) {
        io->inFlight = true;
        // The driver ends the write by its own time-outs; this bound is for one that does not.
        const DWORD bound = size * ByteTimeMs(baudRate_) + kWriteGraceMs + kCancelWaitMs;
        if (WaitForSingleObject(io->overlapped.hEvent, bound) == WAIT_OBJECT_0) {
            io->inFlight = false;
            if (GetOverlappedResult(handle_, &io->overlapped, &written, FALSE)) {
                return written == size;  // fewer: the register held the line too long
            }
        }
    }
    close();  // the device failed or hangs: the next open starts afresh
    Retire(std::move(io));
    return false;
}

std::string Win32SerialPort::readAvailable() {
    collectRead();
    return std::exchange(received_, {});
}

bool Win32SerialPort::applySettings() {
    SetupComm(handle_, kReadChunk, kReadChunk);  // a size hint the driver may ignore
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(handle_, &dcb)) return false;
    dcb.BaudRate = static_cast<DWORD>(baudRate_);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = TRUE;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;  // raised while there is room for input
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fOutX = TRUE;
    dcb.fInX = TRUE;
    dcb.XonChar = kXon;
    dcb.XoffChar = kXoff;
    dcb.XonLim = kReadChunk / 4;
    dcb.XoffLim = kReadChunk / 4;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;  // a framing error must not stop every later read
    if (!SetCommState(handle_, &dcb)) return false;
    // A read ends when its bytes are there, at the latest after kReadIdleMs.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadTotalTimeoutConstant = kReadIdleMs;
    timeouts.WriteTotalTimeoutMultiplier = ByteTimeMs(baudRate_);
    timeouts.WriteTotalTimeoutConstant = kWriteGraceMs;
    if (!SetCommTimeouts(handle_, &timeouts)) return false;
    PurgeComm(handle_, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return true;
}

// The wake-up read: one byte, so that it ends with the first byte that arrives (a read for more
// would wait for all of them), or empty after kReadIdleMs.
void Win32SerialPort::startRead() {
    if (ReadFile(handle_, read_->buffer, 1, nullptr, &read_->overlapped) ||
        GetLastError() == ERROR_IO_PENDING) {
        read_->inFlight = true;  // done at once or later: the event tells the loop either way
        return;
    }
    close();
}

void Win32SerialPort::collectRead() {
    if (!isOpen() || !read_->inFlight || !finishRead()) return;
    readQueued();
    if (isOpen()) startRead();
}

// Takes the result of the read in flight; false while it runs or after a failure closed the port.
bool Win32SerialPort::finishRead() {
    DWORD got = 0;
    if (!GetOverlappedResult(handle_, &read_->overlapped, &got, FALSE)) {
        const DWORD error = GetLastError();
        if (error == ERROR_IO_INCOMPLETE) return false;
        if (error != ERROR_TIMEOUT && error != ERROR_SEM_TIMEOUT) {  // a time-out is no failure
            close();
            return false;
        }
        got = 0;
    }
    read_->inFlight = false;
    received_.append(read_->buffer, got);
    return true;
}

// Reads the bytes the driver holds already, which ends at once. The driver's count also tells
// whether the device is still there.
void Win32SerialPort::readQueued() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handle_, &errors, &status)) {
        close();
        return;
    }
    const DWORD queued = std::min<DWORD>(status.cbInQue, kReadChunk);
    if (queued == 0) return;
    if (!ReadFile(handle_, read_->buffer, queued, nullptr, &read_->overlapped) &&
        GetLastError() != ERROR_IO_PENDING) {
        close();
        return;
    }
    read_->inFlight = true;
    if (WaitForSingleObject(read_->overlapped.hEvent, kReadIdleMs + kCancelWaitMs) !=
        WAIT_OBJECT_0) {
        close();
        return;
    }
    finishRead();
}

}  // namespace zelmar::platform
