// Template 136: the CheckHealth level dialog, and the IDs of its controls.
#pragma once

#include "platform/ui/dialog_template.h"

namespace res {

inline constexpr int IDD_HEALTH_LEVEL = 136;
inline constexpr int IDC_LEVEL_INTERNAL = 1045;
inline constexpr int IDC_LEVEL_EXTERNAL = 1046;
inline constexpr int IDC_LEVEL_INTERACTIVE = 1047;

const ui::DialogTemplate& HealthLevelTemplate();

}  // namespace res
