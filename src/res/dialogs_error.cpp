// Template 135: "Error Response" with OK and three radio buttons of one group
// (Retry, Clear, Continue Input).
#include "res/dialogs_error.h"

#include "res/choice_dialog_template.h"

namespace res {

const ui::DialogTemplate& ErrorResponseTemplate()
{
    static const ui::DialogTemplate tpl = ChoiceDialogTemplate(
        IDD_ERROR_RESPONSE, "Error Response", 300,
        "There is some error. Please  select  from the following to continue:",
        {{{IDC_RESPONSE_RETRY, "Retry"}, {IDC_RESPONSE_CLEAR, "Clear"}, {IDC_RESPONSE_CONTINUE, "Continue Input"}}});
    return tpl;
}

}  // namespace res
