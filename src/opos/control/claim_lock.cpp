// The cross-process claim lock (flock on a per-device file).
#include "opos/control/claim_lock.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace opos {

namespace {

std::string RuntimeFolder()
{
    // XDG says a relative XDG_RUNTIME_DIR is invalid and is to be ignored.
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && xdg[0] == '/') {
        return std::string(xdg) + "/strivo";
    }
    return "/tmp/strivo-" + std::to_string(::getuid());
}

std::string SafeName(const std::string& name)
{
    std::string safe;
    for (char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        safe.push_back(plain ? c : '_');
    }
    if (safe.empty() || safe[0] == '.') {
        safe.insert(safe.begin(), '_');
    }
    return safe;
}

}  // namespace

ClaimLock::ClaimLock(std::string logicalName) : path_(PathFor(logicalName)) {}

ClaimLock::~ClaimLock()
{
    Release();
}

std::string ClaimLock::PathFor(const std::string& logicalName)
{
    return RuntimeFolder() + "/" + SafeName(logicalName) + ".claim";
}

ClaimLock::Result ClaimLock::Acquire(std::int32_t timeoutMs)
{
    if (fd_ >= 0) {
        return Result::Acquired;
    }
    const std::string folder = path_.substr(0, path_.rfind('/'));
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error_ = "cannot create " + folder + ": " + std::strerror(errno);
        return Result::Failed;
    }
    // Under /tmp anyone may have made the folder first: a folder that is a
    // link, belongs to another user or that others may write to would let
    // them hold or swap the lock file, so only a private folder of ours is
    // used, and the lock file itself is never followed as a link.
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        error_ = "cannot check " + folder + ": " + std::strerror(errno);
        return Result::Failed;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        error_ = folder + " is not a private folder of this user (it is a link, another user's, or "
                          "writable by others); remove it and claim again";
        return Result::Failed;
    }
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error_ = "cannot open " + path_ + ": " + std::strerror(errno);
        return Result::Failed;
    }
    // flock has no timeout of its own: poll in short steps.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fd_ = fd;
            error_.clear();
            return Result::Acquired;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error_ = "cannot lock " + path_ + ": " + std::strerror(errno);
            ::close(fd);
            return Result::Failed;
        }
        const auto now = std::chrono::steady_clock::now();
        if (timeoutMs >= 0 && now >= deadline) {
            ::close(fd);
            return Result::TimedOut;
        }
        auto step = std::chrono::milliseconds(5);
        if (timeoutMs >= 0) {
            step = std::min(step, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now) +
                                      std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(step);
    }
}

void ClaimLock::Release()
{
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace opos
