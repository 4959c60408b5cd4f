// Dialog templates 129 to 133: the five tab pages of the main console window
// (Control, Track Control, Track Data, Parsed Data, Description). Child
// dialogs without a caption, 10-point "MS Sans Serif".
#pragma once

#include "platform/ui/dialog_template.h"

namespace res {

inline constexpr int IDD_PAGE_CONTROL = 129;
inline constexpr int IDD_PAGE_TRACK_CONTROL = 130;
inline constexpr int IDD_PAGE_TRACK_DATA = 131;
inline constexpr int IDD_PAGE_PARSED_DATA = 132;
inline constexpr int IDD_PAGE_DESCRIPTION = 133;

const ui::DialogTemplate& PageTemplate129();  // Control
const ui::DialogTemplate& PageTemplate130();  // Track Control
const ui::DialogTemplate& PageTemplate131();  // Track Data
const ui::DialogTemplate& PageTemplate132();  // Parsed Data
const ui::DialogTemplate& PageTemplate133();  // Description

}  // namespace res
