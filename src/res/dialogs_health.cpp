// Template 136: "Check Health Level" with OK and three radio buttons of one
// group (Internal, External, InterActive).
#include "res/dialogs_health.h"

#include "res/choice_dialog_template.h"

namespace res {

const ui::DialogTemplate& HealthLevelTemplate()
{
    static const ui::DialogTemplate tpl = ChoiceDialogTemplate(
        IDD_HEALTH_LEVEL, "Check Health Level", 230, "Please select the level of  the  CheckHealth Level:",
        {{{IDC_LEVEL_INTERNAL, "Internal"}, {IDC_LEVEL_EXTERNAL, "External"}, {IDC_LEVEL_INTERACTIVE, "InterActive"}}});
    return tpl;
}

}  // namespace res
