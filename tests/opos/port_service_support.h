// Helpers shared by the tests of the services that read a device node (the
// serial and the keyboard-wedge reader): a listener that drops what it is
// told, and opening a service in a child process that runs as nobody.
#pragma once

#include "opos/control/msr_service.h"

#include <functional>
#include <memory>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace opostest {

// Drops whatever a service reports.
class NullListener : public opos::MsrServiceListener {
public:
    void OnCardRead(const opos::RawCard&) override {}
    void OnReadFailure(const std::string&) override {}
    void OnPowerState(std::int32_t) override {}
    void OnDirectIOEvent(std::int32_t, std::int32_t, const std::string&) override {}
};

// Opens a service in a child process that runs as nobody, and returns what
// it wrote to stderr ("" when the child could not drop to nobody). The open
// must fail; the child's exit code says whether it did.
inline std::string OpenAsNobody(const std::function<std::unique_ptr<opos::MsrService>()>& make,
                                const opos::ServiceSettings& settings, bool& failed)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        return "";
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], 2);
        ::close(fds[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(3);
        }
        NullListener listener;
        auto svc = make();
        const std::int32_t rc = svc->Open("Dev", settings, &listener);
        svc->Close();
        ::_exit(rc != 0 ? 0 : 1);
    }
    ::close(fds[1]);
    std::string out;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    failed = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 3 ? "" : out;
}

}  // namespace opostest
