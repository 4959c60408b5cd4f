// The application's registry script (resource "REGISTRY" 103): the AppID
// entries that the RegServer and UnregServer switches add and remove under
// HKEY_CLASSES_ROOT, in registrar script syntax.
#pragma once

#include <string_view>

namespace res {

inline constexpr int IDR_STRIVO = 103;

// The program's own AppID. It never changes: registrations made by earlier
// builds must be found again by later ones.
inline constexpr std::string_view kAppIdGuid = "{3F1D7A52-6B8E-4C29-9E41-5A7C2D8B0F63}";

// The script's exact bytes: 8-bit text, tab indentation, "\r\n" line ends.
std::string_view AppRegistryScript();

}  // namespace res
