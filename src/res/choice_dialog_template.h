// The layout shared by the small modal choice dialogs (the CheckHealth level
// and the Error Response): an OK button, a prompt, and one group of three
// automatic radio buttons, one under the other.
#pragma once

#include "platform/ui/dialog_template.h"

#include <array>

namespace res {

struct Choice {
    int id;
    const char* text;
};

// cx is the dialog's width in dialog units; the prompt spans it.
ui::DialogTemplate ChoiceDialogTemplate(int id, const char* caption, int cx, const char* prompt,
                                        const std::array<Choice, 3>& choices);

}  // namespace res
