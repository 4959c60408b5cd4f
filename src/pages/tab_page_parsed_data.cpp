// The Parsed Data tab page: each refresh reads the eight parsed-card
// properties once and writes them unchanged into their read-only fields.
// Texts go to the fields through c_str(), so a value holding a NUL shows
// only up to it.
#include "pages/tab_page_parsed_data.h"

#include "console/msr_test_dlg.h"
#include "res/page_templates.h"

CTabPageParsedData::CTabPageParsedData(CMsrTestDlg* owner)
    : ui::Dialog(res::PageTemplate132(), owner), m_pMain(owner)
{
}

CTabPageParsedData::~CTabPageParsedData() = default;

void CTabPageParsedData::ShowParsedData()
{
    CMSRCO& msr = m_pMain->m_msr;
    SetDlgItemText(1029, msr.GetAccountNumber().c_str());
    SetDlgItemText(1010, msr.GetExpirationDate().c_str());
    SetDlgItemText(1011, msr.GetFirstName().c_str());
    SetDlgItemText(1012, msr.GetMiddleInitial().c_str());
    SetDlgItemText(1013, msr.GetSurname().c_str());
    SetDlgItemText(1014, msr.GetTitle().c_str());
    SetDlgItemText(1015, msr.GetSuffix().c_str());
    SetDlgItemText(1016, msr.GetServiceCode().c_str());
}
