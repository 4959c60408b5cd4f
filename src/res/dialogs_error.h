// Template 135: the Error Response dialog, and the IDs of its controls.
#pragma once

#include "platform/ui/dialog_template.h"

namespace res {

inline constexpr int IDD_ERROR_RESPONSE = 135;
inline constexpr int IDC_RESPONSE_RETRY = 1041;
inline constexpr int IDC_RESPONSE_CLEAR = 1042;
inline constexpr int IDC_RESPONSE_CONTINUE = 1043;

const ui::DialogTemplate& ErrorResponseTemplate();

}  // namespace res
