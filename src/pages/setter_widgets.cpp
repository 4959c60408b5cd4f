// Check boxes and value lists of the pages that change a property through
// the main window's setters.
#include "pages/setter_widgets.h"

#include "console/msr_test_dlg.h"
#include "msr/opos_constants.h"

namespace pages {

void SelectValueItem(ui::Dialog& page, int id, std::int32_t value)
{
    const int count = page.GetCount(id);
    page.SetCurSel(id, (value >= 0 && value < count) ? static_cast<int>(value) : -1);
}

void CheckBoxThroughSetter(ui::Dialog& page, CMsrTestDlg& main, int id, Setter setter)
{
    const int checked = page.IsDlgButtonChecked(id);  // state after the click
    const std::int32_t rc = (main.*setter)(checked ? 1 : 0);
    if (rc == OPOS_E_CLOSED) {
        // No refresh ran: undo the operator's click.
        page.CheckDlgButton(id, checked ? 0 : 1);
    }
}

void ValueListThroughSetter(ui::Dialog& page, CMsrTestDlg& main, int id, Setter setter,
                            std::int32_t& remembered)
{
    const int index = page.GetCurSel(id);
    const std::int32_t rc = (main.*setter)(index);
    if (rc == OPOS_E_CLOSED) {
        SelectValueItem(page, id, remembered);
    } else {
        remembered = index;
    }
}

}  // namespace pages
