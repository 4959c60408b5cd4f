// Message boxes: modal, owned by a dialog, captioned with the program's name
// unless a caption is given.
#pragma once

#include <string_view>

namespace ui {

class Dialog;

enum MessageBoxType : unsigned {
    MB_OK = 0x0,
    MB_ICONSTOP = 0x10,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};

// Shows the box in a nested modal loop and returns the button pressed (IDOK).
int MessageBox(Dialog* owner, std::string_view text, unsigned type = MB_OK);
int MessageBox(Dialog* owner, std::string_view text, std::string_view caption, unsigned type);

}  // namespace ui
