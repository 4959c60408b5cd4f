// The registry store: the key tree, and loading and saving it under a lock.
//
// Every Modify takes an exclusive flock on "<path>.lock", reads the file
// again, lets the writer change the tree and writes "<path>.tmp.<pid>",
// fsyncs it and renames it over the file, so readers see the old or the new
// file and never half of one. Read takes a shared lock on the same side file
// (or reads without one where the lock file cannot be made, which is safe
// because every writer replaces the file by rename).
#include "platform/registry/registry_store.h"

#include "platform/registry/registry_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reg {

namespace {

unsigned char Lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

std::string SysError(const std::string& what, const std::string& path, int err) {
    return what + " " + path + ": " + std::strerror(err);
}

// Closes a descriptor when it goes out of scope.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
};

std::string DirName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Creates the folder and its missing parents (new ones with mode 0700).
Status MakeDirs(const std::string& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return Status::Ok();
        return Status::Error(SysError("cannot create folder", dir, ENOTDIR));
    }
    if (errno != ENOENT) return Status::Error(SysError("cannot reach folder", dir, errno));
    const std::string parent = DirName(dir);
    if (parent != dir) {
        if (Status s = MakeDirs(parent); !s) return s;
    }
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return Status::Error(SysError("cannot create folder", dir, errno));
    return Status::Ok();
}

bool LockFd(int fd, int op) {
    while (::flock(fd, op) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

// Reads the whole file; a missing file (or a path through something that is
// not a folder) reads as empty text.
Status ReadAll(const std::string& path, std::string& text) {
    text.clear();
    Fd f(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (f.fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return Status::Ok();
        return Status::Error(SysError("cannot open registry file", path, errno));
    }
    char buf[65536];
    while (true) {
        const ssize_t n = ::read(f.fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Status::Error(SysError("cannot read registry file", path, errno));
        }
        if (n == 0) break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    return Status::Ok();
}

Status Load(const std::string& path, Key& root) {
    std::string text;
    if (Status s = ReadAll(path, text); !s) return s;
    int line = 0;
    std::string what;
    if (!detail::ParseRegistryText(text, root, line, what))
        return Status::Error("registry file " + path + ", line " + std::to_string(line) + ": " + what);
    return Status::Ok();
}

Status WriteAtomically(const std::string& path, const std::string& text) {
    const std::string tmp = path + ".tmp." + std::to_string(::getpid());
    Fd f(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (f.fd < 0) return Status::Error(SysError("cannot write registry file", tmp, errno));
    auto fail = [&](const char* what) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return Status::Error(SysError(what, tmp, err));
    };
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(f.fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail("cannot write registry file");
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(f.fd) != 0) return fail("cannot flush registry file");
    const int fd = f.fd;
    f.fd = -1;
    if (::close(fd) != 0) return fail("cannot write registry file");
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return Status::Error(SysError("cannot replace registry file", path, err));
    }
    // Make the rename itself durable; a failure here loses nothing.
    Fd dir(::open(DirName(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0) ::fsync(dir.fd);
    return Status::Ok();
}

}  // namespace

bool Caseless::operator()(const std::string& a, const std::string& b) const {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = Lower(static_cast<unsigned char>(a[i]));
        const unsigned char y = Lower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

Key* Key::Find(const std::string& path) {
    return const_cast<Key*>(static_cast<const Key*>(this)->Find(path));
}

const Key* Key::Find(const std::string& path) const {
    const Key* key = this;
    std::size_t start = 0;
    while (key && start <= path.size()) {
        const std::size_t end = path.find('\\', start);
        const std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!part.empty()) {
            auto it = key->children_.find(part);
            key = it == key->children_.end() ? nullptr : it->second.get();
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return key;
}

Key& Key::Create(const std::string& path) {
    Key* key = this;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = path.find('\\', start);
        const std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!part.empty()) key = &key->Child(part);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return *key;
}

bool Key::RemoveChild(const std::string& name) { return children_.erase(name) > 0; }

Key& Key::Child(const std::string& name) {
    auto& slot = children_[name];
    if (!slot) slot = std::make_unique<Key>(name);
    return *slot;
}

std::string Store::DefaultPath() {
    // XDG says a relative XDG_DATA_HOME is invalid and is to be ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/strivo/registry.reg";
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] != '\0') {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return home + "/.local/share/strivo/registry.reg";
}

Store::Store(std::string path) : path_(std::move(path)) {}

Status Store::Read(const std::function<void(const Key& root)>& reader) const {
    try {
        Fd lock(::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
        if (lock.fd < 0) lock.fd = ::open((path_ + ".lock").c_str(), O_RDONLY | O_CLOEXEC);
        if (lock.fd >= 0 && !LockFd(lock.fd, LOCK_SH))
            return Status::Error(SysError("cannot lock", path_ + ".lock", errno));
        Key root;
        if (Status s = Load(path_, root); !s) return s;
        if (reader) reader(root);
        return Status::Ok();
    } catch (const std::exception& e) {
        return Status::Error("registry file " + path_ + ": " + e.what());
    } catch (...) {
        return Status::Error("registry file " + path_ + ": unexpected failure");
    }
}

Status Store::Modify(const std::function<bool(Key& root)>& writer) {
    try {
        if (Status s = MakeDirs(DirName(path_)); !s) return s;
        const std::string lockPath = path_ + ".lock";
        Fd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
        if (lock.fd < 0) return Status::Error(SysError("cannot create lock file", lockPath, errno));
        if (!LockFd(lock.fd, LOCK_EX)) return Status::Error(SysError("cannot lock", lockPath, errno));
        Key root;
        if (Status s = Load(path_, root); !s) return s;
        if (!writer || !writer(root)) return Status::Ok();
        std::string text;
        std::string what;
        if (!detail::WriteRegistryText(root, text, what))
            return Status::Error("registry file " + path_ + ": " + what);
        return WriteAtomically(path_, text);
    } catch (const std::exception& e) {
        return Status::Error("registry file " + path_ + ": " + e.what());
    } catch (...) {
        return Status::Error("registry file " + path_ + ": unexpected failure");
    }
}

}  // namespace reg
