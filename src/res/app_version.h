// The program's version record: the fixed version numbers, the language and
// code page of its string table, and the strings themselves, as data.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace res {

struct VersionString {
    std::string_view key;
    std::string_view value;
};

struct VersionRecord {
    std::array<std::uint16_t, 4> fileVersion;
    std::array<std::uint16_t, 4> productVersion;
    std::uint16_t language;  // 0x0409, US English
    std::uint16_t codePage;  // 1200, UTF-16
    std::array<VersionString, 6> strings;

    // The value stored under key (exact spelling), or empty when none.
    std::string_view Find(std::string_view key) const;
};

const VersionRecord& AppVersion();

}  // namespace res
