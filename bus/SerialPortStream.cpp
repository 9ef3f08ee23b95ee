#ifndef _WIN32

#include "bus/SerialPortStream.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "bus/FdStream.h"

namespace kelvane {

StreamOpen OpenSerialPortStream(const std::string& device) {
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
    auto stream = std::make_unique<FdStream>(fd, false);
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
    // What an earlier program left in the buffers is not part of this session.
    ::tcflush(fd, TCIOFLUSH);
    return {std::move(stream), {}};
}

}  // namespace kelvane

#endif
