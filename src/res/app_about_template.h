// Dialog template 100: the About box.
#pragma once

#include "platform/ui/dialog_template.h"

namespace res {

inline constexpr int IDD_ABOUTBOX = 100;

const ui::DialogTemplate& AboutTemplate();

}  // namespace res
