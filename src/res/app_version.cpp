// The program's version record.
#include "res/app_version.h"

namespace res {

std::string_view VersionRecord::Find(std::string_view key) const {
    for (const VersionString& s : strings) {
        if (s.key == key) return s.value;
    }
    return {};
}

const VersionRecord& AppVersion() {
    static constexpr VersionRecord kRecord{
        .fileVersion = {1, 0, 0, 1},
        .productVersion = {1, 0, 0, 1},
        .language = 0x0409,
        .codePage = 1200,
        .strings = {{
            {"FileDescription", "Quellor MSR OPOS Test Program MFC Application"},
            {"FileVersion", "1, 0, 0, 1"},
            {"InternalName", "Quellor MSR OPOS Test Program "},
            {"OriginalFilename", "Quellor MSR OPOS Test Program .EXE"},
            {"ProductName", "Quellor MSR OPOS Test Program  Application"},
            {"ProductVersion", "1, 0, 0, 1"},
        }},
    };
    return kRecord;
}

}  // namespace res
