// The serial / USB-CDC reader service: settings, opening and setting up the
// tty, and cutting what it sends into swipes.
#include "opos/control/serial_reader.h"

#include "msr/opos_constants.h"
#include "opos/control/port_reader_service.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace opos {

namespace {

struct BaudRate {
    int baud;
    speed_t speed;
};

constexpr std::array<BaudRate, 8> kBaudRates = {{{1200, B1200},
                                                 {2400, B2400},
                                                 {4800, B4800},
                                                 {9600, B9600},
                                                 {19200, B19200},
                                                 {38400, B38400},
                                                 {57600, B57600},
                                                 {115200, B115200}}};

bool ParseInt(const std::string& text, int& out)
{
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end && !text.empty();
}

class SerialService final : public PortReaderService {
public:
    ~SerialService() override { Close(); }

    ServiceInfo Info() const override
    {
        ServiceInfo info;
        info.serviceDescription = "Strivo serial MSR service";
        info.serviceVersion = 1014000;
        info.physicalDeviceDescription = "Serial / USB-CDC magnetic stripe reader on " + settings_.port + ", " +
                                         std::to_string(settings_.baud) + " " +
                                         std::to_string(settings_.dataBits) + settings_.parity +
                                         std::to_string(settings_.stopBits);
        info.physicalDeviceName = "Strivo Serial MSR";
        info.capISO = true;
        info.capTransmitSentinels = true;
        info.capPowerReporting = OPOS_PR_STANDARD;
        return info;
    }

protected:
    std::string ServiceName() const override { return kSerialServiceName; }
    std::string PortName() const override { return settings_.port; }

    bool Configure(const ServiceSettings& settings, std::string& why) override
    {
        if (!ParseSerialSettings(settings, settings_, why)) {
            return false;
        }
        assembler_ = SwipeAssembler(settings_.terminator);
        return true;
    }

    int OpenPort(std::string& why) override
    {
        const std::string& port = settings_.port;
        const int fd = ::open(port.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            const int err = errno;
            why = "cannot open " + port + ": " + std::strerror(err) + "; ";
            if (err == EACCES || err == EPERM) {
                why += "join the 'dialout' group (sudo usermod -aG dialout $USER, then log in again)";
            } else if (err == ENOENT || err == ENODEV || err == ENXIO) {
                why += "check that the reader is plugged in and the port is right "
                       "(ls /dev/serial/by-id/ /dev/ttyACM* /dev/ttyUSB* lists the ports)";
            } else if (err == EBUSY) {
                why += "another program holds the port";
            } else {
                why += "check the port";
            }
            return -1;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            why = errno == EWOULDBLOCK
                      ? port + " is in use by another program (fuser -v " + port + " shows which)"
                      : "cannot lock " + port + ": " + std::strerror(errno);
            ::close(fd);
            return -1;
        }
        termios tio{};
        if (::tcgetattr(fd, &tio) != 0) {
            why = errno == ENOTTY ? port + " is not a serial port; give the reader's tty as Port"
                                  : "cannot read the settings of " + port + ": " + std::strerror(errno);
            ::close(fd);
            return -1;
        }
        ::cfmakeraw(&tio);
        tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
        tio.c_cflag |= CLOCAL | CREAD | (settings_.dataBits == 7 ? CS7 : CS8);
        if (settings_.parity != 'N') {
            tio.c_cflag |= PARENB | (settings_.parity == 'O' ? PARODD : 0);
            tio.c_iflag |= INPCK;  // a byte with bad parity arrives as 0 and fails its swipe
        }
        if (settings_.stopBits == 2) {
            tio.c_cflag |= CSTOPB;
        }
        tio.c_cc[VMIN] = 1;
        tio.c_cc[VTIME] = 0;
        speed_t speed = B9600;
        for (const BaudRate& b : kBaudRates) {
            if (b.baud == settings_.baud) {
                speed = b.speed;
            }
        }
        if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0 ||
            ::tcsetattr(fd, TCSANOW, &tio) != 0) {
            why = "cannot set up " + port + ": " + std::strerror(errno);
            ::close(fd);
            return -1;
        }
        ::tcflush(fd, TCIFLUSH);
        return fd;
    }

    bool ProbePort(int fd, std::string& why) override
    {
        termios tio{};
        if (::tcgetattr(fd, &tio) != 0) {
            why = settings_.port + " does not answer: " + std::strerror(errno);
            return false;
        }
        return true;
    }

    void OnBytes(std::string_view bytes, const SwipeAssembler::Sink& sink) override
    {
        assembler_.Feed(bytes, sink);
    }

    void ResetInput() override { assembler_.Reset(); }

private:
    SerialSettings settings_;
    SwipeAssembler assembler_;
};

}  // namespace

bool ParseSerialSettings(const ServiceSettings& settings, SerialSettings& out, std::string& why)
{
    SerialSettings s;
    for (const auto& [key, value] : settings) {
        int n = 0;
        if (key == "Port") {
            s.port = value;
        } else if (key == "Baud") {
            bool known = false;
            for (const BaudRate& b : kBaudRates) {
                known = known || (ParseInt(value, n) && n == b.baud);
            }
            if (!known) {
                why = "Baud \"" + value + "\" is not a speed the service sets; use 1200, 2400, 4800, 9600, "
                      "19200, 38400, 57600 or 115200";
                return false;
            }
            s.baud = n;
        } else if (key == "DataBits") {
            if (!ParseInt(value, n) || (n != 7 && n != 8)) {
                why = "DataBits \"" + value + "\" must be 7 or 8";
                return false;
            }
            s.dataBits = n;
        } else if (key == "Parity") {
            if (value.size() != 1 || std::strchr("NEOneo", value[0]) == nullptr) {
                why = "Parity \"" + value + "\" must be N (none), E (even) or O (odd)";
                return false;
            }
            s.parity = static_cast<char>(value[0] >= 'a' ? value[0] - 'a' + 'A' : value[0]);
        } else if (key == "StopBits") {
            if (!ParseInt(value, n) || (n != 1 && n != 2)) {
                why = "StopBits \"" + value + "\" must be 1 or 2";
                return false;
            }
            s.stopBits = n;
        } else if (key == "Terminator") {
            if (!ParseSwipeTerminator(value, s.terminator)) {
                why = "Terminator \"" + value + "\" must be CR, LF or CRLF";
                return false;
            }
        } else {
            why = "unknown setting \"" + key + "\"; the settings are Port, Baud, DataBits, Parity, StopBits "
                  "and Terminator";
            return false;
        }
    }
    if (s.port.empty()) {
        why = "no Port is set; give the reader's tty, e.g. Port=/dev/ttyACM0";
        return false;
    }
    out = std::move(s);
    return true;
}

std::unique_ptr<MsrService> MakeSerialService()
{
    return std::make_unique<SerialService>();
}

}  // namespace opos
