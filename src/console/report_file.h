// Writing the test report to a file so that the file is either left as it
// was or holds the complete new report: the bytes go to a temporary file in
// the same folder, which then replaces the target in one rename.
#pragma once

#include <string>
#include <string_view>

namespace report_file {

enum class Failure {
    None,
    AccessDenied,  // no permission, read-only file system, target is a folder
    DiskFull,      // no space left, quota or file-size limit reached
    BadPath,       // the folder does not exist or a part of it is no folder
    Other,         // any other failure of the system calls
};

struct Result {
    Failure failure = Failure::None;
    int error = 0;  // the errno that caused it (0 for a short write)
    bool ok() const { return failure == Failure::None; }
};

// Writes exactly the bytes of data to path. On failure the file at path is
// unchanged and no temporary file is left behind. An existing file that the
// process may not write is refused as AccessDenied, although the rename
// could replace it.
Result WriteAtomically(const std::string& path, std::string_view data);

// The operator's message for a failure: names the file and what went wrong.
std::string FailureMessage(const Result& result, const std::string& path);

}  // namespace report_file
