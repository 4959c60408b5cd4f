// Saving the report file: the file is either the complete new report or the
// old file untouched, and every failure is classified for the operator's
// message (which names the path).
#include "console/report_file.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <cstdio>
#include <functional>

namespace {

using consoletest::Listing;
using consoletest::ReadFile;
using consoletest::SmallTmpfs;
using consoletest::TempDir;
using consoletest::WriteFile;
using report_file::Failure;

TEST(ReportFile, WritesExactBytesNewAndOverwriteAndEmpty)
{
    TempDir dir;
    const std::string path = dir / "r.txt";
    const std::string report = "10:00:00\tOpen:\tSucceeded!\r\n\x01\xff\r\n";

    ASSERT_TRUE(report_file::WriteAtomically(path, report).ok());
    EXPECT_EQ(ReadFile(path), report);

    WriteFile(path, std::string(5000, 'x'));
    ASSERT_TRUE(report_file::WriteAtomically(path, "short").ok());
    EXPECT_EQ(ReadFile(path), "short");

    ASSERT_TRUE(report_file::WriteAtomically(path, "").ok());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_EQ(Listing(dir.path()), "r.txt\n") << "no temporary file may be left behind";
}

TEST(ReportFile, KeepsModeOfExistingFileAndWritesThroughSymlink)
{
    TempDir dir;
    const std::string target = dir / "target.txt";
    WriteFile(target, "old");
    ::chmod(target.c_str(), 0640);
    const std::string link = dir / "link.txt";
    std::filesystem::create_symlink(target, link);

    ASSERT_TRUE(report_file::WriteAtomically(link, "new").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// One failing save: how the path is prepared, what kind of failure it must
// be and which message the operator sees.
struct FailureRow {
    const char* name;
    std::function<bool(TempDir&, std::string& path)> prepare;  // false: skip
    Failure failure;
    const char* messageFormat;  // %1 = the path
};

std::string Expand(std::string format, const std::string& path)
{
    const auto pos = format.find("%1");
    format.replace(pos, 2, path);
    return format;
}

TEST(ReportFile, FailuresLeaveOldFileAndNameFileAndFailure)
{
    SmallTmpfs full("size=64k");
    SmallTmpfs ro("size=64k");

    const FailureRow rows[] = {
        {"parent is a regular file",
         [](TempDir& d, std::string& p) {
             WriteFile(d / "plain", "x");
             p = d / "plain/report.txt";
             return true;
         },
         Failure::BadPath, "%1 contains an invalid path."},
        {"missing folder",
         [](TempDir& d, std::string& p) {
             p = d / "missing/report.txt";
             return true;
         },
         Failure::BadPath, "%1 contains an invalid path."},
        {"target is a folder",
         [](TempDir& d, std::string& p) {
             std::filesystem::create_directory(d / "folder.txt");
             p = d / "folder.txt";
             return true;
         },
         Failure::AccessDenied, "Access to %1 was denied."},
        {"read-only file system",
         [&ro](TempDir&, std::string& p) {
             if (!ro.mounted()) {
                 return false;
             }
             p = ro / "report.txt";
             WriteFile(p, "old bytes");
             return ro.MakeReadOnly();
         },
         Failure::AccessDenied, "Access to %1 was denied."},
        {"disk full",
         [&full](TempDir&, std::string& p) {
             if (!full.mounted()) {
                 return false;
             }
             p = full / "report.txt";
             WriteFile(p, "old bytes");
             WriteFile(full / "filler", std::string(40 * 1024, 'f'));
             return true;
         },
         Failure::DiskFull, "Disk full while accessing %1."},
    };

    const std::string report(32 * 1024, 'r');
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string path;
        if (!row.prepare(dir, path)) {
            std::printf("[ SKIPPED  ] row \"%s\": cannot mount a tmpfs here\n", row.name);
            continue;
        }
        const bool existed = std::filesystem::is_regular_file(path);
        const std::string before = existed ? ReadFile(path) : std::string();
        const auto folder = std::filesystem::path(path).parent_path();
        const std::string listing = Listing(folder);

        const auto result = report_file::WriteAtomically(path, report);
        EXPECT_EQ(result.failure, row.failure) << "errno " << result.error;
        EXPECT_EQ(report_file::FailureMessage(result, path), Expand(row.messageFormat, path));
        if (existed) {
            EXPECT_EQ(ReadFile(path), before);
        }
        EXPECT_EQ(Listing(folder), listing) << "no temporary file may be left behind";
    }
}

TEST(ReportFile, FileWithoutWritePermissionIsRefused)
{
    // The folder lets anyone replace its files, so only the file's own
    // permission can stop the save.
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const std::string path = dir / "report.txt";
    WriteFile(path, "old bytes");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);

    // As root, file permissions would not apply: act as an ordinary user for
    // file access on this thread only.
    const bool root = ::geteuid() == 0;
    if (root) {
        ::setfsgid(65534);
        ::setfsuid(65534);
    }
    const auto result = report_file::WriteAtomically(path, "new report");
    if (root) {
        ::setfsuid(0);
        ::setfsgid(0);
    }

    EXPECT_EQ(result.failure, Failure::AccessDenied) << "errno " << result.error;
    EXPECT_EQ(report_file::FailureMessage(result, path), "Access to " + path + " was denied.");
    EXPECT_EQ(ReadFile(path), "old bytes");
    EXPECT_EQ(Listing(dir.path()), "report.txt\n");
}

TEST(ReportFile, FileSizeLimitCountsAsDiskFull)
{
    TempDir dir;
    const std::string path = dir / "report.txt";
    WriteFile(path, "old bytes");

    // A file-size limit below the report stops the write part-way.
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto result = report_file::WriteAtomically(path, std::string(8192, 'r'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(result.failure, Failure::DiskFull);
    EXPECT_EQ(report_file::FailureMessage(result, path), "Disk full while accessing " + path + ".");
    EXPECT_EQ(ReadFile(path), "old bytes");
    EXPECT_EQ(Listing(dir.path()), "report.txt\n");
}

}  // namespace
