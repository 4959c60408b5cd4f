// The windowless message loop, ended by SIGTERM or SIGINT. The signal
// handler only writes one byte to a pipe; a socket notifier on the other end
// quits the loop on the user-interface thread.
#include "app/signal_loop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>

#include <fcntl.h>
#include <unistd.h>

namespace app {

namespace {

volatile std::sig_atomic_t g_writeFd = -1;

extern "C" void OnTerminationSignal(int) {
    const int saved = errno;
    const char byte = 1;
    if (g_writeFd >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(g_writeFd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

int RunEventLoopUntilTerminated() {
    if (QCoreApplication::instance() == nullptr) {
        std::cerr << "no application object: cannot run the message loop\n";
        return -1;
    }
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::cerr << "cannot create the signal pipe: " << std::strerror(errno) << "\n";
        return -1;
    }
    g_writeFd = fds[1];

    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    struct sigaction oldTerm {};
    struct sigaction oldInt {};
    ::sigaction(SIGTERM, &action, &oldTerm);
    ::sigaction(SIGINT, &action, &oldInt);

    int result = 0;
    {
        QEventLoop loop;
        QSocketNotifier notifier(fds[0], QSocketNotifier::Read);
        QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
            char buf[16];
            while (::read(fds[0], buf, sizeof buf) > 0) {
            }
            loop.exit(0);
        });
        result = loop.exec();
    }

    ::sigaction(SIGTERM, &oldTerm, nullptr);
    ::sigaction(SIGINT, &oldInt, nullptr);
    g_writeFd = -1;
    ::close(fds[0]);
    ::close(fds[1]);
    return result;
}

}  // namespace app
