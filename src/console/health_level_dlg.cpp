// CHealthLevelDlg: the CheckHealth level dialog.
#include "console/health_level_dlg.h"

#include "msr/opos_constants.h"
#include "res/dialogs_health.h"

CHealthLevelDlg::CHealthLevelDlg(ui::Dialog* parent) : ui::Dialog(res::HealthLevelTemplate(), parent)
{
    MapCommand(res::IDC_LEVEL_INTERNAL, [this] { m_nLevel = OPOS_CH_INTERNAL; });
    MapCommand(res::IDC_LEVEL_EXTERNAL, [this] { m_nLevel = OPOS_CH_EXTERNAL; });
    MapCommand(res::IDC_LEVEL_INTERACTIVE, [this] { m_nLevel = OPOS_CH_INTERACTIVE; });
}

bool CHealthLevelDlg::OnInitDialog()
{
    // Shows the level held at construction; a check set by code is no click.
    CheckDlgButton(res::IDC_LEVEL_INTERNAL, 1);
    return true;
}
