// Scratch folders and small file helpers for the console tests.
#include "temp_dir.h"

#include <sys/mount.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <vector>

namespace consoletest {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "strivo_console_XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (::mkdtemp(buf.data()) != nullptr) {
        path_ = buf.data();
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

SmallTmpfs::SmallTmpfs(const char* options)
{
    mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options) == 0;
}

bool SmallTmpfs::MakeReadOnly()
{
    return mounted_ && ::mount("tmpfs", dir_.path().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

SmallTmpfs::~SmallTmpfs()
{
    if (mounted_) {
        ::umount2(dir_.path().c_str(), MNT_DETACH);
    }
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Listing(const std::filesystem::path& dir)
{
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
        names.insert(e.path().filename().string());
    }
    std::ostringstream out;
    for (const auto& n : names) {
        out << n << '\n';
    }
    return out.str();
}

}  // namespace consoletest
