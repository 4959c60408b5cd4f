// Dialog templates 138 to 143: the six pages of the reader settings sheet.
// The caption of each template is its tab text; 8-point "MS Sans Serif".
#pragma once

#include "platform/ui/dialog_template.h"

namespace res {

inline constexpr int IDD_PP_GENERAL_SET = 138;
inline constexpr int IDD_PP_TERMINATOR = 139;
inline constexpr int IDD_PP_RS232_PARAM = 140;
inline constexpr int IDD_PP_TRACK_SET = 141;
inline constexpr int IDD_PP_OUTPUT_FMT = 142;
inline constexpr int IDD_PP_MSR_EDIT = 143;

const ui::DialogTemplate& SettingsTemplate138();  // "General Settings"
const ui::DialogTemplate& SettingsTemplate139();  // "Pre/Postamble"
const ui::DialogTemplate& SettingsTemplate140();  // "RS232"
const ui::DialogTemplate& SettingsTemplate141();  // "Track Settings"
const ui::DialogTemplate& SettingsTemplate142();  // "Output Format"
const ui::DialogTemplate& SettingsTemplate143();  // "MSR Data Edit"

}  // namespace res
