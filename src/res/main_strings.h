// The string table of the main console window.
#pragma once

#include <string>

namespace res {

inline constexpr int IDS_ABOUTBOX = 101;

// The text of string resource id; empty when there is no such string.
std::string MainString(int id);

}  // namespace res
