// The reading thread, power state and lifecycle shared by the serial and the
// keyboard-wedge services.
#include "opos/control/port_reader_service.h"

#include "msr/opos_constants.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace opos {

namespace {

std::atomic<std::int64_t> g_reopenMs{1000};

}  // namespace

void PortReaderService::SetReopenInterval(std::chrono::milliseconds interval)
{
    g_reopenMs = interval.count();
}

void PortReaderService::Report(const std::string& text) const
{
    std::fprintf(stderr, "%s (%s): %s\n", ServiceName().c_str(), logicalName_.c_str(), text.c_str());
}

std::int32_t PortReaderService::Open(const std::string& logicalName, const ServiceSettings& settings,
                                     MsrServiceListener* listener)
{
    if (open_) {
        return OPOS_E_ILLEGAL;
    }
    logicalName_ = logicalName;
    std::string why;
    if (!Configure(settings, why)) {
        Report(why + "; change the device entry with \"strivo-devices set " + logicalName + " " +
               ServiceName() + " key=value ...\"");
        return OPOS_E_ILLEGAL;
    }
    const int fd = OpenPort(why);
    if (fd < 0) {
        Report(why);
        return OPOS_E_NOHARDWARE;
    }
    std::array<int, 2> pipeFds{};
    if (::pipe2(pipeFds.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        Report(std::string("cannot make the stop pipe of the reading thread: ") + std::strerror(errno));
        ::close(fd);
        return OPOS_E_FAILURE;
    }
    stopRead_ = pipeFds[0];
    stopWrite_ = pipeFds[1];
    fd_ = fd;
    listener_ = listener;
    online_ = true;
    claimed_ = false;
    enabled_ = false;
    open_ = true;
    thread_ = std::thread([this] { Run(); });
    return OPOS_SUCCESS;
}

void PortReaderService::Close()
{
    if (thread_.joinable()) {
        const char stop = 1;
        while (::write(stopWrite_, &stop, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    {
        std::lock_guard lock(portMutex_);
        if (fd_ >= 0) {
            if (enabled_) {
                std::string why;
                HoldPort(fd_, false, why);
            }
            ::close(fd_);
            fd_ = -1;
        }
    }
    for (int* p : {&stopRead_, &stopWrite_}) {
        if (*p >= 0) {
            ::close(*p);
            *p = -1;
        }
    }
    enabled_ = false;
    claimed_ = false;
    online_ = false;
    listener_ = nullptr;
    open_ = false;
}

std::int32_t PortReaderService::Claim()
{
    if (!open_) {
        return OPOS_E_CLOSED;
    }
    if (!online_) {
        return OPOS_E_NOHARDWARE;
    }
    claimed_ = true;
    return OPOS_SUCCESS;
}

void PortReaderService::Release()
{
    if (enabled_) {
        Enable(false);
    }
    claimed_ = false;
}

std::int32_t PortReaderService::Enable(bool enable)
{
    if (!open_) {
        return OPOS_E_CLOSED;
    }
    std::lock_guard lock(portMutex_);
    std::string why;
    if (!enable) {
        if (enabled_ && fd_ >= 0) {
            HoldPort(fd_, false, why);
        }
        enabled_ = false;
        return OPOS_SUCCESS;
    }
    if (!online_ || fd_ < 0) {
        return OPOS_E_NOHARDWARE;
    }
    if (!enabled_ && !HoldPort(fd_, true, why)) {
        Report(why);
        return OPOS_E_FAILURE;
    }
    resetInput_ = true;
    enabled_ = true;
    return OPOS_SUCCESS;
}

std::int32_t PortReaderService::PowerState() const
{
    return online_ ? OPOS_PS_ONLINE : OPOS_PS_OFFLINE;
}

std::int32_t PortReaderService::CheckHealth(std::int32_t level, std::string& text)
{
    switch (level) {
    case OPOS_CH_INTERNAL:
        text = open_ && thread_.joinable() ? "Internal HCheck: Successful"
                                           : "Internal HCheck: Failed, the service is not running";
        return open_ ? OPOS_SUCCESS : OPOS_E_FAILURE;
    case OPOS_CH_EXTERNAL: {
        std::lock_guard lock(portMutex_);
        if (fd_ < 0) {
            text = "External HCheck: Failed, the reader on " + PortName() + " is not connected";
            return OPOS_E_NOHARDWARE;
        }
        pollfd p{fd_, POLLIN, 0};
        std::string why;
        if (::poll(&p, 1, 0) < 0 || (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            text = "External HCheck: Failed, " + PortName() + " reports a hangup or an error";
            return OPOS_E_NOHARDWARE;
        }
        if (!ProbePort(fd_, why)) {
            text = "External HCheck: Failed, " + why;
            return OPOS_E_NOHARDWARE;
        }
        text = "External HCheck: Successful, " + PortName() + " is open and readable";
        return OPOS_SUCCESS;
    }
    case OPOS_CH_INTERACTIVE:
        text = "Interactive HCheck: Not supported, swipe a card with the device enabled to test the reader";
        return OPOS_E_ILLEGAL;
    default:
        return OPOS_E_ILLEGAL;
    }
}

std::int32_t PortReaderService::DirectIO(std::int32_t command, std::int32_t& /*data*/, std::string& /*text*/)
{
    return command == 0 ? OPOS_SUCCESS : OPOS_E_ILLEGAL;
}

bool PortReaderService::WaitForStop(std::chrono::milliseconds timeout) const
{
    pollfd p{stopRead_, POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(timeout.count()));
    return r > 0;
}

void PortReaderService::GoOffline(const std::string& why)
{
    {
        std::lock_guard lock(portMutex_);
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    online_ = false;
    ResetInput();
    Report(PortName() + " went away (" + why + "); trying to open it again every " +
           std::to_string(g_reopenMs.load()) + " ms");
    listener_->OnPowerState(OPOS_PS_OFFLINE);
}

void PortReaderService::Run()
{
    const SwipeAssembler::Sink sink = [this](const SwipeText& swipe) {
        if (enabled_ && claimed_) {
            ReportSwipe(swipe, *listener_);
        }
    };
    std::array<char, 512> buffer{};
    for (;;) {
        int fd = -1;
        {
            std::lock_guard lock(portMutex_);
            fd = fd_;
        }
        if (fd < 0) {
            if (WaitForStop(std::chrono::milliseconds(g_reopenMs.load()))) {
                return;
            }
            std::string why;
            const int reopened = OpenPort(why);
            if (reopened < 0) {
                continue;
            }
            {
                std::lock_guard lock(portMutex_);
                fd_ = reopened;
                if (enabled_ && !HoldPort(reopened, true, why)) {
                    Report(why);
                }
            }
            ResetInput();
            online_ = true;
            Report(PortName() + " is back");
            listener_->OnPowerState(OPOS_PS_ONLINE);
            continue;
        }

        std::array<pollfd, 2> fds{{{fd, POLLIN, 0}, {stopRead_, POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            GoOffline(std::string("poll: ") + std::strerror(errno));
            continue;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            const ssize_t n = ::read(fd, buffer.data(), buffer.size());
            if (n > 0) {
                if (resetInput_.exchange(false)) {
                    ResetInput();
                }
                OnBytes(std::string_view(buffer.data(), static_cast<std::size_t>(n)), sink);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                continue;
            }
            GoOffline(n == 0 ? std::string("end of file") : std::strerror(errno));
            continue;
        }
        if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            GoOffline("hangup");
        }
    }
}

}  // namespace opos
