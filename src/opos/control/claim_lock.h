// The exclusive claim on a logical device, shared by every process of the
// user: an flock on $XDG_RUNTIME_DIR/strivo/<name>.claim (or
// /tmp/strivo-<uid>/<name>.claim when XDG_RUNTIME_DIR is unset). The kernel
// drops the lock when its holder closes it or dies, so a crashed program
// never leaves a device claimed. Two ClaimLock objects of one process
// exclude each other as well.
#pragma once

#include <cstdint>
#include <string>

namespace opos {

class ClaimLock {
public:
    explicit ClaimLock(std::string logicalName);
    ~ClaimLock();
    ClaimLock(const ClaimLock&) = delete;
    ClaimLock& operator=(const ClaimLock&) = delete;

    enum class Result { Acquired, TimedOut, Failed };
    // Waits up to timeoutMs milliseconds for the claim: 0 tries once, -1
    // waits for ever. Acquired at once when this object holds it already.
    // Failed when the lock file cannot be made, or its folder is not a
    // private folder of this user; error() says why.
    Result Acquire(std::int32_t timeoutMs);
    void Release();
    bool Held() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

    // The lock file used for a logical name (characters outside letters,
    // digits, '.', '-' and '_' become '_').
    static std::string PathFor(const std::string& logicalName);

private:
    std::string path_;
    std::string error_;
    int fd_ = -1;
};

}  // namespace opos
