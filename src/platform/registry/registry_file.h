// The text form of the registry store: parsing and writing the REGEDIT4-style
// file. Internal to the registry library.
//
// Layout:
//   REGEDIT4
//   <blank line>
//   [HKEY_CLASSES_ROOT\AppID\{GUID}]     one section per key, hives included
//   @="default value"
//   "Name"="string value"
//   "Count"=dword:0000000a
//   <blank line after every section>
//
// Sections come depth first, a key before its children, siblings and values
// in caseless name order, so the same tree always gives the same bytes. A
// key without values still has its section, so empty keys survive a round
// trip.
//
// Inside the quotes of a value name or a string value:
//   \\  backslash        \"  quotation mark
//   \n  line feed        \r  carriage return     \t  tab
//   \xHH  any other byte below 0x20 and 0x7F (two hex digits; \x00 is NUL)
// Every other byte, UTF-8 or not, is written as it is. Key names are written
// raw between the brackets; they may not be empty and may not hold a
// backslash or a control byte, and a section path holds at most 512 key
// names, the hive included (such a tree is refused on write).
//
// Reading also accepts "\r\n" line ends, blank lines anywhere after the
// header and comment lines starting with ';'. Anything else that does not
// fit is an error naming the line.
#pragma once

#include "platform/registry/registry_store.h"

#include <string>
#include <string_view>

namespace reg::detail {

// The hive names accepted as the first component of a section path.
bool IsHiveName(std::string_view name);

// Parses text into root (which must be empty). On failure returns false and
// sets line (1-based) and what.
bool ParseRegistryText(std::string_view text, Key& root, int& line, std::string& what);

// Writes the tree. On failure (a name that cannot be stored) returns false
// and sets what.
bool WriteRegistryText(const Key& root, std::string& out, std::string& what);

}  // namespace reg::detail
