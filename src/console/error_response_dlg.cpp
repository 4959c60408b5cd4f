// CErrorResponseDlg: the Error Response dialog.
#include "console/error_response_dlg.h"

#include "msr/opos_constants.h"
#include "res/dialogs_error.h"

CErrorResponseDlg::CErrorResponseDlg(ui::Dialog* parent)
    : ui::Dialog(res::ErrorResponseTemplate(), parent), m_nResponse(OPOS_ER_CONTINUEINPUT)
{
    MapCommand(res::IDC_RESPONSE_RETRY, [this] { m_nResponse = OPOS_ER_RETRY; });
    MapCommand(res::IDC_RESPONSE_CLEAR, [this] { m_nResponse = OPOS_ER_CLEAR; });
    MapCommand(res::IDC_RESPONSE_CONTINUE, [this] { m_nResponse = OPOS_ER_CONTINUEINPUT; });
}

bool CErrorResponseDlg::OnInitDialog()
{
    // The selection shown matches the response set at construction.
    CheckDlgButton(res::IDC_RESPONSE_CONTINUE, 1);
    return true;
}
