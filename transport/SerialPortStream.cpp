#include "transport/SerialPortStream.h"

#include <algorithm>

#ifndef _WIN32
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

#include <sys/ioctl.h>

#include "platform/SteadyClock.h"
#include "transport/FdStream.h"
#endif

namespace kelvane {

bool WaitUntilSent(const std::function<int()>& queuedBytes, Clock& clock,
                   std::chrono::nanoseconds limit) {
    const auto until = clock.Now() + limit;
    for (;;) {
        const int queued = queuedBytes();
        if (queued == 0) return true;
        if (queued < 0) return false;
        const auto now = clock.Now();
        if (now >= until) return false;
        clock.Sleep(std::min<std::chrono::nanoseconds>(until - now, std::chrono::milliseconds(1)));
    }
}

}  // namespace kelvane

#ifndef _WIN32

namespace kelvane {

namespace {

// A serial port that lets what was written leave before it closes: the bytes still in the
// system's output queue are lost to a flush of the port's output, and some USB adapters'
// drivers drop them when the port closes. tcdrain would wait for them, but without bound; the
// queue is asked instead (SerialDrain), for at most kSerialDrainLimit. A pseudo-terminal reports
// an empty queue at once: its bytes wait on the other side.
class SerialPort final : public FdStream {
public:
    SerialPort(int fd, SerialDrain drain) : FdStream(fd, false), drain_(std::move(drain)) {}
    ~SerialPort() override {
        WaitUntilSent([this] { return drain_.queuedBytes(Descriptor()); }, *drain_.clock,
                      kSerialDrainLimit);
    }

private:
    SerialDrain drain_;
};

}  // namespace

SerialDrain SystemSerialDrain() {
    return {[](int fd) {
                int queued = 0;
                return ::ioctl(fd, TIOCOUTQ, &queued) == 0 ? queued : -1;
            },
            std::make_unique<SteadyClock>()};
}

StreamOpen OpenSerialPortStream(const std::string& device) {
    return OpenSerialPortStream(device, SystemSerialDrain());
}

StreamOpen OpenSerialPortStream(const std::string& device, SerialDrain drain) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        std::string failure = "cannot open the serial port " + device + ": " + SystemReason(error);
        if (error == EACCES || error == EPERM)
            failure +=
                " (serial ports usually need membership of the group \"dialout\": sudo "
                "adduser $USER dialout, then log in again)";
        return {nullptr, failure};
    }
    auto stream = std::make_unique<SerialPort>(fd, std::move(drain));
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return {nullptr, device + " is not a serial port: " + SystemReason(errno)};
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, B115200);
    ::cfsetospeed(&settings, B115200);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0)
        return {nullptr, "cannot set up the serial port " + device + ": " + SystemReason(errno)};
    // What came in before this session (an adapter's start-up noise, answers an earlier session
    // left unread) is not part of it. Output is not flushed: that would drop what the previous
    // session wrote last and the adapter has not taken yet, e.g. its closing commands.
    ::tcflush(fd, TCIFLUSH);
    return {std::move(stream), {}};
}

}  // namespace kelvane

#endif
