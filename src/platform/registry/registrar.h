// The registrar: parses registrar scripts ("HKCR { NoRemove AppID { ... } }"
// with 's' and 'd' values, 'val' named values, NoRemove, ForceRemove, Delete
// and %NAME% replacements) and applies them to a registry store, in
// registration or in removal mode.
#pragma once

#include "platform/registry/registry_store.h"

#include <map>
#include <string>
#include <string_view>

namespace reg {

enum class RegistrarMode { Register, Unregister };

// Parses and applies the script in one locked change of the store. A script
// that does not parse changes nothing and names the line of the fault.
Status ApplyRegistrarScript(Store& store, std::string_view script, RegistrarMode mode,
                            const std::map<std::string, std::string>& replacements = {});

}  // namespace reg
