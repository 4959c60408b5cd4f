// Atomic saving of the test report and the messages of its failures.
#include "console/report_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace report_file {

namespace {

Failure Classify(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return Failure::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return Failure::DiskFull;
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return Failure::BadPath;
    default:
        return Failure::Other;
    }
}

Result Fail(int error)
{
    return Result{Classify(error), error};
}

// The file the operator means: a symbolic link is followed so that its
// target, not the link, receives the report.
std::string ResolveTarget(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) {
        const auto target = std::filesystem::weakly_canonical(path, ec);
        if (!ec) {
            return target.string();
        }
    }
    return path;
}

// Closes fd and removes the temporary file; keeps the first error.
void Discard(int fd, const std::string& tmp)
{
    if (fd >= 0) {
        ::close(fd);
    }
    ::unlink(tmp.c_str());
}

}  // namespace

Result WriteAtomically(const std::string& path, std::string_view data)
{
    if (path.empty()) {
        return Result{Failure::BadPath, ENOENT};
    }
    const std::string target = ResolveTarget(path);

    // The existing file decides the new file's permissions; a folder in its
    // place is refused before anything is written.
    mode_t mode = 0666;
    struct stat st {};
    bool exists = false;
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return Fail(EISDIR);
        }
        if (!S_ISREG(st.st_mode)) {
            // A device or pipe cannot be replaced by a rename; that is not a
            // report file.
            return Fail(EACCES);
        }
        exists = true;
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        return Fail(errno);
    }

    const std::filesystem::path p(target);
    const std::string folder = p.has_parent_path() ? p.parent_path().string() : std::string(".");
    std::string hidden = ".";
    hidden += p.filename().string();
    hidden += ".XXXXXX";
    std::string tmp = (std::filesystem::path(folder) / hidden).string();
    std::vector<char> name(tmp.begin(), tmp.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return Fail(errno);
    }
    tmp = name.data();

    if (exists) {
        ::fchmod(fd, mode);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, mode & ~mask);
    }

    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            Discard(fd, tmp);
            return Fail(error);
        }
        if (n == 0) {
            // Fewer bytes than asked and no reason given: the medium is full.
            Discard(fd, tmp);
            return Result{Failure::DiskFull, 0};
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        const int error = errno;
        Discard(fd, tmp);
        return Fail(error);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tmp.c_str());
        return Fail(error);
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(tmp.c_str());
        return Fail(error);
    }
    return Result{};
}

std::string FailureMessage(const Result& result, const std::string& path)
{
    switch (result.failure) {
    case Failure::None:
        return {};
    case Failure::AccessDenied:
        return "Access to " + path + " was denied.";
    case Failure::DiskFull:
        return "Disk full while accessing " + path + ".";
    case Failure::BadPath:
        return path + " contains an invalid path.";
    case Failure::Other:
        break;
    }
    return "An error occurred while accessing " + path + ": " + std::strerror(result.error) + ".";
}

}  // namespace report_file
