// Scratch folders for the console tests: a fresh folder under the system's
// temporary folder, and a small tmpfs mounted on one (for full-disk and
// read-only cases; mounting needs privileges, so tests skip without them).
#pragma once

#include <filesystem>
#include <string>

namespace consoletest {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A tmpfs of the given size mounted on a fresh folder; mounted() is false
// when the process may not mount.
class SmallTmpfs {
public:
    SmallTmpfs(const char* options);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    // Remounts the file system read-only; false if that failed.
    bool MakeReadOnly();
    std::string operator/(const std::string& name) const { return (dir_.path() / name).string(); }

private:
    TempDir dir_;
    bool mounted_ = false;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// The names in a folder, sorted.
std::string Listing(const std::filesystem::path& dir);

}  // namespace consoletest
