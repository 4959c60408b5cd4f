// Atomic saving of the test report and the messages of its failures.
#include "console/report_file.h"

#include <cstdio>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace report_file {

namespace {

// The process's file-creation mask, read without changing it: umask() can
// only be read by setting it, which would race with any other thread that
// creates a file at that moment. Falls back to the common 022.
mode_t ProcessUmask()
{
    std::FILE* f = std::fopen("/proc/self/status", "re");
    if (f == nullptr) {
        return 022;
    }
    mode_t mask = 022;
    char line[256];
    while (std::fgets(line, sizeof line, f) != nullptr) {
        unsigned value = 0;
        if (std::sscanf(line, "Umask: %o", &value) == 1) {
            mask = static_cast<mode_t>(value & 0777u);
            break;
        }
    }
    std::fclose(f);
    return mask;
}

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

// Closes fd and removes the temporary file.
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
        // The new file replaces the old one by a rename, which the folder
        // allows even when the file itself may not be written; a file the
        // operator may not write keeps its protection and is refused, as
        // opening it for writing would be.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return Fail(errno);
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
        ::fchmod(fd, mode & ~ProcessUmask());
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
