// A Yes/No question box (the file dialog's overwrite confirmation): a
// message box to the operator seam, with the buttons "Yes" and "No".
// Private to the dialog layer.
#pragma once

#include <string_view>

class QWidget;

namespace ui::detail {

// True when the operator answered Yes.
bool AskYesNo(QWidget* parent, std::string_view text, std::string_view caption);

}  // namespace ui::detail
